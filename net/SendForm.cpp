#include "net/SendForm.h"

#include "data/DataUnit.h"
#include "data/TextHelpers.h"
#include "data/Unitini.h"
#include "net/AccForm.h"
#include "net/WebProtocol.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/gui/BusyRequest.h"
#include "platform/gui/CaptionRoom.h"
#include "platform/gui/EnterPressesButton.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

SjisString ServerAddress;

namespace {

// Record groups per send request.
constexpr int32_t kBatchSize = 1;

// The dialog's fixed texts, each converted once.
const SjisString& Text(const char* utf8) {
    static std::map<std::string, SjisString> converted;
    auto found = converted.find(utf8);
    if (found == converted.end()) found = converted.emplace(utf8, Utf8ToSjis(utf8)).first;
    return found->second;
}

const char* const kNoServer = "VOSTRANE.NETサーバーが指定されていないため実行できません。";
const char* const kAskDelete =
    "アカウントを削除します。よろしいですか？\r\n！！サーバー上のデータがすべて削除されます！！";
const char* const kDeleted = "アカウントを削除しました。";
const char* const kNotDeleted = "削除できませんでした！！";
const char* const kSent = "送信しました。";
const char* const kNothingToSend = "送信対象データがありませんでした。";
const char* const kSending = "サーバーへ送信しています...";

void PaintReadOnly(QLineEdit* edit) {
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(221, 221, 221));
    edit->setPalette(palette);
}

} // namespace

// Marks a handler as running; when the outermost one ends, a close asked for
// meanwhile is carried out.
class SendForm::HandlerScope {
  public:
    explicit HandlerScope(SendForm& form) : form_(form) { ++form_.handlerDepth_; }
    ~HandlerScope() {
        if (--form_.handlerDepth_ == 0 && form_.closePending_) {
            form_.closePending_ = false;
            form_.QDialog::done(form_.pendingResult_);
        }
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

  private:
    SendForm& form_;
};

SendForm::SendForm(QWidget* parent) : QDialog(parent) {
    setObjectName("SendForm");
    BuildControls();
    IdHTTP1.SetNotify([this](const HttpNotice& notice) { IdHTTP1Notice(notice); });
    Guarded([this] { FormCreate(); });
}

SendForm::~SendForm() = default;

void SendForm::BuildControls() {
    setWindowTitle(UiText("データ送受信"));
    auto label = [](const char* utf8) { return new QLabel(UiText(utf8)); };
    auto button = [this](const char* name, const char* utf8) {
        auto* b = new QPushButton(UiText(utf8), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        PaintReadOnly(e);
        return e;
    };

    edAccount = edit("edAccount");
    edAccess = edit("edAccess");
    edUrl = edit("edUrl");
    btnAdd = button("btnAdd", "アカウント作成");
    btnDel = button("btnDel", "アカウント削除");
    btnSend = button("btnSend", "<< サーバーへデータ送信");
    btnRecv = button("btnRecv", "サーバーからデータ受信 >>");
    btnCancel = button("btnCancel", "閉じる");
    cmbMode = new QComboBox(this);
    cmbMode->setObjectName("cmbMode");
    cmbMode->addItem(UiText("更新したデータのみ"));
    cmbMode->addItem(UiText("全て転送"));
    lbStat = new QLabel(this);
    lbStat->setObjectName("lbStat");
    lbStatNum = new QLabel(this);
    lbStatNum->setObjectName("lbStatNum");

    auto* group = new QGroupBox(UiText("アカウント"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(label("アカウント名"), 0, 0);
    grid->addWidget(edAccount, 0, 1);
    grid->addWidget(label("アクセスコード"), 1, 0);
    grid->addWidget(edAccess, 1, 1);
    grid->addWidget(label("公開用URL"), 2, 0);
    grid->addWidget(edUrl, 2, 1);
    auto* accountButtons = new QHBoxLayout;
    accountButtons->addStretch();
    accountButtons->addWidget(btnAdd);
    accountButtons->addWidget(btnDel);
    grid->addLayout(accountButtons, 3, 0, 1, 2);

    for (QPushButton* b : {btnAdd, btnDel, btnSend, btnRecv})
        KeepCaptionRoom(*b);
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(btnSend);
    transfer->addWidget(cmbMode);
    transfer->addWidget(btnRecv);
    auto* progress = new QHBoxLayout;
    progress->addWidget(lbStat);
    progress->addStretch();
    progress->addWidget(lbStatNum);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
    pageLayout->addLayout(transfer);
    pageLayout->addLayout(progress);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, UiText("サーバーリンク"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(bottom);
    // A fixed dialog of the size its captions need; 480 x 300 cut them.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Buttons are disabled while a handler runs; a click cannot start a second one.
    connect(btnAdd, &QPushButton::clicked, this, [this] { Guarded([this] { btnAddClick(); }); });
    connect(btnDel, &QPushButton::clicked, this, [this] { Guarded([this] { btnDelClick(); }); });
    connect(btnSend, &QPushButton::clicked, this, [this] { Guarded([this] { btnSendClick(); }); });
    connect(btnRecv, &QPushButton::clicked, this, [this] { Guarded([this] { btnRecvClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });
    EnterPressesFocusedButton(*this);
}

void SendForm::done(int result) {
    if (handlerDepth_ > 0) {
        closePending_ = true;
        pendingResult_ = result;
        return;
    }
    QDialog::done(result);
}

void SendForm::FormCreate() {
    lbStat->clear();
    lbStatNum->clear();
    btnCancel->setEnabled(true);
    Account = IniReadString("link", "account", "");
    Password = IniReadString("link", "password", "");
    AccessCode = IniReadString("link", "access", "");
    ServerAddress = IniReadString("link", "server", "");
    cmbMode->setCurrentIndex(0);
    if (!Account.empty()) {
        ShowAccount();
        btnAdd->setEnabled(false);
        btnDel->setEnabled(true);
    } else {
        edAccount->clear();
        edAccess->clear();
        edUrl->clear();
        btnAdd->setEnabled(true);
        btnDel->setEnabled(false);
        btnSend->setEnabled(false);
        btnRecv->setEnabled(false);
    }
    memLog.Add(Account);
    memLog.Add("----");
}

bool SendForm::ServerGuard() const {
    if (!TrimText(ServerAddress).empty()) return true;
    ShowNotice(Text(kNoServer));
    return false;
}

void SendForm::ShowAccount() {
    edAccount->setText(SjisToQString(Account));
    edAccess->setText(SjisToQString(AccessCode));
    edUrl->setText(SjisToQString(PublicPageUrl(ServerAddress, CurrentEdition().GameCode, Account)));
}

BusyRequest SendForm::RequestBusy() {
    return BusyRequest(*this, {btnDel, btnCancel, btnRecv, btnSend});
}

bool SendForm::Request(BusyRequest& busy, const SjisString& url, std::string& body) {
    lastUrl_ = url;
    busy.PaintBeforeRequest();
    return IdHTTP1.Get(url, body);
}

void SendForm::LogHttpError() {
    memLog.Add(
        ErrorBlockLines(lastUrl_, IdHTTP1.StatusCode(), IdHTTP1.StatusLine(), HttpClient::LibraryVersion()));
}

void SendForm::ReportFailedRequest() {
    LogHttpError();
    ShowNotice(RequestErrorMessage(IdHTTP1));
}

void SendForm::IdHTTP1Notice(const HttpNotice& notice) {
    memLog.Add(NoticeLogLines(notice, Now()));
}

void SendForm::btnAddClick() {
    HandlerScope scope(*this);
    if (!ServerGuard()) return;
    if (accForm_ == nullptr || RunModal(*accForm_) != QDialog::Accepted) return;
    IniWriteString("link", "account", Account);
    IniWriteString("link", "password", Password);
    IniWriteString("link", "access", AccessCode);
    ShowAccount();
    btnAdd->setEnabled(false);
    btnDel->setEnabled(true);
    btnSend->setEnabled(true);
    btnRecv->setEnabled(true);
}

void SendForm::btnDelClick() {
    HandlerScope scope(*this);
    if (!ServerGuard()) return;
    if (AskYesNoCancel(Text(kAskDelete)) != BoxAnswer::Yes) return;
    BusyRequest busy = RequestBusy();

    std::string body;
    if (!Request(busy, DeleteUserUrl(ServerAddress, Account, Password, AccessCode), body)) {
        ReportFailedRequest();
    } else if (EvaluateReply(body) == ReplyToken::Success) {
        IniWriteString("link", "account", "");
        IniWriteString("link", "password", "");
        IniWriteString("link", "access", "");
        Account.clear();
        Password.clear();
        AccessCode.clear();
        edAccount->clear();
        edAccess->clear();
        ShowNotice(Text(kDeleted));
        // No account is left to delete or transfer; only "閉じる" comes back.
        busy.SetEndState({btnDel, btnSend, btnRecv}, false);
        reject(); // carried out when this handler ends
    } else {
        ShowNotice(Text(kNotDeleted));
    }
}

void SendForm::SendPending(BusyRequest& busy, std::vector<int32_t>& pendingSongs) {
    std::string body;
    SjisString url =
        SendUrl(ServerAddress, Account, AccessCode, CurrentEdition().GameCode, PendingCount, PendingQuery);
    if (Request(busy, url, body)) {
        lbStat->setText(UiText(kSending));
        lbStatNum->setText(UiText("%1/%2").arg(SendIndex).arg(MusicCount));
        memLog.Add(body);
    } else {
        // The song did not reach the server: keep it for the next
        // "更新したデータのみ" send.
        for (int32_t index : pendingSongs)
            MusicTable[static_cast<std::size_t>(index)].Changed = true;
        ReportFailedRequest();
    }
    PendingQuery.clear();
    PendingCount = 0;
    pendingSongs.clear();
}

void SendForm::btnSendClick() {
    HandlerScope scope(*this);
    if (!ServerGuard()) return;
    {
        BusyRequest busy = RequestBusy();
        PendingQuery.clear();
        PendingCount = 0;
        std::vector<int32_t> pendingSongs;
        bool requested = false;

        for (int32_t i = 0; i < MusicCount; ++i) {
            TMusicList& music = MusicTable[static_cast<std::size_t>(i)];
            // Read anew for every song: the player may change it between requests.
            auto mode = cmbMode->currentIndex() == 1 ? TransferMode::All : TransferMode::ChangedOnly;
            if (!IsSelectedForSend(music, mode)) continue;
            SendIndex = i;
            music.Changed = false;
            PendingQuery += '&'; // not "&" + group: g++ 12 at -O3 takes that for an overlapping copy
            PendingQuery += SendRecordGroup(music);
            ++PendingCount;
            pendingSongs.push_back(i);
            if (PendingCount >= kBatchSize) {
                SendPending(busy, pendingSongs);
                requested = true;
                QCoreApplication::processEvents();
            }
        }

        if (requested) {
            std::string body;
            if (!Request(busy, RecompUrl(ServerAddress, Account, CurrentEdition().GameCode), body))
                LogHttpError();
            ShowNotice(Text(kSent));
        } else {
            ShowNotice(Text(kNothingToSend));
        }
        lbStat->setText(UiText("  "));
        lbStatNum->setText(UiText("  "));
    }
    memLog.WriteFile(kNetworkLogFileName);
}

void SendForm::ApplyReceivedData(const std::string& body) {
    int32_t count = ApplyReceivedLines(body);
    ShowNotice(ReceivedCountMessage(count));
}

void SendForm::btnRecvClick() {
    HandlerScope scope(*this);
    if (!ServerGuard()) return;
    bool all = cmbMode->currentIndex() == 1;
    SjisString url = ReceiveUrl(ServerAddress, Account, AccessCode, CurrentEdition().GameCode, all);
    {
        BusyRequest busy = RequestBusy();
        std::string body;
        bool ok = Request(busy, url, body);
        if (ok) {
            try {
                ApplyReceivedData(body);
            } catch (const std::exception&) {
                ok = false;
            }
        }
        if (!ok) ReportFailedRequest();
    }
    memLog.WriteFile(kNetworkLogFileName);
}
