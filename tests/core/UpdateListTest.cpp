#include "net/UpdateList.h"

#include "editions/Editions.h"
#include "platform/Cp932.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A list line with its columns in place.
std::string Line(const std::string& kind, const std::string& code, const std::string& date,
                 const std::string& address) {
    return kind + " " + code + " " + date + " " + address;
}

std::vector<std::string> LogOf(const UpdateEvaluation& evaluation) {
    std::vector<std::string> lines;
    for (const UpdateEvent& event : evaluation.Events)
        lines.push_back((event.Kind == UpdateEvent::NewAppNotice ? "[notice] " : "") +
                        SjisToUtf8(event.Text));
    return lines;
}

// [check] as a map; kinds not in it give the default.
struct StoredChecks {
    std::map<std::string, std::string> values;
    SjisString operator()(const SjisString& kind) const {
        auto it = values.find(kind);
        return it == values.end() ? kDefaultCheckValue : it->second;
    }
};

UpdateEvaluation Evaluate(const std::string& text, StoredChecks& checks, const std::string& own = "R25") {
    return EvaluateUpdateList(text, own, [&](const SjisString& kind) { return checks(kind); });
}

TEST(UpdateList, CutsTheFixedColumns) {
    const std::string address(300, 'a');
    UpdateLine line = CutUpdateLine("GFV 012 2024/03/05 12:34:56 " + address);
    EXPECT_EQ(line.Kind, "GFV");
    EXPECT_EQ(line.Code, "012");
    EXPECT_EQ(line.Date, "2024/03/05 12:34:56");
    EXPECT_EQ(line.Address, std::string(255, 'a')); // bytes after the 255th are ignored

    line = CutUpdateLine("GD1 00");
    EXPECT_EQ(line.Kind, "GD1");
    EXPECT_EQ(line.Code, "00");
    EXPECT_EQ(line.Date, "");
    EXPECT_EQ(line.Address, "");
    EXPECT_EQ(CutUpdateLine("AP").Kind, "AP");
}

TEST(UpdateList, LinesEndAtCrLfLfOrALoneCr) {
    EXPECT_EQ(SplitUpdateLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitUpdateLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitUpdateLines("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitUpdateLines("").empty());
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

TEST(UpdateList, NothingStoredMeansOnlyGreaterCodesOrDatesAreNewer) {
    StoredChecks checks;
    const std::string current = Line("GFV", "000", "0000/00/00 00:00:00", "http://h/g.txt");
    const std::string newerCode = Line("DMV", "001", "0000/00/00 00:00:00", "http://h/d.txt");
    const std::string newerDate = Line("GD1", "000", "0000/00/00 00:00:01", "http://h/1.dat");
    UpdateEvaluation evaluation =
        Evaluate(current + "\r\n" + newerCode + "\r\n" + newerDate + "\r\n", checks);
    EXPECT_EQ(LogOf(evaluation), (std::vector<std::string>{
                                     "「GuitarFreaks V3」の曲データは最新です",
                                     "「DrumMania V3」の曲データが更新されています",
                                     " リリースコード：001",
                                     " リリース日時：0000/00/00 00:00:00",
                                     "データベースデータ１が更新されています",
                                     " リリースコード：000",
                                     " リリース日時：0000/00/00 00:00:01",
                                 }));
    EXPECT_EQ(evaluation.Downloads, (std::vector<std::string>{newerCode, newerDate}));
}

TEST(UpdateList, EitherAGreaterCodeOrALaterDateIsNewer) {
    StoredChecks checks;
    checks.values["GFV"] = "005 2024/01/01 00:00:00";
    checks.values["DMV"] = "005 2024/01/01 00:00:00";
    checks.values["GD1"] = "005 2024/01/01 00:00:00";
    checks.values["GD2"] = "005 2024/01/01 00:00:00";
    const std::string smallerCodeLaterDate = Line("GFV", "004", "2024/02/01 00:00:00", "u1");
    const std::string equal = Line("DMV", "005", "2024/01/01 00:00:00", "u2");
    const std::string greaterCodeEarlierDate = Line("GD1", "006", "2023/01/01 00:00:00", "u3");
    const std::string older = Line("GD2", "004", "2023/12/31 23:59:59", "u4");
    UpdateEvaluation evaluation =
        Evaluate(smallerCodeLaterDate + "\n" + equal + "\n" + greaterCodeEarlierDate + "\n" + older, checks);
    EXPECT_EQ(evaluation.Downloads, (std::vector<std::string>{smallerCodeLaterDate, greaterCodeEarlierDate}));
    const std::vector<std::string> log = LogOf(evaluation);
    EXPECT_EQ(log[3], "「DrumMania V3」の曲データは最新です");
    EXPECT_EQ(log.back(), "データベースデータ２は最新です");
}

TEST(UpdateList, AppIsComparedWithTheOwnReleaseCodeOnlyAndNeverQueued) {
    struct {
        std::string code;
        std::vector<std::string> log;
    } cases[] = {
        {"R26",
         {"[notice] "
          "「ギタドラのPelorin」の新しいバージョンが存在します！\r\nダウンロードサイトで確認してください",
          "アプリケーションの新しいバージョンを確認しました", " リリースコード：R26",
          " リリース日時：2024/03/05 12:00:00"}},
        {"R25", {"アプリケーションは最新です"}},
        {"R24", {"アプリケーションは最新です"}},
    };
    for (const auto& c : cases) {
        StoredChecks checks;
        checks.values["APP"] = "R99 9999/99/99 99:99:99"; // never consulted for the program
        UpdateEvaluation evaluation =
            Evaluate(Line("APP", c.code, "2024/03/05 12:00:00", "http://h/app"), checks);
        EXPECT_EQ(LogOf(evaluation), c.log) << c.code;
        EXPECT_TRUE(evaluation.Downloads.empty());
    }
    // A release below 10 carries a blank and sorts below two-digit codes.
    StoredChecks checks;
    EXPECT_EQ(LogOf(Evaluate(Line("APP", "R10", "2024/03/05 12:00:00", ""), checks, "R 5")).size(), 4u);
}

TEST(UpdateList, UnknownKindsBlankLinesAndLowerCaseKindsAreIgnoredSilently) {
    StoredChecks checks;
    UpdateEvaluation evaluation = Evaluate(
        "\r\nXYZ 999 9999/99/99 99:99:99 u\r\ngfv 999 9999/99/99 99:99:99 u\r\n   \r\nG\r\n", checks);
    EXPECT_TRUE(evaluation.Events.empty());
    EXPECT_TRUE(evaluation.Downloads.empty());
}

TEST(UpdateList, QueuesLinesOfOneKindInListOrder) {
    StoredChecks checks;
    const std::string first = Line("GD2", "001", "2024/01/01 00:00:00", "http://h/a");
    const std::string second = Line("GD2", "002", "2024/01/02 00:00:00", "http://h/b");
    EXPECT_EQ(Evaluate(first + "\r" + second, checks).Downloads, (std::vector<std::string>{first, second}));
}

} // namespace
