#include "net/AccForm.h"
#include "net/AccessCode.h"
#include "net/ComputerName.h"
#include "net/SendForm.h"
#include "net/WebProtocol.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/QtText.h"
#include "tests/gui/BlockingTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <new>

namespace {

using nettest::NetTest;

class AccFormTest : public NetTest {
  protected:
    void SetUp() override {
        NetTest::SetUp();
        WriteLink("", "", "", service.BaseUrl());
    }

    QLineEdit* Edit(QDialog& form, const char* name) { return form.findChild<QLineEdit*>(UiText(name)); }
    std::string Text(QDialog& form, const char* name) { return Edit(form, name)->text().toStdString(); }
    QPushButton* Button(QDialog& form, const char* name) {
        return form.findChild<QPushButton*>(UiText(name));
    }
    // Enabled states of btnSubmit and btnClose.
    std::string Buttons(QDialog& form) {
        return std::string(Button(form, "btnSubmit")->isEnabled() ? "1" : "0") +
               (Button(form, "btnClose")->isEnabled() ? "1" : "0");
    }
    void Type(QDialog& form, const char* account, const char* password) {
        Edit(form, "edAccount")->clear();
        Edit(form, "edPassword")->clear();
        QTest::keyClicks(Edit(form, "edAccount"), UiText(account));
        QTest::keyClicks(Edit(form, "edPassword"), UiText(password));
    }
};

} // namespace

TEST_F(AccFormTest, CreationCopiesTheSendDialogsAccountFields) {
    WriteLink("user1", "pass1", "0123abcd", service.BaseUrl());
    SendForm send;
    AccForm form(send);
    EXPECT_EQ(Text(form, "edAccount") + "|" + Text(form, "edPassword") + "|" + Text(form, "edAccess"),
              "user1|pass1|0123abcd");
    EXPECT_TRUE(Edit(form, "edAccess")->isReadOnly());
    EXPECT_EQ(Buttons(form), "01");
    for (const char* name : {"edAccount", "edPassword"}) {
        EXPECT_FALSE(Edit(form, name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;
        EXPECT_EQ(Edit(form, name)->maxLength(), 16) << name;
        EXPECT_EQ(Edit(form, name)->echoMode(), QLineEdit::Normal) << name;
    }

    // An account without an access code leaves the application open.
    WriteLink("user1", "pass1", "", service.BaseUrl());
    SendForm sendWithoutCode;
    AccForm other(sendWithoutCode);
    EXPECT_EQ(Buttons(other), "11");
    EXPECT_FALSE(other.findChild<QCheckBox*>(UiText("chAccess"))->isChecked());
}

TEST_F(AccFormTest, BlankAccountOrPasswordIsRefusedWithoutARequest) {
    SendForm send;
    AccForm form(send);
    form.show();
    for (auto [account, password] : {std::pair{"   ", "pass1"}, std::pair{"user1", ""}}) {
        Type(form, account, password);
        QTest::mouseClick(Button(form, "btnSubmit"), Qt::LeftButton);
    }
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>(2, "アカウント名とパスワードを入力してください"));
    EXPECT_TRUE(service.Requests().empty());
    EXPECT_EQ(Text(form, "edAccess"), "");
    EXPECT_EQ(Buttons(form), "11");
}

TEST_F(AccFormTest, SuccessfulApplicationHandsBackTheFieldsAndCloses) {
    SendForm send;
    AccForm form(send);
    form.show();
    Type(form, "user1", "pass1");
    QTest::mouseClick(Button(form, "btnSubmit"), Qt::LeftButton);

    SjisString code = BuildAccessCode(Now(), "user1", "pass1", ComputerName());
    ASSERT_EQ(service.Requests().size(), 1u);
    EXPECT_EQ(service.Requests()[0].requestLine,
              "GET /svc/cl_adduser.asp?id=user1&pass=pass1&access=" + code + " HTTP/1.1");
    EXPECT_EQ(Text(form, "edAccess"), code);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"アカウントを取得しました"});
    EXPECT_EQ(send.Account + "|" + send.Password + "|" + send.AccessCode, "user1|pass1|" + code);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AccFormTest, AccessCodeOnlyUsesItsOwnRequest) {
    SendForm send;
    AccForm form(send);
    form.findChild<QCheckBox*>(UiText("chAccess"))->setChecked(true);
    Type(form, "user1", "pass1");
    form.btnSubmitClick();
    EXPECT_EQ(service.Requests().at(0).document, "cl_addac.asp");
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(AccFormTest, AccessCodeIsFreshLowerCaseHexForEveryApplication) {
    SendForm send;
    AccForm form(send);
    service.SetReply("cl_adduser.asp", FakeService::Body("VOSTRANE.NET:1"));
    Type(form, "user1", "pass1");
    form.btnSubmitClick();
    std::string first = Text(form, "edAccess");
    SetFixedNow(LocalTime{2024, 3, 5, 14, 7, 10});
    form.btnSubmitClick();
    std::string second = Text(form, "edAccess");
    for (const std::string& code : {first, second}) {
        EXPECT_EQ(code.size(), 32u);
        EXPECT_EQ(code.find_first_not_of("0123456789abcdef"), std::string::npos) << code;
    }
    EXPECT_NE(first, second);
}

// While the request blocks, the dialog is painted with both buttons disabled
// under the wait cursor; a click queued meanwhile does not apply again.
TEST_F(AccFormTest, RepliesDecideMessageAndRetry) {
    struct Case {
        FakeService::Reply reply;
        const char* message;
        const char* buttons; // btnSubmit, btnClose afterwards
    };
    const Case cases[] = {
        {FakeService::Body("VOSTRANE.NET:1"),
         "アカウント名は既に登録されています。別のアカウント名を入力してください。", "11"},
        {FakeService::Body("VOSTRANE.NET:2"), "アカウント名かパスワードが不正です。英字と数字のみ有効です。",
         "11"},
        {FakeService::Body("VOSTRANE.NET:9"), "アカウント名かパスワードが未入力です。", "11"},
        {FakeService::Body("VOSTRANE.NET:0\r\n"), "エラーが発生しました。", "01"},
        {FakeService::Body("<html>busy</html>"), "エラーが発生しました。", "01"},
        {FakeService::Status("HTTP/1.1 404 Not Found"),
         "エラーが発生しました。CODE:404 MESSAGE:HTTP/1.1 404 Not Found", "01"},
        // No reply: libcurl's reason in place of the status line.
        {FakeService::Closing(), "エラーが発生しました。CODE:-1 MESSAGE:Empty reply from server", "01"},
    };
    for (const Case& c : cases) {
        SendForm send;
        AccForm form(send);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        boxes.Clear();
        service.ClearRequests();
        service.QueueReply(c.reply);
        Type(form, "user1", "pass1");
        std::string during;
        BlockingPaintWatch watch([&](QWidget& window) {
            during = Buttons(form) + (WaitCursorShown() ? " wait" : "") +
                     (ScreenShowsWindowAsItStands(window) ? " painted" : "");
            QueueClick(*Button(form, "btnSubmit"));
        });
        form.btnSubmitClick();
        QCoreApplication::processEvents();
        EXPECT_EQ(during, "00 wait painted") << c.message;
        EXPECT_EQ(service.Requests().size(), 1u) << c.message;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.message;
        EXPECT_FALSE(boxes.Shown().at(0).UnderWaitCursor) << c.message;
        EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{c.message}) << c.message;
        EXPECT_EQ(Buttons(form), c.buttons) << c.message;
        EXPECT_EQ(send.Account, "") << c.message;
        EXPECT_EQ(send.AccessCode, "") << c.message;
        EXPECT_EQ(Edit(form, "edAccess")->text().size(), 32) << c.message; // shown whatever the outcome
        EXPECT_TRUE(form.isVisible()) << c.message;
        // Closing after a refusal hands nothing back.
        QTest::mouseClick(Button(form, "btnClose"), Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(send.Account, "");
    }

    // An error leaving the request leaves the buttons as a failed request does.
    SendForm send;
    AccForm form(send);
    form.show();
    boxes.Clear();
    Type(form, "user1", "pass1");
    BlockingPaintWatch failing([](QWidget&) { throw std::bad_alloc(); });
    QTest::mouseClick(Button(form, "btnSubmit"), Qt::LeftButton);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"std::bad_alloc."});
    EXPECT_EQ(Buttons(form), "01");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AccFormTest, SurroundingBlanksPassTheGuardAndAreSentEncoded) {
    SendForm send;
    AccForm form(send);
    Type(form, " user1 ", "pass1");
    form.btnSubmitClick();
    SjisString code = BuildAccessCode(Now(), " user1 ", "pass1", ComputerName());
    EXPECT_EQ(service.Requests().at(0).query, "?id=%20user1%20&pass=pass1&access=" + code);
    EXPECT_EQ(send.Account, " user1 ");
}
