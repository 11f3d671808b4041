#include "net/WebProtocol.h"
#include "data/AppError.h"
#include "data/DataUnit.h"
#include "editions/Editions.h"
#include "net/NetworkLog.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

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
};

// A received result line: the columns as the service writes them.
std::string Line(const std::string& code4, char chart, char kind,
                 const std::string& counts24 = std::string(24, '0'),
                 const std::string& percents24 = std::string(24, '0'), const std::string& v55 = "0000",
                 const std::string& v59 = "0000", const std::string& comment = "") {
    return code4 + chart + kind + counts24 + percents24 + v55 + v59 + comment;
}

} // namespace

TEST_F(WebProtocolTest, RequestAddressesAppendTheTemplatesToTheServerAddress) {
    EXPECT_EQ(ApplicationUrl(kServer, false, "user1", "pass1", "0a1b"),
              kServer + "cl_adduser.asp?id=user1&pass=pass1&access=0a1b");
    EXPECT_EQ(ApplicationUrl(kServer, true, "user1", "pass1", "0a1b"),
              kServer + "cl_addac.asp?id=user1&pass=pass1&access=0a1b");
    EXPECT_EQ(DeleteUserUrl(kServer, "user1", "pass1", "0a1b"),
              kServer + "cl_deluser.asp?id=user1&pass=pass1&access=0a1b");
    EXPECT_EQ(SendUrl(kServer, "user1", "0a1b", "GFV3", 1, "&spdata=0007019512&comment="),
              kServer + "cl_send.asp?id=user1&access=0a1b&game=GFV3&cnt=1&spdata=0007019512&comment=");
    EXPECT_EQ(RecompUrl(kServer, "user1", "DMV3"),
              kServer + "edit_recomp.asp?userid=user1&acid=import&edit=DMV3");
    EXPECT_EQ(ReceiveUrl(kServer, "user1", "0a1b", "GFV3", false),
              kServer + "cl_recv.asp?id=user1&access=0a1b&game=GFV3&mode=upd");
    EXPECT_EQ(ReceiveUrl(kServer, "user1", "0a1b", "GFV3", true),
              kServer + "cl_recv.asp?id=user1&access=0a1b&game=GFV3&mode=all");
    EXPECT_EQ(PublicPageUrl(kServer, "GFV3", "user1"), kServer + "GFV3.asp?id=user1");
}

TEST_F(WebProtocolTest, AccountPasswordAndAccessCodeArePercentEncodedInEveryQuery) {
    const std::string account = "a b#c", password = "p&w=d", access = Sj("ア");
    EXPECT_EQ(ApplicationUrl("", false, account, password, access),
              "cl_adduser.asp?id=a%20b%23c&pass=p%26w%3Dd&access=%83A");
    EXPECT_EQ(DeleteUserUrl("", account, password, access),
              "cl_deluser.asp?id=a%20b%23c&pass=p%26w%3Dd&access=%83A");
    EXPECT_EQ(SendUrl("", account, access, "GFV3", 1, ""),
              "cl_send.asp?id=a%20b%23c&access=%83A&game=GFV3&cnt=1");
    EXPECT_EQ(RecompUrl("", account, "GFV3"), "edit_recomp.asp?userid=a%20b%23c&acid=import&edit=GFV3");
    EXPECT_EQ(ReceiveUrl("", account, access, "GFV3", false),
              "cl_recv.asp?id=a%20b%23c&access=%83A&game=GFV3&mode=upd");
}

TEST_F(WebProtocolTest, SongCodesHaveAtLeastFourDigits) {
    EXPECT_EQ(FormatSongCode(7), "0007");
    EXPECT_EQ(FormatSongCode(0), "0000");
    EXPECT_EQ(FormatSongCode(1203), "1203");
    EXPECT_EQ(FormatSongCode(12345), "12345");
    EXPECT_EQ(FormatSongCode(-5), "-0005");
    EXPECT_EQ(FormatSongCode(-12345), "-12345");
}

TEST_F(WebProtocolTest, RecordValuesAreClampedToFourDigits) {
    EXPECT_EQ(FormatRecordValue(0), "0000");
    EXPECT_EQ(FormatRecordValue(95), "0095");
    EXPECT_EQ(FormatRecordValue(9999), "9999");
    EXPECT_EQ(FormatRecordValue(10000), "9999"); // 100.00 % would otherwise travel as "0000"
    EXPECT_EQ(FormatRecordValue(123456), "9999");
    EXPECT_EQ(FormatRecordValue(-3), "0000");
}

TEST_F(WebProtocolTest, RecordOfEachInputMode) {
    int rate = AddSong(7);
    Song(rate).SkillList.BestChart = 0;
    Chart(rate, 0).InputMode = InputRate;
    Chart(rate, 0).Rate = 9512;
    EXPECT_EQ(SendRecordGroup(Song(rate)), "spdata=0007019512&comment=");

    int percents = AddSong(1203);
    Song(percents).SkillList.BestChart = 5;
    TChartResult& p = Chart(percents, 5);
    p.InputMode = InputPercents;
    p.PerfectPct = 90, p.GreatPct = 5, p.GoodPct = 3, p.PoorPct = 1, p.MissPct = 1, p.ComboPct = 80;
    p.Rate = 1234, p.PerfectCount = 77; // not part of a percentage record
    EXPECT_EQ(SendRecordGroup(Song(percents)), "spdata=120352009000050003000100010080&comment=");

    int counts = AddSong(-5);
    Song(counts).SkillList.BestChart = 8;
    TChartResult& c = Chart(counts, 8);
    c.InputMode = InputCounts;
    c.PerfectCount = 500, c.GreatCount = 20, c.GoodCount = 3, c.PoorCount = 1, c.MissCount = 0,
    c.ComboCount = 12000;
    EXPECT_EQ(SendRecordGroup(Song(counts)), "spdata=-000583050000200003000100009999&comment=");

    int big = AddSong(12345);
    Song(big).SkillList.BestChart = 2;
    Chart(big, 2).InputMode = InputRate;
    Chart(big, 2).Rate = 10000;
    EXPECT_EQ(SendRecordGroup(Song(big)), "spdata=12345219999&comment=");

    int other = AddSong(3);
    Song(other).SkillList.BestChart = 1;
    Chart(other, 1).InputMode = 7;
    EXPECT_EQ(SendRecordGroup(Song(other)), "spdata=000317&comment=");
}

TEST_F(WebProtocolTest, CommentIsCutAfter100BytesThenEncoded) {
    int song = AddSong(7);
    Song(song).SkillList.BestChart = 0;
    Chart(song, 0).InputMode = InputRate;
    Song(song).Comment = "a b+c";
    EXPECT_EQ(SendRecordGroup(Song(song)), "spdata=0007010000&comment=a%20b%2Bc");

    // The 100th byte is the lead byte of a double-byte character: it goes alone.
    Song(song).Comment = std::string(99, 'x') + Sj("ア") + "tail";
    EXPECT_EQ(SendRecordGroup(Song(song)), "spdata=0007010000&comment=" + std::string(99, 'x') + "%83");
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
    const Case cases[] = {
        {"VOSTRANE.NET:0", ReplyToken::Success},
        {"VOSTRANE.NET:1", ReplyToken::AlreadyRegistered},
        {"VOSTRANE.NET:2", ReplyToken::InvalidCharacters},
        {"VOSTRANE.NET:9", ReplyToken::Missing},
        {"VOSTRANE.NET:0\r\n", ReplyToken::Other},
        {"VOSTRANE.NET:0\n", ReplyToken::Other},
        {" VOSTRANE.NET:0", ReplyToken::Other},
        {"vostrane.net:0", ReplyToken::Other},
        {"VOSTRANE.NET:3", ReplyToken::Other},
        {"", ReplyToken::Other},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvaluateReply(c.body), c.token) << c.body;
}

TEST_F(WebProtocolTest, ReplyLinesSplitAtCrLfLfAndLoneCr) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitReplyLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitReplyLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitReplyLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitReplyLines("\n"), (Lines{""}));
    EXPECT_EQ(SplitReplyLines(""), Lines{});
}

TEST_F(WebProtocolTest, ReceivedKindsMapToInputModesThreeTwoOne) {
    int a = AddSong(7), b = AddSong(12), c = AddSong(1203);
    Chart(a, 4).Rate = 4444; // kept: a counts line changes no rate
    std::string body =
        Line("0007", '4', '0', "050000200003000100000480", "009000050003000100010080", "0524", "0012",
             "count line") +
        "\r\n" +
        Line("0012", '1', '1', "050000200003000100000480", "009000050003000100010080", "0524", "0034",
             "pct") +
        "\n" +
        Line("1203", '8', '2', std::string(24, '0'), std::string(24, '0'), "9512", "0056", Sj("レート")) +
        "\r";
    EXPECT_EQ(ApplyReceivedLines(body), 3);

    const TChartResult& counts = Chart(a, 4);
    EXPECT_EQ(counts.InputMode, InputCounts);
    EXPECT_EQ(counts.PerfectCount, 500);
    EXPECT_EQ(counts.GreatCount, 20);
    EXPECT_EQ(counts.GoodCount, 3);
    EXPECT_EQ(counts.PoorCount, 1);
    EXPECT_EQ(counts.MissCount, 0);
    EXPECT_EQ(counts.ComboCount, 480);
    EXPECT_EQ(counts.TotalNotes, 524);
    EXPECT_EQ(counts.RecvValue, 12);
    EXPECT_EQ(counts.PerfectPct, 0);
    EXPECT_EQ(counts.Rate, 4444);
    EXPECT_EQ(Song(a).Comment, "count line");

    const TChartResult& percents = Chart(b, 1);
    EXPECT_EQ(percents.InputMode, InputPercents);
    EXPECT_EQ(percents.PerfectPct, 90);
    EXPECT_EQ(percents.GreatPct, 5);
    EXPECT_EQ(percents.GoodPct, 3);
    EXPECT_EQ(percents.PoorPct, 1);
    EXPECT_EQ(percents.MissPct, 1);
    EXPECT_EQ(percents.ComboPct, 80);
    EXPECT_EQ(percents.PerfectCount, 0);
    EXPECT_EQ(percents.TotalNotes, 0);
    EXPECT_EQ(percents.RecvValue, 34);
    EXPECT_EQ(Song(b).Comment, "pct");

    const TChartResult& rate = Chart(c, 8);
    EXPECT_EQ(rate.InputMode, InputRate);
    EXPECT_EQ(rate.Rate, 9512);
    EXPECT_EQ(rate.RecvValue, 56);
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
    std::string body =
        "\r\n   \r\n" + // blank lines: skipped, not counted
        Line("0007", '9', '2', std::string(24, '0'), std::string(24, '0'), "8000") + "\n" + // chart 9 -> 0
        Line("9999", 'x', 'y') + "\n" + // unknown song: the rest is never read
        Line("0008", '3', '5', std::string(24, '0'), std::string(24, '0'), "1111", "0077", "c") + "\n" +
        "000852" + std::string(48, '0') + "0123"; // kind 2, ends at column 58
    EXPECT_EQ(ApplyReceivedLines(body), 3);
    EXPECT_EQ(Chart(first, 0).Rate, 8000);
    EXPECT_EQ(Chart(twin, 0).Rate, 0);        // the first song of a repeated code gets it
    EXPECT_EQ(Chart(other, 3).RecvValue, 77); // kind 5 sets only RecvValue
    EXPECT_EQ(Chart(other, 3).InputMode, 0);
    EXPECT_EQ(Chart(other, 5).Rate, 123);
    EXPECT_EQ(Chart(other, 5).InputMode, InputRate);
    EXPECT_EQ(Chart(other, 5).RecvValue, 0);
    EXPECT_EQ(Song(other).Comment, "");
}

TEST_F(WebProtocolTest, ValueColumnsThatAreNotNumbersReadZero) {
    int song = AddSong(7);
    Chart(song, 0).PerfectCount = 5;
    EXPECT_EQ(ApplyReceivedLines(
                  Line("0007", '0', '0', "ab12" + std::string(20, '0'), std::string(24, '0'), "12 ")),
              1);
    EXPECT_EQ(Chart(song, 0).PerfectCount, 0);
    EXPECT_EQ(Chart(song, 0).TotalNotes, 0);
}

TEST_F(WebProtocolTest, DrumEditionTakesChartDigitsAboveTwoAsZero) {
    ResetData(DrumEdition());
    int song = AddSong(7);
    for (char digit : {'3', '9'}) {
        Chart(song, 0).Rate = 0;
        EXPECT_EQ(
            ApplyReceivedLines(Line("0007", digit, '2', std::string(24, '0'), std::string(24, '0'), "7000")),
            1);
        EXPECT_EQ(Chart(song, 0).Rate, 7000) << digit;
    }
    EXPECT_EQ(ApplyReceivedLines(Line("0007", '2', '2', std::string(24, '0'), std::string(24, '0'), "6000")),
              1);
    EXPECT_EQ(Chart(song, 2).Rate, 6000);
}

TEST_F(WebProtocolTest, UnreadableLineRaisesAfterEarlierLinesWereApplied) {
    int song = AddSong(7);
    std::string good = Line("0007", '0', '2', std::string(24, '0'), std::string(24, '0'), "5000");
    try {
        ApplyReceivedLines(good + "\r\n" + Line("0007", 'x', '2') + "\r\n" +
                           Line("0007", '1', '2', std::string(24, '0'), std::string(24, '0'), "6000"));
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(std::string(error.what()), Sj("'x' は整数ではありません"));
    }
    EXPECT_EQ(Chart(song, 0).Rate, 5000);
    EXPECT_EQ(Chart(song, 1).Rate, 0);

    EXPECT_THROW(ApplyReceivedLines("VOSTRANE.NET:9"), AppError);
    EXPECT_THROW(ApplyReceivedLines("00071"), AppError); // song found, kind column missing
    EXPECT_THROW(ApplyReceivedLines("0007"), AppError);  // song found, chart column missing
}

TEST_F(WebProtocolTest, NothingIsReadWithAnEmptyTable) {
    EXPECT_EQ(ApplyReceivedLines("VOSTRANE.NET:9"), 0);
    EXPECT_EQ(ApplyReceivedLines("<html>\r\n<body>"), 0);
}

TEST_F(WebProtocolTest, ReceivedCommentIsCutAndMadeSafeForTheCommentsFile) {
    int song = AddSong(7);
    std::string comment = "a\tb\x01" + std::string(120, 'z');
    EXPECT_EQ(ApplyReceivedLines(Line("0007", '0', '2', std::string(24, '0'), std::string(24, '0'), "5000",
                                      "0000", comment)),
              1);
    EXPECT_EQ(Song(song).Comment, "a    b " + std::string(96, 'z'));
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
    RequestUrlParts parts = SplitRequestUrl("http://127.0.0.1:8080/svc/cl_send.asp?id=a&cnt=1");
    EXPECT_EQ(parts.Host, "127.0.0.1");
    EXPECT_EQ(parts.Port, 8080);
    EXPECT_EQ(parts.Path, "/svc/");
    EXPECT_EQ(parts.Query, "?id=a&cnt=1");

    parts = SplitRequestUrl("http://service.invalid/cl_recv.asp?x=/y");
    EXPECT_EQ(parts.Host, "service.invalid");
    EXPECT_EQ(parts.Port, 80);
    EXPECT_EQ(parts.Path, "/");
    EXPECT_EQ(parts.Query, "?x=/y");

    parts = SplitRequestUrl("http://service.invalid");
    EXPECT_EQ(parts.Path, "/");
    EXPECT_EQ(parts.Query, "");
}

TEST_F(WebProtocolTest, ErrorBlockHasEightLines) {
    std::vector<SjisString> expected = {
        "!!!!EERROR!!!!",
        " Host:127.0.0.1",
        " Port:8080",
        " URL:/svc/",
        "     ?id=a&cnt=1",
        " ResponseCode:404",
        " ResponseText:HTTP/1.1 404 Not Found",
        " Version:libcurl/7.0",
    };
    EXPECT_EQ(ErrorBlockLines("http://127.0.0.1:8080/svc/cl_send.asp?id=a&cnt=1", 404,
                              "HTTP/1.1 404 Not Found", "libcurl/7.0"),
              expected);
}

TEST_F(WebProtocolTest, NoticeLogLines) {
    LocalTime time{2024, 3, 5, 14, 7, 9};
    auto notice = [](HttpNotice::Kind kind) {
        HttpNotice n;
        n.kind = kind;
        return n;
    };
    using Lines = std::vector<SjisString>;
    EXPECT_EQ(NoticeLogLines(notice(HttpNotice::Kind::Connected), time),
              (Lines{"Connected", "2024/03/05 14:07:09"}));
    EXPECT_EQ(NoticeLogLines(notice(HttpNotice::Kind::Disconnected), time),
              (Lines{"Disconnected", "2024/03/05 14:07:09"}));
    HttpNotice redirect = notice(HttpNotice::Kind::Redirect);
    redirect.text = "http://x/";
    redirect.count = 1;
    EXPECT_EQ(NoticeLogLines(redirect, time), Lines{"Redirect:http://x/ 1"});
    EXPECT_EQ(NoticeLogLines(notice(HttpNotice::Kind::WorkBegin), time), Lines{"WorkBegin"});
    EXPECT_EQ(NoticeLogLines(notice(HttpNotice::Kind::WorkEnd), time), Lines{"WorkEnd"});
    HttpNotice work = notice(HttpNotice::Kind::Work);
    work.mode = HttpWorkMode::Write;
    work.count = 120;
    EXPECT_EQ(NoticeLogLines(work, time), Lines{"Work:Write 120 bytes"});
    work.mode = HttpWorkMode::Read;
    EXPECT_EQ(NoticeLogLines(work, time), Lines{"Work:Read 120 bytes"});

    struct StatusCase {
        HttpStatus status;
        const char* name;
    };
    const StatusCase statuses[] = {
        {HttpStatus::Resolving, "ホスト名解決中"}, {HttpStatus::Connecting, "接続中"},
        {HttpStatus::Connected, "接続完了"},       {HttpStatus::Disconnecting, "接続解除中"},
        {HttpStatus::Disconnected, "接続解除"},    {HttpStatus::Text, "通知メッセージを生成中"},
    };
    for (const StatusCase& s : statuses) {
        HttpNotice status = notice(HttpNotice::Kind::Status);
        status.status = s.status;
        status.text = "text";
        EXPECT_EQ(NoticeLogLines(status, time), Lines{"Status:" + Sj(s.name) + " text"}) << s.name;
    }
}
