#include "net/PropertyForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "data/Unitini.h"
#include "net/SendForm.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"
#include "tests/gui/BlockingTestSupport.h"
#include "tests/net/FakeService.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const char* const kNewDate = "2024/03/05 12:00:00";
const char* const kOkReplyError = "エラーが発生しました。CODE:200 MESSAGE:HTTP/1.1 200 OK";

std::string ListLine(const std::string& kind, const std::string& code, const std::string& address) {
    return kind + " " + code + " " + kNewDate + " " + address + "\r\n";
}

// A master list of the layout with the given song names.
std::string MasterList(const Edition& layout, std::initializer_list<const char*> names) {
    std::string list;
    int code = 0;
    for (const char* name : names) {
        list += std::string(name) + "\t150";
        for (int c = 0; c < layout.ChartCount; ++c)
            list += "\t" + std::to_string(c + 1);
        for (int k = 0; k < kFlagCount; ++k)
            list += "\t0";
        list += "\tS\tM\t" + std::to_string(code++) + "\r\n";
    }
    return list;
}

class PropertyFormTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(GuitarEdition()); }

    void Start(const Edition& edition) {
        ResetData(edition);
        AppDir = dir.Dir();
        IniFileName = dir.File("vostrane.ini");
        form = std::make_unique<PropertyForm>();
        form->show();
        Edit("edURL")->setText(QString::fromStdString(Url("check.txt")));
    }

    // The running edition's data as start-up leaves it: loaded completely.
    void LoadOwnData(std::initializer_list<const char*> names) {
        const SjisString& base = CurrentEdition().GameName;
        WriteFileBytes(dir.File(base + ".txt"), MasterList(CurrentEdition(), names));
        ASSERT_TRUE(LoadAllDataFiles(base));
    }

    ByteLimitedEdit* Edit(const char* name) { return form->findChild<ByteLimitedEdit*>(UiText(name)); }
    QPushButton* Button(const char* name) { return form->findChild<QPushButton*>(UiText(name)); }
    std::string Info() { return form->findChild<QLabel*>(UiText("laInfo"))->text().toStdString(); }
    Strings Log() {
        Strings lines;
        for (const QString& line :
             form->findChild<QPlainTextEdit*>(UiText("meLog"))->toPlainText().split(u'\n'))
            lines.push_back(line.toStdString());
        return lines;
    }
    std::string Check(const char* kind) { return IniReadString("check", kind, "(none)"); }
    std::string Url(const std::string& document) { return service.BaseUrl() + document; }
    bool Exists(const std::string& name) { return fs::exists(dir.File(name)); }

    // Publishes the update list, checks it and answers the download question.
    void CheckList(const std::string& list, BoxAnswer answer = BoxAnswer::Yes) {
        service.SetReply("check.txt", FakeService::Body(list));
        boxes.Answer(answer);
        QTest::mouseClick(Button("btnGet"), Qt::LeftButton);
    }

    TempDir dir;
    FakeService service;
    MessageBoxScript boxes;
    std::unique_ptr<PropertyForm> form;
};

// ---- settings page ----

TEST_F(PropertyFormTest, StoresExactlyWhatWasTypedForTheNextStartInTheEditionsSection) {
    DefaultFormulas formulas;
    const TSkillComputer& running = formulas.Computer;
    for (const Edition* edition : {&DrumEdition(), &GuitarEdition()}) {
        Start(*edition);
        boxes.Clear();
        ServerAddress = "http://old/";
        form->FillSettings(ServerAddress, 80, 20, 20, 100);
        Edit("edPer")->setText(UiText("9x"));
        Edit("edGrt")->clear();
        Edit("edCmb")->setText(UiText("00030"));
        Edit("edServer")->setText(UiText("http://new.example/svc"));
        QTest::mouseClick(Button("btnUpdate"), Qt::LeftButton);

        const SjisString& section = edition->GameName;
        EXPECT_EQ(IniReadString(section, "perfect", "?"), "9x");
        EXPECT_EQ(IniReadString(section, "great", "?"), "");
        EXPECT_EQ(IniReadString(section, "combo", "?"), "00030");
        EXPECT_EQ(IniReadString(section, "waru", "?"), "100");
        EXPECT_EQ(IniReadString("link", "server", "?"), "http://new.example/svc");
        EXPECT_EQ(IniReadString(section, "good", "?"), "?"); // not shown, not written
        if (edition == &DrumEdition()) {
            EXPECT_EQ(IniReadString("GuitarFreaksV3", "perfect", "?"), "?");
        }
        EXPECT_EQ(
            boxes.ShownUtf8(),
            Strings{"環境設定を変更しました。設定を有効にするにはアプリケーションを再起動してください。"});
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(running.Perfect, 80);
        EXPECT_EQ(ServerAddress, "http://old/");
    }
    ServerAddress.clear();
}

TEST_F(PropertyFormTest, EnterClosesWithOkEscWithCancelAndEnterOnAButtonPressesIt) {
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(Edit("edURL"), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);

    form->show();
    QTest::keyClick(Button("btnGet"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);

    // Enter on a focused button presses that button: "キャンセル" cancels, "環境設定更新" stores and stays.
    form->show();
    form->setResult(QDialog::Accepted);
    Button("btnCancel")->setFocus();
    QTest::keyClick(Button("btnCancel"), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    form->show();
    Edit("edServer")->setText(UiText("http://typed/"));
    Button("btnUpdate")->setFocus();
    QTest::keyClick(Button("btnUpdate"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(IniReadString("link", "server", "?"), "http://typed/");
    EXPECT_EQ(boxes.Shown().size(), 1u);

    // Enter does not get past a disabled OK.
    Button("btnOk")->setEnabled(false);
    QTest::keyClick(Edit("edPer"), Qt::Key_Enter);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(Button("btnOk")->autoDefault());
}

// ---- update check ----

TEST_F(PropertyFormTest, CheckLogsEachKindAndAnsweringNoDownloadsNothing) {
    WriteFileBytes(dir.File("vostrane.ini"), "[check]\r\nDMV=005 2024/01/01 00:00:00\r\n");
    WriteFileBytes(dir.File("check.txt"), "left over");
    CheckList(ListLine("APP", "R26", "http://x/") + ListLine("GFV", "001", Url("gfv.txt")) +
                  "DMV 005 2024/01/01 00:00:00 " + Url("dmv.txt") + "\r\n" + ListLine("XYZ", "999", "") +
                  ListLine("GD1", "000", Url("gd1.dat")),
              BoxAnswer::No);

    EXPECT_EQ(Log(), (Strings{"サーバーへ接続中...", "ファイルを取得しました",
                              "アプリケーションの新しいバージョンを確認しました", " リリースコード：R26",
                              " リリース日時：2024/03/05 12:00:00",
                              "「GuitarFreaks V3」の曲データが更新されています", " リリースコード：001",
                              " リリース日時：2024/03/05 12:00:00", "「DrumMania V3」の曲データは最新です",
                              "データベースデータ１が更新されています", " リリースコード：000",
                              " リリース日時：2024/03/05 12:00:00"}));
    EXPECT_EQ(
        boxes.ShownUtf8(),
        (Strings{
            "「ギタドラのPelorin」の新しいバージョンが存在します！\r\nダウンロードサイトで確認してください",
            "データが更新されています。\r\nダウンロードしますか？"}));
    EXPECT_EQ(boxes.Shown()[1].Kind, BoxKind::YesNo);
    EXPECT_EQ(form->DownloadList.size(), 2u);
    EXPECT_EQ(service.Requests().size(), 1u);
    EXPECT_EQ(Check("GFV"), "(none)");
    EXPECT_FALSE(Exists("check.txt"));
    EXPECT_EQ(Info(), "完了");
    EXPECT_TRUE(Button("btnGet")->isEnabled());
    EXPECT_TRUE(form->isVisible());

    const FakeService::Request request = service.Requests()[0];
    EXPECT_EQ(request.Header("User-Agent"), "VOTSRANEOS");
    EXPECT_EQ(request.Header("Host"), service.HostPort());
    EXPECT_EQ(request.Header("Accept"), "text/html, */*");
}

// A list long enough that its log reaches the memo in several parts: every
// line in order, the notice of a newer program where it stands in the list,
// every newer line queued, and the memo scrolled to its last line.
TEST_F(PropertyFormTest, ALongListLogsEveryLineInOrder) {
    std::string list;
    Strings log{"サーバーへ接続中...", "ファイルを取得しました"};
    for (int i = 0; i < 3000; ++i) {
        if (i == 2000) {
            list += ListLine("APP", "R26", "x");
            log.insert(log.end(), {"アプリケーションの新しいバージョンを確認しました", " リリースコード：R26",
                                   std::string(" リリース日時：") + kNewDate});
        }
        if (i % 3 == 0) {
            list += "GD2 000 0000/00/00 00:00:00 u\r\n";
            log.push_back("データベースデータ２は最新です");
        } else {
            const std::string code = std::to_string(100 + i % 900);
            list += ListLine("GD1", code, "u");
            log.insert(log.end(), {"データベースデータ１が更新されています", " リリースコード：" + code,
                                   std::string(" リリース日時：") + kNewDate});
        }
    }
    CheckList(list, BoxAnswer::No);

    EXPECT_EQ(Log(), log);
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(form->DownloadList.size(), 2000u);
    EXPECT_EQ(form->DownloadList.back() + "\r\n", ListLine("GD1", "399", "u")); // the last line
    const QScrollBar* scroll = form->findChild<QPlainTextEdit*>(UiText("meLog"))->verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());
}

TEST_F(PropertyFormTest, AListThatCannotBeFetchedIsReportedAndNotEvaluated) {
    WriteFileBytes(dir.File("check.txt"), "kept");
    WriteFileBytes(dir.File("list.txt"), ListLine("GD1", "001", "x"));
    struct {
        const char* what;
        std::string url;
        FakeService::Reply reply;
        const char* message;
    } cases[] = {
        // First: the client has had no reply yet.
        {"https", "https://" + service.HostPort() + "/svc/check.txt", FakeService::Body(""),
         "エラーが発生しました。CODE:-1 MESSAGE:https のアドレスには対応していません"},
        {"server error", Url("check.txt"), FakeService::Status("HTTP/1.1 500 Internal Server Error", "oops"),
         "エラーが発生しました。CODE:500 MESSAGE:HTTP/1.1 500 Internal Server Error"},
        {"not http", "file://" + dir.File("list.txt"), FakeService::Body(""), nullptr},
        {"over 1 MiB", Url("check.txt"), FakeService::Body(std::string(1024u * 1024u + 1u, 'x')), nullptr},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        service.SetReply("check.txt", c.reply);
        Edit("edURL")->setText(QString::fromStdString(c.url));
        QTest::mouseClick(Button("btnGet"), Qt::LeftButton);
        ASSERT_EQ(boxes.Shown().size(), 1u) << c.what;
        if (c.message != nullptr) {
            EXPECT_EQ(boxes.ShownUtf8()[0], c.message);
        } else {
            EXPECT_EQ(boxes.ShownUtf8()[0].rfind("エラーが発生しました。CODE:", 0), 0u) << c.what;
        }
        EXPECT_EQ(Info(), "エラー") << c.what;
        EXPECT_EQ(Log(), Strings{"サーバーへ接続中..."}) << c.what;
        EXPECT_TRUE(form->DownloadList.empty()) << c.what;
        EXPECT_TRUE(Exists("check.txt")) << c.what;
        EXPECT_TRUE(Button("btnGet")->isEnabled()) << c.what;
    }
}

// ---- downloads ----

TEST_F(PropertyFormTest, ACompleteDownloadSavesReloadsAndClosesWithOk) {
    LoadOwnData({"Old1", "Keep"});
    MusicTable[1].Comment = "typed since start";
    const std::string guitar = MasterList(GuitarEdition(), {"New0", "Keep", "New2"});
    const std::string drum = MasterList(DrumEdition(), {"D1"});
    const std::string gd1 = std::string("\x00\x01\xFF binary\r\n", 12);
    service.SetReply("gfv.txt", FakeService::Body(guitar));
    service.SetReply("dmv.txt", FakeService::Body(drum));
    service.SetReply("gd1.dat", FakeService::Body(gd1));
    service.SetReply("a.dat", FakeService::Body("first"));
    service.SetReply("b.dat", FakeService::Body(""));
    // Two lines of one kind are fetched in list order; the later one's file and [check] remain.
    CheckList(ListLine("GFV", "002", Url("gfv.txt")) + ListLine("DMV", "003", Url("dmv.txt")) +
              ListLine("GD1", "004", Url("gd1.dat")) + ListLine("GD2", "005", Url("a.dat")) +
              ListLine("GD2", "006", Url("b.dat")));

    EXPECT_EQ(ReadFileBytes(dir.File("GuitarFreaksV3.txt")), guitar);
    EXPECT_EQ(ReadFileBytes(dir.File("DrumManiaV3.txt")), drum);
    EXPECT_EQ(ReadFileBytes(dir.File("gfdmgd1.dat")), gd1);
    EXPECT_EQ(ReadFileBytes(dir.File("gfdmgd2.dat")), "");
    EXPECT_EQ(service.RequestsFor("a.dat").size(), 1u);
    EXPECT_EQ(Check("GFV"), std::string("002 ") + kNewDate);
    EXPECT_EQ(Check("DMV"), std::string("003 ") + kNewDate);
    EXPECT_EQ(Check("GD1"), std::string("004 ") + kNewDate);
    EXPECT_EQ(Check("GD2"), std::string("006 ") + kNewDate);
    EXPECT_EQ(boxes.ShownUtf8().back(), "ダウンロード完了しました。");
    EXPECT_EQ(Info(), "完了");

    // Only the running game's list is reloaded; the player's data carries over by name.
    EXPECT_EQ(MusicNames, (std::vector<SjisString>{"New0", "Keep", "New2"}));
    EXPECT_EQ(MusicTable[1].Comment, "typed since start");
    EXPECT_TRUE(DataLoadComplete());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->DataReloaded());
    EXPECT_TRUE(Button("btnGet")->isEnabled());

    // The same list is now current, and a new opening forgets the reload.
    boxes.Clear();
    form->show();
    QTest::mouseClick(Button("btnGet"), Qt::LeftButton);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(form->DownloadList.empty());
    form->FillSettings("", 0, 0, 0, 0);
    EXPECT_FALSE(form->DataReloaded());
}

TEST_F(PropertyFormTest, TheDrumEditionReloadsItsOwnList) {
    Start(DrumEdition());
    LoadOwnData({"D0"});
    service.SetReply("gfv.txt", FakeService::Body(MasterList(GuitarEdition(), {"G0", "G1"})));
    service.SetReply("dmv.txt", FakeService::Body(MasterList(DrumEdition(), {"D0", "D1", "D2"})));
    CheckList(ListLine("GFV", "001", Url("gfv.txt")) + ListLine("DMV", "001", Url("dmv.txt")));
    EXPECT_EQ(MusicNames, (std::vector<SjisString>{"D0", "D1", "D2"}));
    EXPECT_TRUE(Exists("GuitarFreaksV3.txt"));
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

// A blank slipped into an address (a pasted one ending in a blank, say) goes
// out as %20, as a browser sends it; every other byte goes as typed.
TEST_F(PropertyFormTest, BlanksInTheListAndDownloadAddressesGoOutAsPercent20) {
    service.SetReply("check.txt%20", FakeService::Body(ListLine("GD1", "001", Url("gd 1.dat?v=%41 ~"))));
    service.SetReply("gd%201.dat", FakeService::Body("data"));
    Edit("edURL")->setText(QString::fromStdString(Url("check.txt ")));
    boxes.Answer(BoxAnswer::Yes);
    QTest::mouseClick(Button("btnGet"), Qt::LeftButton);

    const std::vector<FakeService::Request> requests = service.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/svc/check.txt%20");
    EXPECT_EQ(requests[1].target, "/svc/gd%201.dat?v=%41%20~");
    EXPECT_EQ(ReadFileBytes(dir.File("gfdmgd1.dat")), "data");
    EXPECT_EQ(Check("GD1"), std::string("001 ") + kNewDate);
}

TEST_F(PropertyFormTest, AFailureMidwayKeepsWhatWasDoneAndStops) {
    LoadOwnData({"Song"});
    const std::string before = ReadFileBytes(dir.File("GuitarFreaksV3.txt"));
    service.SetReply("gd1.dat", FakeService::Body("one"));
    // "missing.dat" has no reply: the service answers 404.
    CheckList(ListLine("GD1", "001", Url("gd1.dat")) + ListLine("GD2", "001", Url("missing.dat")) +
              ListLine("GFV", "001", Url("gfv.txt")));

    EXPECT_EQ(ReadFileBytes(dir.File("gfdmgd1.dat")), "one");
    EXPECT_EQ(Check("GD1"), std::string("001 ") + kNewDate);
    EXPECT_FALSE(Exists("gfdmgd2.dat"));
    EXPECT_EQ(Check("GD2"), "(none)");
    EXPECT_TRUE(service.RequestsFor("gfv.txt").empty());
    EXPECT_EQ(boxes.ShownUtf8().back(), "エラーが発生しました。CODE:404 MESSAGE:HTTP/1.1 404 Not Found");
    EXPECT_EQ(Info(), "エラー");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->DataReloaded());
    EXPECT_EQ(ReadFileBytes(dir.File("GuitarFreaksV3.txt")), before);
    EXPECT_EQ(MusicCount, 1);
    EXPECT_TRUE(Button("btnGet")->isEnabled());
}

// Nothing paints the dialog while a request blocks: the check and each
// download start with the disabled button, "接続中..." and the log line on the
// screen, under the wait cursor; a click queued meanwhile does not start a
// second check once the button is back.
TEST_F(PropertyFormTest, EachRequestStartsPaintedBusyAndClicksQueuedMeanwhileAreDropped) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Strings seen;
    BlockingPaintWatch watch([&](QWidget& window) {
        seen.push_back(std::string(Button("btnGet")->isEnabled() ? "on|" : "off|") + Info() + "|" +
                       Log().back() + (WaitCursorShown() ? "|wait" : "") +
                       (ScreenShowsWindowAsItStands(window) ? "|painted" : ""));
        QueueClick(*Button("btnGet"));
    });
    service.SetReply("gd1.dat", FakeService::Body("one"));
    // "missing.dat" has no reply: the download fails and the dialog stays open.
    CheckList(ListLine("GD1", "001", Url("gd1.dat")) + ListLine("GD2", "001", Url("missing.dat")));
    QCoreApplication::processEvents(); // whatever is still queued

    EXPECT_EQ(seen, Strings(3, "off|接続中...|サーバーへ接続中...|wait|painted"));
    EXPECT_EQ(service.Requests().size(), 3u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(boxes.Shown().size(), 2u); // the question, the failed download
    for (const ShownBox& box : boxes.Shown())
        EXPECT_FALSE(box.UnderWaitCursor) << SjisToUtf8(box.Text);
    EXPECT_TRUE(Button("btnGet")->isEnabled());

    // An error leaving the check (first request) or a download (second)
    // leaves the button as a failed request does.
    for (int failingRequest : {1, 2}) {
        int requests = 0;
        BlockingPaintWatch failing([&](QWidget&) {
            if (++requests == failingRequest) throw std::bad_alloc();
        });
        boxes.Clear();
        CheckList(ListLine("GD2", "001", Url("missing.dat")));
        EXPECT_EQ(boxes.ShownUtf8().back(), "std::bad_alloc.") << failingRequest;
        EXPECT_TRUE(Button("btnGet")->isEnabled()) << failingRequest;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << failingRequest;
        EXPECT_TRUE(form->isVisible()) << failingRequest;
    }
}

// A body that was cut off, cannot be written, or is a master list its game
// cannot load fails the download: the old file stays whole and no [check].
TEST_F(PropertyFormTest, ABodyThatCannotReplaceTheFileFailsTheDownload) {
    LoadOwnData({"Song"});
    const std::string ownList = ReadFileBytes(dir.File("GuitarFreaksV3.txt"));
    WriteFileBytes(dir.File("gfdmgd1.dat"), "old database");
    fs::create_directory(dir.File("gfdmgd2.dat"));
    struct {
        const char* kind;
        FakeService::Reply reply;
        const char* file;
    } cases[] = {
        {"GD1", FakeService::CutShort("partial"), "gfdmgd1.dat"},
        {"GD2", FakeService::Body("data"), "gfdmgd2.dat"}, // a folder stands in its place
        {"GFV", FakeService::Body(MasterList(DrumEdition(), {"Drum layout"})), "GuitarFreaksV3.txt"},
        {"GFV", FakeService::Body(""), "GuitarFreaksV3.txt"},
        {"DMV", FakeService::Body("<html>Not Found</html>\r\n"), "DrumManiaV3.txt"},
        // Two songs, but more bytes than the program reads back from a file.
        {"GFV",
         FakeService::Body(MasterList(GuitarEdition(), {"A", "B"}) + std::string(kLocalFileLimit, '\n')),
         "GuitarFreaksV3.txt"},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        service.SetReply("body", c.reply);
        CheckList(ListLine(c.kind, "001", Url("body")));
        EXPECT_EQ(boxes.ShownUtf8().back(), kOkReplyError) << c.kind;
        EXPECT_EQ(Check(c.kind), "(none)") << c.kind;
        EXPECT_EQ(Info(), "エラー");
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->DataReloaded());
    }
    EXPECT_EQ(ReadFileBytes(dir.File("gfdmgd1.dat")), "old database");
    EXPECT_EQ(ReadFileBytes(dir.File("GuitarFreaksV3.txt")), ownList);
    EXPECT_FALSE(Exists("DrumManiaV3.txt"));
    EXPECT_EQ(MusicNames, std::vector<SjisString>{"Song"});
}

TEST_F(PropertyFormTest, AnIncompleteStartUpLoadIsNotSavedBeforeTheReload) {
    // The table holds songs, but the last load did not complete.
    WriteFileBytes(dir.File("GuitarFreaksV3.comment"), "Song\tfrom file\t\t0\r\n");
    MusicTable[0].Name = "Song";
    MusicTable[0].Comment = "partial table";
    MusicCount = 1;
    MusicNames = {"Song"};
    service.SetReply("gfv.txt", FakeService::Body(MasterList(GuitarEdition(), {"Song"})));
    CheckList(ListLine("GFV", "001", Url("gfv.txt")));
    EXPECT_EQ(ReadFileBytes(dir.File("GuitarFreaksV3.comment")), "Song\tfrom file\t\t0\r\n");
    EXPECT_EQ(MusicTable[0].Comment, "from file");
    EXPECT_TRUE(DataLoadComplete());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(PropertyFormTest, AReloadErrorStillClosesWithOkSoTheListsAreRebuilt) {
    LoadOwnData({"Song"});
    // The file changed on disk since the start: its code no longer reads.
    std::string changed = MasterList(GuitarEdition(), {"Song"});
    changed.replace(changed.size() - 3, 1, "x"); // the code before CR LF
    WriteFileBytes(dir.File("GuitarFreaksV3.txt"), changed);
    service.SetReply("gd1.dat", FakeService::Body("data"));
    CheckList(ListLine("GD1", "001", Url("gd1.dat")));
    EXPECT_EQ(boxes.Shown().back().Kind, BoxKind::Error);
    EXPECT_EQ(boxes.ShownUtf8().back(), "'x' は整数ではありません.");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(form->DataReloaded());
    EXPECT_FALSE(DataLoadComplete());
}

} // namespace
