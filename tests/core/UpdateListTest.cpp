#include "net/UpdateList.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Strings = std::vector<std::string>;

// A list line with its columns in place.
std::string Line(const std::string& kind, const std::string& code, const std::string& date,
                 const std::string& address = "http://h/f") {
    return kind + " " + code + " " + date + " " + address;
}

// Evaluates against stored [check] values (kinds not given read the default).
UpdateEvaluation Evaluate(const std::string& text, const std::map<std::string, std::string>& stored = {},
                          const std::string& own = "R25") {
    return EvaluateUpdateList(text, own, [&](const SjisString& kind) {
        auto it = stored.find(kind);
        return it == stored.end() ? SjisString(kDefaultCheckValue) : it->second;
    });
}

Strings LogOf(const UpdateEvaluation& evaluation) {
    Strings lines;
    for (const UpdateEvent& event : evaluation.Events)
        lines.push_back((event.Kind == UpdateEvent::NewAppNotice ? "[notice] " : "") +
                        SjisToUtf8(event.Text));
    return lines;
}

TEST(UpdateList, CutsFixedColumns) {
    UpdateLine line = CutUpdateLine(Line("GFV", "012", "2024/03/05 12:34:56", std::string(300, 'a')));
    EXPECT_EQ(line.Kind, "GFV");
    EXPECT_EQ(line.Code, "012");
    EXPECT_EQ(line.Date, "2024/03/05 12:34:56");
    EXPECT_EQ(line.Address, std::string(255, 'a')); // bytes after the 255th are ignored
    line = CutUpdateLine("GD1 00");
    EXPECT_EQ(line.Code, "00");
    EXPECT_EQ(line.Date + line.Address, "");
}

TEST(UpdateList, ComparesBytesUnsignedAndPrefixesAsSmaller) {
    struct {
        std::string a, b;
        bool greater;
    } cases[] = {
        {"R26", "R25", true},   {"R25", "R25", false}, {"R24", "R25", false},  {"R10", "R 5", true},
        {"R100", "R25", false}, {"R250", "R25", true}, {"R25", "R250", false}, {"\x81", "z", true},
        {"", "", false},        {"a", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BytesGreater(c.a, c.b), c.greater) << c.a << " > " << c.b;
}

TEST(UpdateList, ADataLineIsNewerWhenItsCodeOrItsDateIsGreater) {
    const std::string stored = "005 2024/01/01 00:00:00";
    struct {
        std::string stored, code, date;
        bool newer;
    } cases[] = {
        {kDefaultCheckValue, "000", "0000/00/00 00:00:00", false}, // nothing downloaded yet
        {kDefaultCheckValue, "001", "0000/00/00 00:00:00", true},
        {kDefaultCheckValue, "000", "0000/00/00 00:00:01", true},
        {stored, "004", "2024/02/01 00:00:00", true},
        {stored, "006", "2023/01/01 00:00:00", true},
        {stored, "005", "2024/01/01 00:00:00", false},
        {stored, "004", "2023/12/31 23:59:59", false},
    };
    for (const auto& c : cases) {
        const std::string line = Line("GD2", c.code, c.date);
        const UpdateEvaluation evaluation = Evaluate(line, {{"GD2", c.stored}});
        EXPECT_EQ(evaluation.Downloads, c.newer ? Strings{line} : Strings{}) << c.stored << " / " << line;
    }
}

TEST(UpdateList, EachDataKindLogsItsOwnTextsAndQueuesNewerLinesInOrder) {
    struct {
        const char* kind;
        const char* newer;
        const char* current;
    } kinds[] = {
        {"GFV", "「GuitarFreaks V3」の曲データが更新されています", "「GuitarFreaks V3」の曲データは最新です"},
        {"DMV", "「DrumMania V3」の曲データが更新されています", "「DrumMania V3」の曲データは最新です"},
        {"GD1", "データベースデータ１が更新されています", "データベースデータ１は最新です"},
        {"GD2", "データベースデータ２が更新されています", "データベースデータ２は最新です"},
    };
    for (const auto& k : kinds) {
        const std::string first = Line(k.kind, "001", "2024/03/05 12:00:00");
        const std::string second = Line(k.kind, "002", "2024/03/06 12:00:00");
        const std::string current = Line(k.kind, "000", "0000/00/00 00:00:00");
        const UpdateEvaluation evaluation = Evaluate(first + "\r\n" + current + "\n" + second);
        EXPECT_EQ(LogOf(evaluation),
                  (Strings{k.newer, " リリースコード：001", " リリース日時：2024/03/05 12:00:00", k.current,
                           k.newer, " リリースコード：002", " リリース日時：2024/03/06 12:00:00"}));
        EXPECT_EQ(evaluation.Downloads, (Strings{first, second}));
    }
}

TEST(UpdateList, AppIsComparedWithTheOwnReleaseCodeOnlyAndNeverQueued) {
    struct {
        std::string code, own;
        bool newer;
    } cases[] = {
        {"R26", "R25", true},
        {"R25", "R25", false},
        {"R24", "R25", false},
        {"R10", "R 5", true}, // a release below 10 carries a blank and sorts below two-digit codes
    };
    for (const auto& c : cases) {
        // A stored value under APP is never consulted.
        const UpdateEvaluation evaluation =
            Evaluate(Line("APP", c.code, "2024/03/05 12:00:00"), {{"APP", "R99 9999/99/99 99:99:99"}}, c.own);
        const Strings log = c.newer
                                ? Strings{"[notice] 「ギタドラのPelorin」の新しいバージョンが存在します！\r\n"
                                          "ダウンロードサイトで確認してください",
                                          "アプリケーションの新しいバージョンを確認しました",
                                          " リリースコード：" + c.code, " リリース日時：2024/03/05 12:00:00"}
                                : Strings{"アプリケーションは最新です"};
        EXPECT_EQ(LogOf(evaluation), log) << c.code;
        EXPECT_TRUE(evaluation.Downloads.empty());
    }
}

TEST(UpdateList, OtherKindsBlankAndLowerCaseLinesAreIgnoredSilently) {
    const UpdateEvaluation evaluation =
        Evaluate("\r\nXYZ 999 9999/99/99 99:99:99 u\r\ngfv 999 9999/99/99 99:99:99 u\r\n   \r\nG\r\n");
    EXPECT_TRUE(evaluation.Events.empty());
    EXPECT_TRUE(evaluation.Downloads.empty());
}

} // namespace
