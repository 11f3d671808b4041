#include "net/WebProtocol.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "net/AccessCode.h"
#include "net/NetworkLog.h"
#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const std::string kServer = "http://127.0.0.1:8080/svc/";

class WebProtocolTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetData(GuitarEdition()); }

    int AddSong(int32_t code) {
        int index = MusicCount++;
        MusicTable[static_cast<std::size_t>(index)].Code = code;
        MusicTable[static_cast<std::size_t>(index)].Index = index;
        return index;
    }
    TMusicList& Song(int index) { return MusicTable[static_cast<std::size_t>(index)]; }
    TChartResult& Chart(int index, int chart) {
        return Song(index).SkillList.Chart[static_cast<std::size_t>(chart)];
    }
    // A song whose best chart has the input mode; returns that chart.
    TChartResult& Best(int32_t code, int chart, int32_t mode) {
        int index = AddSong(code);
        Song(index).SkillList.BestChart = chart;
        Chart(index, chart).InputMode = mode;
        return Chart(index, chart);
    }
    std::string Record(int32_t code) {
        for (int i = 0; i < MusicCount; ++i)
            if (Song(i).Code == code) return SendRecordGroup(Song(i));
        return "";
    }
};

// One row of a chart's values in the order of the struct.
std::vector<int32_t> Values(const TChartResult& chart, int row) {
    std::vector<int32_t> values;
    for (int pos = 0; pos < 9; ++pos)
        values.push_back(chart.Value(row, pos));
    return values;
}
using V = std::vector<int32_t>;

const std::string kZeros = std::string(24, '0');

// A received result line: the columns as the service writes them.
std::string Line(const std::string& code4, char chart, char kind,
                 const std::string& counts24 = std::string(24, '0'),
                 const std::string& percents24 = std::string(24, '0'), const std::string& v55 = "0000",
                 const std::string& v59 = "0000", const std::string& comment = "") {
    return code4 + chart + kind + counts24 + percents24 + v55 + v59 + comment;
}

} // namespace

// The account name, password and access code are percent-encoded in every
// query (plain letters and digits travel unchanged, see the dialog tests).
TEST_F(WebProtocolTest, RequestAddressesAppendTheTemplatesToTheServerAddress) {
    const std::string a = "a b#c", p = "p&w=d", x = Sj("ア");
    const std::string fields = "id=a%20b%23c&pass=p%26w%3Dd&access=%83A";
    const std::pair<SjisString, std::string> cases[] = {
        {ApplicationUrl(kServer, false, a, p, x), "cl_adduser.asp?" + fields},
        {ApplicationUrl(kServer, true, a, p, x), "cl_addac.asp?" + fields},
        {DeleteUserUrl(kServer, a, p, x), "cl_deluser.asp?" + fields},
        {SendUrl(kServer, a, x, "GFV3", 1, "&spdata=0007019512&comment="),
         "cl_send.asp?id=a%20b%23c&access=%83A&game=GFV3&cnt=1&spdata=0007019512&comment="},
        {RecompUrl(kServer, a, "DMV3"), "edit_recomp.asp?userid=a%20b%23c&acid=import&edit=DMV3"},
        {ReceiveUrl(kServer, a, x, "GFV3", false), "cl_recv.asp?id=a%20b%23c&access=%83A&game=GFV3&mode=upd"},
        {ReceiveUrl(kServer, "user1", "0a1b", "GFV3", true),
         "cl_recv.asp?id=user1&access=0a1b&game=GFV3&mode=all"},
        {PublicPageUrl(kServer, "GFV3", "user1"), "GFV3.asp?id=user1"},
    };
    for (const auto& [url, expected] : cases)
        EXPECT_EQ(url, kServer + expected);
}

TEST_F(WebProtocolTest, SongCodesHaveAtLeastFourDigitsAndValuesExactlyFour) {
    const std::pair<int32_t, const char*> codes[] = {{7, "0007"},      {0, "0000"},   {1203, "1203"},
                                                     {12345, "12345"}, {-5, "-0005"}, {-12345, "-12345"}};
    for (const auto& [code, text] : codes)
        EXPECT_EQ(FormatSongCode(code), text);
    // Clamped to 0..9999: 100.00 % would otherwise travel as "0000".
    const std::pair<int32_t, const char*> values[] = {{0, "0000"},     {95, "0095"},     {9999, "9999"},
                                                      {10000, "9999"}, {123456, "9999"}, {-3, "0000"}};
    for (const auto& [value, text] : values)
        EXPECT_EQ(FormatRecordValue(value), text);
}

TEST_F(WebProtocolTest, RecordOfEachInputModeAndTheComment) {
    Best(7, 0, InputRate).Rate = 9512;
    TChartResult& p = Best(1203, 5, InputPercents);
    p.PerfectPct = 90, p.GreatPct = 5, p.GoodPct = 3, p.PoorPct = 1, p.MissPct = 1, p.ComboPct = 80;
    p.Rate = 1234, p.PerfectCount = 77; // not part of a percentage record
    TChartResult& c = Best(-5, 8, InputCounts);
    c.PerfectCount = 500, c.GreatCount = 20, c.GoodCount = 3, c.PoorCount = 1, c.ComboCount = 12000;
    Best(12345, 2, InputRate).Rate = 10000;
    Best(3, 1, 7);
    EXPECT_EQ(Record(7), "spdata=0007019512&comment=");
    EXPECT_EQ(Record(1203), "spdata=120352009000050003000100010080&comment=");
    EXPECT_EQ(Record(-5), "spdata=-000583050000200003000100009999&comment=");
    EXPECT_EQ(Record(12345), "spdata=12345219999&comment=");
    EXPECT_EQ(Record(3), "spdata=000317&comment=");

    // The comment is cut after 100 bytes, then encoded: the 100th byte is the
    // lead byte of a double-byte character and goes alone.
    Song(0).Comment = "a b+c";
    EXPECT_EQ(Record(7), "spdata=0007019512&comment=a%20b%2Bc");
    Song(0).Comment = std::string(99, 'x') + Sj("ア") + "tail";
    EXPECT_EQ(Record(7), "spdata=0007019512&comment=" + std::string(99, 'x') + "%83");
}

TEST_F(WebProtocolTest, SendSelectionByMode) {
    TMusicList music;
    music.SkillList.BestChart = -1;
    music.Changed = true;
    EXPECT_FALSE(IsSelectedForSend(music, TransferMode::ChangedOnly)); // no best chart
    music.SkillList.BestChart = 2;
    EXPECT_TRUE(IsSelectedForSend(music, TransferMode::ChangedOnly));
    music.Changed = false;
    EXPECT_FALSE(IsSelectedForSend(music, TransferMode::ChangedOnly));
    EXPECT_FALSE(IsSelectedForSend(music, TransferMode::All)); // best skill 0
    music.SkillList.BestSkill = 1;
    EXPECT_TRUE(IsSelectedForSend(music, TransferMode::All));
}

TEST_F(WebProtocolTest, ReplyTokensMatchTheWholeBodyOnly) {
    struct Case {
        std::string body;
        ReplyToken token;
    };
    const Case cases[] = {{"VOSTRANE.NET:0", ReplyToken::Success},
                          {"VOSTRANE.NET:1", ReplyToken::AlreadyRegistered},
                          {"VOSTRANE.NET:2", ReplyToken::InvalidCharacters},
                          {"VOSTRANE.NET:9", ReplyToken::Missing}};
    for (const Case& c : cases)
        EXPECT_EQ(EvaluateReply(c.body), c.token) << c.body;
    for (const char* other : {"VOSTRANE.NET:0\r\n", "VOSTRANE.NET:0\n", " VOSTRANE.NET:0", "vostrane.net:0",
                              "VOSTRANE.NET:3", ""})
        EXPECT_EQ(EvaluateReply(other), ReplyToken::Other) << other;
}

TEST_F(WebProtocolTest, ReceivedKindsMapToInputModesThreeTwoOne) {
    int a = AddSong(7), b = AddSong(12), c = AddSong(1203);
    Chart(a, 4).Rate = 4444; // kept: a counts line changes no rate
    const std::string values = "050000200003000100000480", percents = "009000050003000100010080";
    std::string body = Line("0007", '4', '0', values, percents, "0524", "0012", "count line") + "\r\n" +
                       Line("0012", '1', '1', values, percents, "0524", "0034", "pct") + "\n" +
                       Line("1203", '8', '2', kZeros, kZeros, "9512", "0056", Sj("レート")) + "\r";
    EXPECT_EQ(ApplyReceivedLines(body), 3);

    EXPECT_EQ(Values(Chart(a, 4), 0), (V{0, 0, 0, 0, 0, 0, 0, 4444, 0}));
    EXPECT_EQ(Values(Chart(a, 4), 1), (V{500, 20, 3, 1, 0, 480, InputCounts, 524, 12}));
    EXPECT_EQ(Values(Chart(b, 1), 0), (V{90, 5, 3, 1, 1, 80, 0, 0, 0}));
    EXPECT_EQ(Values(Chart(b, 1), 1), (V{0, 0, 0, 0, 0, 0, InputPercents, 0, 34}));
    EXPECT_EQ(Values(Chart(c, 8), 0), (V{0, 0, 0, 0, 0, 0, 0, 9512, 0}));
    EXPECT_EQ(Values(Chart(c, 8), 1), (V{0, 0, 0, 0, 0, 0, InputRate, 0, 56}));
    EXPECT_EQ(Song(a).Comment, "count line");
    EXPECT_EQ(Song(b).Comment, "pct");
    EXPECT_EQ(Song(c).Comment, Sj("レート"));
    for (int i : {a, b, c}) {
        EXPECT_FALSE(Song(i).Changed);
        EXPECT_EQ(Song(i).UpdateTime, "");
    }
}

TEST_F(WebProtocolTest, ReceivedLineEdgeCases) {
    int first = AddSong(7);
    int twin = AddSong(7);
    int other = AddSong(8);
    Song(other).Comment = "kept";
    std::string body = "\r\n   \r\n" + // blank lines: skipped, not counted
                       Line("0007", '9', '2', kZeros, kZeros, "8000") + "\n" + // chart 9 -> 0
                       Line("9999", 'x', 'y') + "\n" + // unknown song: the rest is never read
                       Line("0008", '3', '5', kZeros, kZeros, "1111", "0077", "c") + "\n" + "000852" +
                       std::string(48, '0') + "0123"; // kind 2, ends at column 58
    EXPECT_EQ(ApplyReceivedLines(body), 3);
    EXPECT_EQ(Chart(first, 0).Rate, 8000);
    EXPECT_EQ(Chart(twin, 0).Rate, 0);        // the first song of a repeated code gets it
    EXPECT_EQ(Chart(other, 3).RecvValue, 77); // kind 5 sets only RecvValue
    EXPECT_EQ(Chart(other, 3).InputMode, 0);
    EXPECT_EQ(Chart(other, 5).Rate, 123);
    EXPECT_EQ(Chart(other, 5).InputMode, InputRate);
    EXPECT_EQ(Chart(other, 5).RecvValue, 0);
    EXPECT_EQ(Song(other).Comment, "");

    // Value columns that are not numbers read 0; a comment is cut and made
    // safe for the comments file.
    Chart(first, 1).PerfectCount = 5;
    const std::string comment = "a\tb\x01" + std::string(120, 'z');
    EXPECT_EQ(ApplyReceivedLines(
                  Line("0007", '1', '0', "ab12" + std::string(20, '0'), kZeros, "12 0", "0000", comment)),
              1);
    EXPECT_EQ(Chart(first, 1).PerfectCount, 0);
    EXPECT_EQ(Chart(first, 1).TotalNotes, 0);
    EXPECT_EQ(Song(first).Comment, "a    b " + std::string(96, 'z'));
}

TEST_F(WebProtocolTest, DrumEditionTakesChartDigitsAboveTwoAsZero) {
    ResetData(DrumEdition());
    int song = AddSong(7);
    for (char digit : {'3', '9'}) {
        Chart(song, 0).Rate = 0;
        EXPECT_EQ(ApplyReceivedLines(Line("0007", digit, '2', kZeros, kZeros, "7000")), 1);
        EXPECT_EQ(Chart(song, 0).Rate, 7000) << digit;
    }
    EXPECT_EQ(ApplyReceivedLines(Line("0007", '2', '2', kZeros, kZeros, "6000")), 1);
    EXPECT_EQ(Chart(song, 2).Rate, 6000);
}

TEST_F(WebProtocolTest, UnreadableLineRaisesAfterEarlierLinesWereApplied) {
    int song = AddSong(7);
    std::string good = Line("0007", '0', '2', kZeros, kZeros, "5000");
    EXPECT_EQ(ErrorOf([&] {
                  ApplyReceivedLines(good + "\r\n" + Line("0007", 'x', '2') + "\r\n" +
                                     Line("0007", '1', '2', kZeros, kZeros, "6000"));
              }),
              Sj("'x' は整数ではありません"));
    EXPECT_EQ(Chart(song, 0).Rate, 5000);
    EXPECT_EQ(Chart(song, 1).Rate, 0);

    EXPECT_THROW(ApplyReceivedLines("VOSTRANE.NET:9"), AppError);
    EXPECT_THROW(ApplyReceivedLines("00071"), AppError); // song found, kind column missing
    EXPECT_THROW(ApplyReceivedLines("0007"), AppError);  // song found, chart column missing

    ResetData(GuitarEdition()); // with an empty table nothing is read
    EXPECT_EQ(ApplyReceivedLines("VOSTRANE.NET:9"), 0);
    EXPECT_EQ(ApplyReceivedLines("<html>\r\n<body>"), 0);
}

TEST_F(WebProtocolTest, Messages) {
    EXPECT_EQ(ReceivedCountMessage(3), Sj("3件 更新しました。"));
    EXPECT_EQ(RequestErrorMessage(404, "HTTP/1.1 404 Not Found"),
              Sj("エラーが発生しました。CODE:404 MESSAGE:HTTP/1.1 404 Not Found"));
    EXPECT_EQ(RequestErrorMessage(-1, ""), Sj("エラーが発生しました。CODE:-1 MESSAGE:"));
}

TEST_F(WebProtocolTest, AccessCodeDigestsLabelTimeAccountPasswordAndComputer) {
    LocalTime time{2024, 3, 5, 14, 7, 9};
    EXPECT_EQ(BuildAccessCode(time, "user1", "pass1", "HOST"), "06fa54633a2e9639066b072c2bd40324");
    // Texts are digested as typed, blanks included; an empty computer name adds nothing.
    EXPECT_EQ(BuildAccessCode(time, " user1 ", "pass1", ""), "37275b8598fa2e245a08e77d9dc42e05");
    LocalTime later = time;
    later.Second = 10;
    EXPECT_NE(BuildAccessCode(later, "user1", "pass1", "HOST"),
              BuildAccessCode(time, "user1", "pass1", "HOST"));
}

TEST_F(WebProtocolTest, RequestUrlParts) {
    auto parts = [](const std::string& url) {
        RequestUrlParts p = SplitRequestUrl(url);
        return std::tuple(p.Host, p.Port, p.Path, p.Query);
    };
    using Parts = std::tuple<std::string, int, std::string, std::string>;
    EXPECT_EQ(parts("http://127.0.0.1:8080/svc/cl_send.asp?id=a&cnt=1"),
              Parts("127.0.0.1", 8080, "/svc/", "?id=a&cnt=1"));
    EXPECT_EQ(parts("http://service.invalid/cl_recv.asp?x=/y"), Parts("service.invalid", 80, "/", "?x=/y"));
    EXPECT_EQ(parts("http://service.invalid"), Parts("service.invalid", 80, "/", ""));
}

TEST_F(WebProtocolTest, ErrorBlockHasEightLines) {
    std::vector<SjisString> expected = {"!!!!EERROR!!!!",
                                        " Host:127.0.0.1",
                                        " Port:8080",
                                        " URL:/svc/",
                                        "     ?id=a&cnt=1",
                                        " ResponseCode:404",
                                        " ResponseText:HTTP/1.1 404 Not Found",
                                        " Version:libcurl/7.0"};
    EXPECT_EQ(ErrorBlockLines("http://127.0.0.1:8080/svc/cl_send.asp?id=a&cnt=1", 404,
                              "HTTP/1.1 404 Not Found", "libcurl/7.0"),
              expected);
}

TEST_F(WebProtocolTest, NoticeLogLines) {
    LocalTime time{2024, 3, 5, 14, 7, 9};
    auto lines = [&](HttpNotice::Kind kind, HttpWorkMode mode = HttpWorkMode::Read, HttpStatus status = {}) {
        HttpNotice n;
        n.kind = kind;
        n.mode = mode;
        n.status = status;
        n.text = kind == HttpNotice::Kind::Redirect ? "http://x/" : "text";
        n.count = kind == HttpNotice::Kind::Redirect ? 1 : 120;
        return NoticeLogLines(n, time);
    };
    using Lines = std::vector<SjisString>;
    using K = HttpNotice::Kind;
    EXPECT_EQ(lines(K::Connected), (Lines{"Connected", "2024/03/05 14:07:09"}));
    EXPECT_EQ(lines(K::Disconnected), (Lines{"Disconnected", "2024/03/05 14:07:09"}));
    EXPECT_EQ(lines(K::Redirect), Lines{"Redirect:http://x/ 1"});
    EXPECT_EQ(lines(K::WorkBegin), Lines{"WorkBegin"});
    EXPECT_EQ(lines(K::WorkEnd), Lines{"WorkEnd"});
    EXPECT_EQ(lines(K::Work, HttpWorkMode::Write), Lines{"Work:Write 120 bytes"});
    EXPECT_EQ(lines(K::Work, HttpWorkMode::Read), Lines{"Work:Read 120 bytes"});
    const std::pair<HttpStatus, const char*> statuses[] = {
        {HttpStatus::Resolving, "ホスト名解決中"}, {HttpStatus::Connecting, "接続中"},
        {HttpStatus::Connected, "接続完了"},       {HttpStatus::Disconnecting, "接続解除中"},
        {HttpStatus::Disconnected, "接続解除"},    {HttpStatus::Text, "通知メッセージを生成中"},
    };
    for (const auto& [status, name] : statuses)
        EXPECT_EQ(lines(K::Status, HttpWorkMode::Read, status), Lines{"Status:" + Sj(name) + " text"})
            << name;
}
