#include "net/SendForm.h"
#include "net/AccForm.h"
#include "net/AccessCode.h"
#include "net/ComputerName.h"
#include "net/WebProtocol.h"
#include "platform/Cp932.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/gui/BlockingTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <new>
#include <sys/stat.h>

namespace {

using nettest::NetTest;

class SendFormTest : public NetTest {
  protected:
    void UseAccount() { WriteLink("user1", "pass1", "0123abcd", service.BaseUrl()); }

    QPushButton* Button(SendForm& form, const char* name) {
        return form.findChild<QPushButton*>(UiText(name));
    }
    std::string EditText(SendForm& form, const char* name) {
        return form.findChild<QLineEdit*>(UiText(name))->text().toStdString();
    }
    // Enabled states of btnAdd, btnDel, btnSend, btnRecv, btnCancel.
    std::string Buttons(SendForm& form) {
        std::string states;
        for (const char* name : {"btnAdd", "btnDel", "btnSend", "btnRecv", "btnCancel"})
            states += Button(form, name)->isEnabled() ? '1' : '0';
        return states;
    }
    // Account, password and access code held, the account and access code
    // shown, then the buttons' states.
    std::string State(SendForm& form) {
        return form.Account + "|" + form.Password + "|" + form.AccessCode + "|" +
               EditText(form, "edAccount") + "|" + EditText(form, "edAccess") + "|" + Buttons(form);
    }
    void SelectMode(SendForm& form, int index) {
        form.findChild<QComboBox*>(UiText("cmbMode"))->setCurrentIndex(index);
    }

    static TMusicList& Music(int index) { return MusicTable[static_cast<std::size_t>(index)]; }
    int ChangedSongWithRate(int32_t code, int chart, int32_t rate) {
        int index = AddSong(code, "song" + std::to_string(code));
        GiveRate(index, chart, rate, 1000);
        Music(index).Changed = true;
        return index;
    }
    std::string LogFile() const { return ReadFileBytes(dir.File("network_log.txt")); }
    bool LogFileExists() const { return std::filesystem::exists(dir.File("network_log.txt")); }
    std::string Ini() const { return ReadFileBytes(dir.File("vostrane.ini")); }
};

const std::string kErrorTitle = "!!!!EERROR!!!!";
const std::string kReceived = "0007020000000000000000000000000000000000000000000000009512\r\n";

} // namespace

TEST_F(SendFormTest, CreationShowsTheAccountAndEnablesWhatItAllows) {
    UseAccount();
    {
        SendForm form;
        EXPECT_EQ(ServerAddress, service.BaseUrl());
        EXPECT_EQ(State(form), "user1|pass1|0123abcd|user1|0123abcd|01111");
        EXPECT_EQ(EditText(form, "edUrl"), service.BaseUrl() + "GFV3.asp?id=user1");
        EXPECT_TRUE(form.findChild<QLineEdit*>(UiText("edUrl"))->isReadOnly());
        EXPECT_EQ(form.findChild<QComboBox*>(UiText("cmbMode"))->currentText().toStdString(),
                  "更新したデータのみ");
        EXPECT_EQ(form.Log().Lines(), (std::vector<SjisString>{"VOSTRANE.NET", "user1", "----"}));
    }
    // Without an account only the application is offered.
    WriteLink("", "", "0123abcd", service.BaseUrl());
    SendForm form;
    EXPECT_EQ(State(form), "||0123abcd|||10001");
    EXPECT_EQ(EditText(form, "edUrl"), "");
    EXPECT_EQ(form.Log().Lines(), (std::vector<SjisString>{"VOSTRANE.NET", "", "----"}));
}

TEST_F(SendFormTest, BlankServerAddressStopsEveryButton) {
    WriteLink("user1", "pass1", "0123abcd", "   ");
    ChangedSongWithRate(7, 0, 9512);
    SendForm form;
    boxes.Answer(BoxAnswer::Yes);
    form.btnSendClick();
    form.btnRecvClick();
    form.btnDelClick();
    form.btnAddClick();
    EXPECT_EQ(boxes.ShownUtf8(),
              std::vector<std::string>(4, "VOSTRANE.NETサーバーが指定されていないため実行できません。"));
    EXPECT_TRUE(service.Requests().empty());
    EXPECT_EQ(Buttons(form), "01111");
    EXPECT_FALSE(LogFileExists());
    EXPECT_EQ(form.Log().Lines().size(), 3u);
    EXPECT_TRUE(Music(0).Changed);
}

TEST_F(SendFormTest, EnterPressesTheFocusedButtonOfTheSendAndAccountDialogs) {
    UseAccount();
    SendForm form;
    form.show();
    QTest::keyClick(form.findChild<QLineEdit*>(UiText("edAccount")), Qt::Key_Return); // a field: nothing
    EXPECT_TRUE(boxes.Shown().empty());
    Button(form, "btnSend")->setFocus();
    QTest::keyClick(Button(form, "btnSend"), Qt::Key_Return);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"送信対象データがありませんでした。"});
    EXPECT_TRUE(form.isVisible());
    Button(form, "btnCancel")->setFocus();
    QTest::keyClick(Button(form, "btnCancel"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(form.isVisible());

    AccForm account(form);
    account.show();
    QTest::keyClick(account.findChild<QLineEdit*>(UiText("edAccount")), Qt::Key_Return);
    EXPECT_TRUE(account.isVisible());
    account.findChild<QPushButton*>(UiText("btnClose"))->setFocus();
    QTest::keyClick(account.findChild<QPushButton*>(UiText("btnClose")), Qt::Key_Return);
    EXPECT_FALSE(account.isVisible());
    EXPECT_EQ(account.result(), QDialog::Rejected);
    EXPECT_TRUE(service.Requests().empty());
}

// The account and transfer buttons of both dialogs keep 8 pixels between
// their caption and each side, and stand whole in their dialog.
TEST_F(SendFormTest, AccountAndTransferButtonsKeepRoomAroundTheirCaptions) {
    UseAccount();
    SendForm form;
    AccForm account(form);
    form.show();
    account.show();
    const std::pair<QDialog*, const char*> buttons[] = {{&form, "btnAdd"},
                                                        {&form, "btnDel"},
                                                        {&form, "btnSend"},
                                                        {&form, "btnRecv"},
                                                        {&account, "btnSubmit"}};
    for (auto [dialog, name] : buttons) {
        const QPushButton* button = dialog->findChild<QPushButton*>(UiText(name));
        const int caption = button->fontMetrics().horizontalAdvance(button->text());
        EXPECT_GE(button->width() - caption, 2 * 8) << name;
        const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
        EXPECT_TRUE(dialog->rect().contains(inDialog)) << name;
    }
}

TEST_F(SendFormTest, SendChangedOnlySendsOneRequestPerSongThenRecomputes) {
    UseAccount();
    int first = ChangedSongWithRate(7, 0, 9512);
    int noChart = AddSong(8, "no chart");
    Music(noChart).Changed = true;
    GiveRate(AddSong(9, "unchanged"), 1, 5000, 500);
    int second = ChangedSongWithRate(1203, 5, 9000);
    Music(second).Comment = "a b+c";
    service.SetReply("cl_send.asp", FakeService::Body("SEND-REPLY"));

    SendForm form;
    form.btnSendClick();

    auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].requestLine, "GET /svc/cl_send.asp?id=user1&access=0123abcd&game=GFV3&cnt=1"
                                       "&spdata=0007019512&comment= HTTP/1.1");
    EXPECT_EQ(requests[1].requestLine, "GET /svc/cl_send.asp?id=user1&access=0123abcd&game=GFV3&cnt=1"
                                       "&spdata=1203519000&comment=a%20b%2Bc HTTP/1.1");
    EXPECT_EQ(requests[2].requestLine,
              "GET /svc/edit_recomp.asp?userid=user1&acid=import&edit=GFV3 HTTP/1.1");
    EXPECT_FALSE(Music(first).Changed);
    EXPECT_FALSE(Music(second).Changed);
    EXPECT_TRUE(Music(noChart).Changed);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"送信しました。"});
    EXPECT_EQ(form.findChild<QLabel*>(UiText("lbStat"))->text().toStdString(), "  ");
    EXPECT_EQ(Buttons(form), "01111");
    EXPECT_EQ(form.SendIndex, second);

    std::string log = LogFile();
    EXPECT_TRUE(log.starts_with("VOSTRANE.NET\r\nuser1\r\n----\r\n"));
    for (const std::string& line : std::vector<std::string>{
             "SEND-REPLY", "Connected\r\n2024/03/05 14:07:09", "Disconnected\r\n2024/03/05 14:07:09",
             Sj("Status:通知メッセージを生成中 HTTP/1.1 200 OK"), "WorkBegin", "Work:Read 10 bytes",
             "WorkEnd"})
        EXPECT_NE(log.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    EXPECT_EQ(log.find(kErrorTitle), std::string::npos);

    // The log keeps everything since start-up.
    Music(first).Changed = true;
    form.btnSendClick();
    EXPECT_TRUE(LogFile().starts_with(log));
    EXPECT_GT(LogFile().size(), log.size());
    EXPECT_TRUE(LogFile().ends_with("\r\n"));
}

TEST_F(SendFormTest, ProgressShowsTheLastSentIndexOverTheSongCount) {
    UseAccount();
    ChangedSongWithRate(7, 0, 9512);
    AddSong(8, "plain");
    SendForm form;
    // Read the labels while the next request is under way: after the first one.
    std::string progress;
    QTimer::singleShot(
        0, &form, [&] { progress = form.findChild<QLabel*>(UiText("lbStatNum"))->text().toStdString(); });
    form.btnSendClick();
    EXPECT_EQ(progress, "0/2");
}

TEST_F(SendFormTest, SendAllSendsEverySongWithPoints) {
    UseAccount();
    GiveRate(AddSong(7, "a"), 0, 9512, 1500);
    GiveRate(AddSong(8, "none"), 0, 0, 0);
    int b = ChangedSongWithRate(9, 2, 8000);
    SendForm form;
    SelectMode(form, 1);
    form.btnSendClick();
    auto sends = service.RequestsFor("cl_send.asp");
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_NE(sends[0].query.find("&spdata=0007019512&"), std::string::npos);
    EXPECT_NE(sends[1].query.find("&spdata=0009218000&"), std::string::npos);
    EXPECT_FALSE(Music(b).Changed);
    EXPECT_EQ(service.RequestsFor("edit_recomp.asp").size(), 1u);
}

TEST_F(SendFormTest, NothingToSendMakesNoRequestButWritesTheLog) {
    UseAccount();
    AddSong(7, "unchanged");
    SendForm form;
    form.btnSendClick();
    EXPECT_TRUE(service.Requests().empty());
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"送信対象データがありませんでした。"});
    EXPECT_EQ(LogFile(), "VOSTRANE.NET\r\nuser1\r\n----\r\n");
    // It holds the account: readable by the player alone.
    struct stat st {};
    ASSERT_EQ(stat(dir.File("network_log.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A failed recompute is only logged.
TEST_F(SendFormTest, FailedSendsAreReportedKeptForTheNextSendAndStillRecomputed) {
    UseAccount();
    int a = ChangedSongWithRate(7, 0, 9512);
    int b = ChangedSongWithRate(8, 0, 9000);
    service.SetReply("cl_send.asp", FakeService::Status("HTTP/1.1 500 Internal Server Error", "oops"));
    service.SetReply("edit_recomp.asp", FakeService::Closing());
    SendForm form;
    form.btnSendClick();

    const std::string error = "エラーが発生しました。CODE:500 MESSAGE:HTTP/1.1 500 Internal Server Error";
    EXPECT_EQ(boxes.ShownUtf8(), (std::vector<std::string>{error, error, "送信しました。"}));
    EXPECT_EQ(service.RequestsFor("edit_recomp.asp").size(), 1u);
    EXPECT_TRUE(Music(a).Changed);
    EXPECT_TRUE(Music(b).Changed);
    std::string block =
        "!!!!EERROR!!!!\r\n Host:127.0.0.1\r\n Port:" + std::to_string(service.Port()) +
        "\r\n URL:/svc/\r\n     ?id=user1&access=0123abcd&game=GFV3&cnt=1&spdata=0007019512&comment="
        "\r\n ResponseCode:500\r\n ResponseText:HTTP/1.1 500 Internal Server Error\r\n Version:" +
        HttpClient::LibraryVersion() + "\r\n";
    EXPECT_NE(LogFile().find(block), std::string::npos);
    EXPECT_NE(LogFile().find("\r\n     ?userid=user1&acid=import&edit=GFV3\r\n ResponseCode:500\r\n"),
              std::string::npos);

    // The next "更新したデータのみ" send picks them up again.
    service.SetReply("cl_send.asp", FakeService::Body("VOSTRANE.NET:0"));
    service.ClearRequests();
    boxes.Clear();
    form.btnSendClick();
    EXPECT_EQ(service.RequestsFor("cl_send.asp").size(), 2u);
    EXPECT_FALSE(Music(a).Changed);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"送信しました。"});
}

// No reply at all: each box says why, the error block stays as it was.
TEST_F(SendFormTest, RequestsWithoutAReplySayWhyInEveryBox) {
    WriteLink("user1", "pass1", "0123abcd",
              "http://127.0.0.1:" + std::to_string(FakeService::UnusedPort()) + "/svc/");
    ChangedSongWithRate(7, 0, 9512);
    ChangedSongWithRate(8, 0, 9000);
    SendForm form;
    const std::string error = "エラーが発生しました。CODE:-1 MESSAGE:サーバーに接続できません";
    form.btnSendClick();
    EXPECT_EQ(boxes.ShownUtf8(), (std::vector<std::string>{error, error, "送信しました。"}));
    EXPECT_NE(LogFile().find("&comment=\r\n ResponseCode:-1\r\n ResponseText:\r\n Version:"),
              std::string::npos);
    boxes.Clear();
    form.btnRecvClick();
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{error});
}

TEST_F(SendFormTest, ModeIsReadAnewForEverySong) {
    UseAccount();
    ChangedSongWithRate(7, 0, 9512);
    GiveRate(AddSong(8, "unchanged"), 0, 9000, 900);
    SendForm form;
    // Runs while events are let through after the first request.
    QTimer::singleShot(0, &form, [&] { SelectMode(form, 1); });
    form.btnSendClick();
    EXPECT_EQ(service.RequestsFor("cl_send.asp").size(), 2u);
}

// Nothing paints the dialog while a request blocks, so each one starts with
// the dialog painted busy, under the wait cursor; a click queued meanwhile is
// not carried out by the buttons enabled afterwards.
TEST_F(SendFormTest, EveryRequestStartsPaintedBusyAndClicksQueuedMeanwhileAreDropped) {
    UseAccount();
    ChangedSongWithRate(7, 0, 9512);
    ChangedSongWithRate(8, 0, 9000);
    service.SetReply("cl_deluser.asp", FakeService::Body("VOSTRANE.NET:1")); // refused: the dialog stays
    SendForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QPushButton* pressed = nullptr;
    std::vector<std::string> seen;
    BlockingPaintWatch watch([&](QWidget& window) {
        seen.push_back(Buttons(form) + "|" +
                       form.findChild<QLabel*>(UiText("lbStatNum"))->text().toStdString() + "|" +
                       form.findChild<QComboBox*>(UiText("cmbMode"))->currentText().toStdString() +
                       (WaitCursorShown() ? "|wait" : "|no wait") +
                       (ScreenShowsWindowAsItStands(window) ? "" : "|not painted"));
        QueueClick(*pressed);
    });
    // Between the requests of a send the player picks the other mode.
    QTimer::singleShot(0, &form, [&] { SelectMode(form, 1); });
    boxes.Answer(BoxAnswer::Yes);
    for (const char* button : {"btnSend", "btnRecv", "btnDel"}) {
        pressed = Button(form, button);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCoreApplication::processEvents(); // whatever is still queued
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << button;
    }

    EXPECT_EQ(seen, (std::vector<std::string>{"00000||更新したデータのみ|wait", "00000|0/2|全て転送|wait",
                                              "00000|1/2|全て転送|wait", "00000|  |全て転送|wait",
                                              "00000|  |全て転送|wait"}));
    EXPECT_EQ(service.Requests().size(), 5u); // two songs, the recompute, the receive, the deletion
    EXPECT_EQ(
        boxes.ShownUtf8(),
        (std::vector<std::string>{
            "送信しました。", "0件 更新しました。",
            "アカウントを削除します。よろしいですか？\r\n！！サーバー上のデータがすべて削除されます！！",
            "削除できませんでした！！"}));
    for (const ShownBox& box : boxes.Shown())
        EXPECT_FALSE(box.UnderWaitCursor) << SjisToUtf8(box.Text);
    EXPECT_EQ(Buttons(form), "01111");

    // An error leaving a request leaves the buttons as a failed request does.
    BlockingPaintWatch failing([](QWidget&) { throw std::bad_alloc(); });
    boxes.Clear();
    boxes.Answer(BoxAnswer::Yes);
    for (const char* button : {"btnSend", "btnRecv", "btnDel"}) {
        QTest::mouseClick(Button(form, button), Qt::LeftButton);
        EXPECT_EQ(boxes.ShownUtf8().back(), "std::bad_alloc.") << button;
        EXPECT_EQ(Buttons(form), "01111") << button;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << button;
    }
    EXPECT_EQ(service.Requests().size(), 5u);
}

TEST_F(SendFormTest, CloseAskedForDuringASendWaitsForTheSendToEnd) {
    UseAccount();
    ChangedSongWithRate(7, 0, 9512);
    ChangedSongWithRate(8, 0, 9000);
    for (int way = 0; way < 2; ++way) {
        SendForm form;
        form.show();
        // Esc, or the window's close box, while events run after the first request.
        QTimer::singleShot(0, &form, [&] {
            if (way == 0)
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                form.close();
        });
        std::size_t requestsWhenClosed = 0;
        QObject::connect(&form, &QDialog::finished, [&] { requestsWhenClosed = service.Requests().size(); });
        service.ClearRequests();
        form.btnSendClick();
        EXPECT_EQ(requestsWhenClosed, 3u) << way; // both songs and the recompute went out first
        EXPECT_FALSE(form.isVisible()) << way;
        EXPECT_EQ(form.result(), QDialog::Rejected) << way;
        Music(0).Changed = Music(1).Changed = true;
    }
}

TEST_F(SendFormTest, ReceiveAppliesTheLinesOfTheSelectedMode) {
    UseAccount();
    int song = AddSong(7, "seven");
    AddSong(8, "eight");
    service.SetReply("cl_recv.asp",
                     FakeService::Body(kReceived +
                                       "0008120000000000000000000000000000000000000000000000008000\r\n"
                                       "5555120000000000000000000000000000000000000000000000008000\r\n"));
    SendForm form;
    form.btnRecvClick();
    EXPECT_EQ(service.Requests().at(0).requestLine,
              "GET /svc/cl_recv.asp?id=user1&access=0123abcd&game=GFV3&mode=upd HTTP/1.1");
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"2件 更新しました。"});
    EXPECT_EQ(Music(song).SkillList.Chart[0].Rate, 9512);
    EXPECT_EQ(Music(song).SkillList.Chart[0].InputMode, InputRate);
    EXPECT_FALSE(Music(song).Changed);
    EXPECT_EQ(Buttons(form), "01111");
    EXPECT_EQ(LogFile().find("0007020000"), std::string::npos); // the reply is not logged

    SelectMode(form, 1);
    form.btnRecvClick();
    EXPECT_EQ(service.Requests().at(1).query, "?id=user1&access=0123abcd&game=GFV3&mode=all");
}

// A failed request and an unreadable list alike: the message, the error block.
TEST_F(SendFormTest, FailedReceiveIsLoggedAndReported) {
    UseAccount();
    int song = AddSong(7, "seven");
    const std::pair<FakeService::Reply, const char*> cases[] = {
        {FakeService::Status("HTTP/1.1 404 Not Found"), "CODE:404 MESSAGE:HTTP/1.1 404 Not Found"},
        {FakeService::Body(kReceived + "VOSTRANE.NET:9"), "CODE:200 MESSAGE:HTTP/1.1 200 OK"},
    };
    for (const auto& [reply, status] : cases) {
        service.SetReply("cl_recv.asp", reply);
        boxes.Clear();
        SendForm form;
        form.btnRecvClick();
        EXPECT_EQ(boxes.ShownUtf8(),
                  std::vector<std::string>{std::string("エラーが発生しました。") + status});
        EXPECT_NE(LogFile().find("!!!!EERROR!!!!\r\n"), std::string::npos);
        EXPECT_EQ(Buttons(form), "01111");
    }
    EXPECT_EQ(Music(song).SkillList.Chart[0].Rate, 9512); // lines before the unreadable one stay applied
    EXPECT_NE(LogFile().find(" ResponseCode:200\r\n"), std::string::npos);
}

TEST_F(SendFormTest, SuccessfulDeletionEmptiesTheAccountAndClosesTheDialog) {
    UseAccount();
    SendForm form;
    form.show();
    boxes.Answer(BoxAnswer::Yes);
    QTest::mouseClick(Button(form, "btnDel"), Qt::LeftButton);

    EXPECT_EQ(service.Requests().at(0).requestLine,
              "GET /svc/cl_deluser.asp?id=user1&pass=pass1&access=0123abcd HTTP/1.1");
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].Kind, BoxKind::YesNoCancel);
    EXPECT_EQ(
        boxes.ShownUtf8(),
        (std::vector<std::string>{
            "アカウントを削除します。よろしいですか？\r\n！！サーバー上のデータがすべて削除されます！！",
            "アカウントを削除しました。"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(State(form), "|||||00001");
    EXPECT_EQ(EditText(form, "edUrl"), service.BaseUrl() + "GFV3.asp?id=user1");
    EXPECT_EQ(Ini(), "[link]\r\naccount=\r\npassword=\r\naccess=\r\nserver=" + service.BaseUrl() + "\r\n");
    EXPECT_FALSE(LogFileExists());
}

TEST_F(SendFormTest, DeletionNotConfirmedRefusedOrFailedKeepsTheAccount) {
    UseAccount();
    const std::string ini = Ini();
    SendForm form;
    boxes.Answer(BoxAnswer::No);
    form.btnDelClick();
    boxes.Answer(BoxAnswer::Cancel);
    form.btnDelClick();
    EXPECT_TRUE(service.Requests().empty());

    service.SetReply("cl_deluser.asp", FakeService::Body("VOSTRANE.NET:0\r\n"));
    boxes.Answer(BoxAnswer::Yes);
    form.btnDelClick();
    EXPECT_EQ(boxes.ShownUtf8().back(), "削除できませんでした！！");

    service.SetReply("cl_deluser.asp", FakeService::Closing());
    boxes.Answer(BoxAnswer::Yes);
    form.btnDelClick();
    // No reply: the status of the last one stays.
    EXPECT_EQ(boxes.ShownUtf8().back(), "エラーが発生しました。CODE:200 MESSAGE:HTTP/1.1 200 OK");
    auto& lines = form.Log().Lines();
    auto title = std::find(lines.begin(), lines.end(), kErrorTitle);
    ASSERT_GE(lines.end() - title, 8);
    EXPECT_EQ(std::vector<SjisString>(title + 3, title + 7),
              (std::vector<SjisString>{" URL:/svc/", "     ?id=user1&pass=pass1&access=0123abcd",
                                       " ResponseCode:200", " ResponseText:HTTP/1.1 200 OK"}));
    EXPECT_FALSE(LogFileExists());
    EXPECT_EQ(State(form), "user1|pass1|0123abcd|user1|0123abcd|01111");
    EXPECT_EQ(Ini(), ini);
}

// The account fields travel percent-encoded in every query.
TEST_F(SendFormTest, DrumEditionSendsItsGameCodeAndEncodedAccount) {
    ResetData(DrumEdition());
    WriteLink("a b", "p#1", "0123abcd", service.BaseUrl());
    ChangedSongWithRate(7, 2, 9512);
    SendForm form;
    EXPECT_EQ(EditText(form, "edUrl"), service.BaseUrl() + "DMV3.asp?id=a b");
    form.btnSendClick();
    form.btnRecvClick();
    auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].query, "?id=a%20b&access=0123abcd&game=DMV3&cnt=1&spdata=0007219512&comment=");
    EXPECT_EQ(requests[1].query, "?userid=a%20b&acid=import&edit=DMV3");
    EXPECT_EQ(requests[2].query, "?id=a%20b&access=0123abcd&game=DMV3&mode=upd");
}

TEST_F(SendFormTest, UnwritableLogEndsTheHandlerWithTheButtonsEnabled) {
    UseAccount();
    AddSong(7, "seven");
    std::filesystem::create_directory(dir.File("network_log.txt"));
    SendForm form;
    form.show();
    QTest::mouseClick(Button(form, "btnRecv"), Qt::LeftButton);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.ShownUtf8(),
              (std::vector<std::string>{"0件 更新しました。", "ファイル network_log.txt を作成できません."}));
    EXPECT_EQ(boxes.Shown()[1].Kind, BoxKind::Error);
    EXPECT_EQ(Buttons(form), "01111");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SendFormTest, AccountApplicationHandsTheFieldsToTheSendDialog) {
    WriteLink("", "", "", service.BaseUrl());
    SendForm form;
    AccForm accForm(form);
    {
        const std::string ini = Ini();
        ModalScript cancel([](QDialog&) { return int(QDialog::Rejected); });
        form.btnAddClick();
        EXPECT_EQ(cancel.Runs(), 1);
        EXPECT_EQ(State(form), "|||||10001"); // a cancelled application changes nothing
        EXPECT_EQ(Ini(), ini);
    }

    ModalScript modal([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(UiText("edAccount"))->setText(UiText("newuser"));
        dialog.findChild<QLineEdit*>(UiText("edPassword"))->setText(UiText("secret1"));
        dialog.findChild<QPushButton*>(UiText("btnSubmit"))->click();
        return dialog.result();
    });
    form.btnAddClick();
    EXPECT_EQ(modal.Runs(), 1);
    SjisString code = BuildAccessCode(Now(), "newuser", "secret1", ComputerName());
    EXPECT_EQ(service.Requests().at(0).query, "?id=newuser&pass=secret1&access=" + code);
    EXPECT_EQ(State(form), "newuser|secret1|" + code + "|newuser|" + code + "|01111");
    EXPECT_EQ(EditText(form, "edUrl"), service.BaseUrl() + "GFV3.asp?id=newuser");
    EXPECT_EQ(Ini(), "[link]\r\naccount=newuser\r\npassword=secret1\r\naccess=" + code +
                         "\r\nserver=" + service.BaseUrl() + "\r\n");
}

TEST_F(SendFormTest, EachDialogKeepsItsOwnCookies) {
    UseAccount();
    SendForm form;
    AccForm accForm(form);
    FakeService::Reply withCookie = FakeService::Body("VOSTRANE.NET:1");
    withCookie.headers.push_back("Set-Cookie: who=account-dialog; path=/");
    service.QueueReply(withCookie);
    accForm.findChild<QLineEdit*>(UiText("edAccount"))->setText(UiText("other"));
    accForm.findChild<QLineEdit*>(UiText("edPassword"))->setText(UiText("pw"));
    accForm.btnSubmitClick();
    accForm.btnSubmitClick();
    form.btnRecvClick();
    auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].Header("Cookie"), "who=account-dialog");
    EXPECT_FALSE(requests[2].HasHeader("Cookie"));
}
