#include "net/AccForm.h"

#include "data/TextHelpers.h"
#include "net/AccessCode.h"
#include "net/ComputerName.h"
#include "net/SendForm.h"
#include "net/WebProtocol.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/gui/BusyRequest.h"
#include "platform/gui/CaptionRoom.h"
#include "platform/gui/EnterPressesButton.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

SjisString EditBytes(const QLineEdit* edit, const SjisString& loaded, const QString& shown) {
    return edit->text() == shown ? loaded : QStringToSjis(edit->text());
}

} // namespace

AccForm::AccForm(SendForm& sendForm, QWidget* parent) : QDialog(parent), sendForm_(&sendForm) {
    setObjectName("AccForm");
    BuildControls();
    sendForm.SetAccForm(this);
    Guarded([this] { FormCreate(); });
}

AccForm::~AccForm() {
    if (sendForm_) sendForm_->SetAccForm(nullptr);
}

void AccForm::BuildControls() {
    setWindowTitle(UiText("アカウント申請"));
    auto edit = [this](const char* name, const char* hint) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setToolTip(UiText(hint));
        return e;
    };
    edAccount = edit("edAccount", "アカウント名を入力します（数字と英字のみ");
    edPassword = edit("edPassword", "パスワードを入力します（数字と英字のみ）");
    edAccess = edit("edAccess", "アクセスコードはランダムに生成されます");
    for (QLineEdit* e : {edAccount, edPassword}) {
        e->setMaxLength(16);
        // Letters and digits only: no input method composing other characters.
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    edAccess->setReadOnly(true);
    QPalette grey = edAccess->palette();
    grey.setColor(QPalette::Base, QColor(221, 221, 221));
    edAccess->setPalette(grey);

    chAccess = new QCheckBox(UiText("アクセスコードのみ申請する"), this);
    chAccess->setObjectName("chAccess");
    chAccess->setToolTip(UiText("サーバーサービスでアカウントは取得している場合はチェックしてください"));
    auto* note = new QLabel(UiText("アカウント名とパスワードは数字と英字のみ有効です"), this);
    QPalette red = note->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    note->setPalette(red);

    btnSubmit = new QPushButton(UiText("アカウント申請"), this);
    btnSubmit->setObjectName("btnSubmit");
    btnClose = new QPushButton(UiText("閉じる"), this);
    btnClose->setObjectName("btnClose");
    for (QPushButton* b : {btnSubmit, btnClose})
        b->setAutoDefault(false);
    KeepCaptionRoom(*btnSubmit);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(UiText("アカウント名"), this), 0, 0);
    grid->addWidget(edAccount, 0, 1);
    grid->addWidget(new QLabel(UiText("パスワード"), this), 1, 0);
    grid->addWidget(edPassword, 1, 1);
    grid->addWidget(new QLabel(UiText("アクセスコード"), this), 2, 0);
    grid->addWidget(edAccess, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSubmit);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(chAccess);
    layout->addWidget(note);
    layout->addLayout(buttons);
    setFixedSize(400, 220);

    connect(btnSubmit, &QPushButton::clicked, this, [this] { Guarded([this] { btnSubmitClick(); }); });
    connect(btnClose, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });
    EnterPressesFocusedButton(*this);
}

void AccForm::FormCreate() {
    loadedAccount_ = sendForm_->Account;
    loadedPassword_ = sendForm_->Password;
    shownAccount_ = SjisToQString(loadedAccount_);
    shownPassword_ = SjisToQString(loadedPassword_);
    edAccount->setText(shownAccount_);
    edPassword->setText(shownPassword_);
    edAccess->setText(SjisToQString(sendForm_->AccessCode));
    btnSubmit->setEnabled(true);
    if (!edAccount->text().isEmpty() && !edAccess->text().isEmpty())
        btnSubmit->setEnabled(false);
    else
        chAccess->setChecked(false);
}

SjisString AccForm::AccountText() const {
    return EditBytes(edAccount, loadedAccount_, shownAccount_);
}
SjisString AccForm::PasswordText() const {
    return EditBytes(edPassword, loadedPassword_, shownPassword_);
}

void AccForm::btnSubmitClick() {
    static const SjisString kEmpty = Utf8ToSjis("アカウント名とパスワードを入力してください");

    SjisString account = AccountText();
    SjisString password = PasswordText();
    if (TrimText(account).empty() || TrimText(password).empty()) {
        ShowNotice(kEmpty);
        return;
    }
    SjisString accessCode = BuildAccessCode(Now(), account, password, ComputerName());
    edAccess->setText(SjisToQString(accessCode));
    // Closed once the busy state has ended: input queued during the request
    // still finds the dialog open and its buttons disabled.
    if (SendApplication(account, password, accessCode)) accept();
}

bool AccForm::SendApplication(const SjisString& account, const SjisString& password,
                              const SjisString& accessCode) {
    static const SjisString kAcquired = Utf8ToSjis("アカウントを取得しました");
    static const SjisString kRegistered =
        Utf8ToSjis("アカウント名は既に登録されています。別のアカウント名を入力してください。");
    static const SjisString kInvalid =
        Utf8ToSjis("アカウント名かパスワードが不正です。英字と数字のみ有効です。");
    static const SjisString kMissing = Utf8ToSjis("アカウント名かパスワードが未入力です。");
    static const SjisString kError = Utf8ToSjis("エラーが発生しました。");

    SjisString url = ApplicationUrl(ServerAddress, chAccess->isChecked(), account, password, accessCode);
    BusyRequest busy(*this, {btnSubmit, btnClose});
    // After a failure the application is not sent again from this dialog;
    // only a refusal the player can mend by typing allows another.
    busy.SetFailureState({btnSubmit}, false);

    std::string body;
    busy.PaintBeforeRequest();
    if (!IdHTTP1.Get(url, body)) {
        ShowNotice(RequestErrorMessage(IdHTTP1));
        return false;
    }
    switch (EvaluateReply(body)) {
    case ReplyToken::Success:
        if (sendForm_) {
            sendForm_->Account = account;
            sendForm_->Password = password;
            sendForm_->AccessCode = accessCode;
        }
        ShowNotice(kAcquired);
        return true;
    case ReplyToken::AlreadyRegistered:
        ShowNotice(kRegistered);
        busy.SetEndState({btnSubmit}, true);
        return false;
    case ReplyToken::InvalidCharacters:
        ShowNotice(kInvalid);
        busy.SetEndState({btnSubmit}, true);
        return false;
    case ReplyToken::Missing:
        ShowNotice(kMissing);
        busy.SetEndState({btnSubmit}, true);
        return false;
    case ReplyToken::Other:
        ShowNotice(kError);
        return false;
    }
    return false;
}
