#include "net/PropertyForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/MusicListCheck.h"
#include "data/Unitini.h"
#include "net/HttpClient.h"
#include "net/UpdateList.h"
#include "net/Version.h"
#include "net/WebProtocol.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/gui/BusyRequest.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/EnterPressesButton.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <exception>
#include <string_view>

const char* const PropertyForm::kDefaultUpdateUrl = "http://pelorin.example.net/vostrane/check.txt";

namespace {

// A real update list is a few lines. Every byte of a list can cost a log line
// in the memo (some hundred bytes and microseconds), so the limit is what
// bounds how long and how much memory a hostile host can make the check take.
constexpr std::size_t kUpdateListLimit = std::size_t{1024} * 1024;
constexpr std::size_t kDownloadLimit = std::size_t{64} * 1024 * 1024;
// The address fields have no limit of their own.
constexpr int kUnlimited = 1 << 30;

QLabel* NewLabel(const char* utf8, QWidget* parent) {
    return new QLabel(UiText(utf8), parent);
}

QPushButton* NewButton(const char* name, const char* utf8, QWidget* parent) {
    auto* button = new QPushButton(UiText(utf8), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

ByteLimitedEdit* NewEdit(const char* name, int maxBytes, QWidget* parent) {
    auto* edit = new ByteLimitedEdit(maxBytes, parent);
    edit->setObjectName(name);
    return edit;
}

// Gathers log lines and appends them to the memo a batch at a time. Each
// append lays out the memo's last line and updates its scroll bar, which for
// a list of many lines cost most of the time and memory of the check; the
// memo ends as it would with one append a line (lines of the update list
// hold no line breaks).
class MemoLines {
  public:
    explicit MemoLines(QPlainTextEdit& memo) : memo_(memo) {}

    void Add(std::string_view line) {
        if (count_ > 0) pending_ += u'\n';
        pending_ += SjisToQString(SjisString(line));
        if (++count_ == kBatch) Flush();
    }

    void Flush() {
        if (count_ == 0) return;
        memo_.appendPlainText(pending_);
        pending_.resize(0);
        count_ = 0;
    }

  private:
    static constexpr int kBatch = 4096;
    QPlainTextEdit& memo_;
    QString pending_;
    int count_ = 0;
};

} // namespace

PropertyForm::PropertyForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PropertyForm");
    BuildControls();
    Guarded([this] { FormCreate(); });
}

PropertyForm::~PropertyForm() {
    Guarded([this] { FormDestroy(); });
}

void PropertyForm::BuildControls() {
    setWindowTitle(UiText("ネットワーク設定"));
    setFixedSize(440, 400);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");

    // Page "データ更新": the update check.
    auto* TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    auto* grpList = new QGroupBox(UiText("曲リスト"), TabSheet1);
    grpList->setObjectName("grpList");
    edURL = NewEdit("edURL", kUnlimited, grpList);
    laInfo = new QLabel(UiText("待機中"), grpList);
    laInfo->setObjectName("laInfo");
    laInfo->setAlignment(Qt::AlignCenter);
    laInfo->setFrameShape(QFrame::StyledPanel);
    btnGet = NewButton("btnGet", "更新チェック", grpList);
    auto* listLayout = new QGridLayout(grpList);
    listLayout->addWidget(NewLabel("データ更新チェックアドレス", grpList), 0, 0, 1, 2);
    listLayout->addWidget(edURL, 1, 0, 1, 2);
    listLayout->addWidget(laInfo, 2, 0);
    listLayout->addWidget(btnGet, 2, 1);
    listLayout->setColumnStretch(0, 1);

    auto* grpLog = new QGroupBox(UiText("通信ログ"), TabSheet1);
    grpLog->setObjectName("grpLog");
    meLog = new QPlainTextEdit(grpLog);
    meLog->setObjectName("meLog");
    meLog->setReadOnly(true);
    // Read-only: nothing can be undone, and an undo record a line of a long
    // log would cost more memory than the log.
    meLog->setUndoRedoEnabled(false);
    meLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    meLog->setFont(FixedPitchFont(12));
    auto* logLayout = new QVBoxLayout(grpLog);
    logLayout->addWidget(meLog);

    auto* page1 = new QVBoxLayout(TabSheet1);
    page1->addWidget(grpList);
    page1->addWidget(grpLog, 1);
    PageControl1->addTab(TabSheet1, UiText("データ更新"));

    // Page "環境設定": the formula weights and the server address, laid out
    // as one expression: ( Perfect x a + Great x b + MaxCombo x c ) / d = rate.
    auto* TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    auto* grpFormula = new QGroupBox(UiText("スキル計算式"), TabSheet2);
    grpFormula->setObjectName("grpFormula");
    edPer = NewEdit("edPer", 5, grpFormula);
    edGrt = NewEdit("edGrt", 5, grpFormula);
    edCmb = NewEdit("edCmb", 5, grpFormula);
    edWaru = NewEdit("edWaru", 5, grpFormula);
    for (ByteLimitedEdit* edit : {edPer, edGrt, edCmb, edWaru})
        edit->setFixedWidth(56);
    auto* formula = new QGridLayout(grpFormula);
    formula->addWidget(NewLabel("(", grpFormula), 0, 0);
    formula->addWidget(NewLabel("Perfect ×", grpFormula), 0, 1, Qt::AlignRight);
    formula->addWidget(edPer, 0, 2);
    formula->addWidget(NewLabel("+", grpFormula), 0, 3);
    formula->addWidget(NewLabel("Great ×", grpFormula), 1, 1, Qt::AlignRight);
    formula->addWidget(edGrt, 1, 2);
    formula->addWidget(NewLabel("+", grpFormula), 1, 3);
    formula->addWidget(NewLabel("MaxCombo ×", grpFormula), 2, 1, Qt::AlignRight);
    formula->addWidget(edCmb, 2, 2);
    formula->addWidget(NewLabel(")", grpFormula), 2, 3);
    formula->addWidget(NewLabel("÷", grpFormula), 2, 4);
    formula->addWidget(edWaru, 2, 5);
    formula->addWidget(NewLabel("=", grpFormula), 2, 6);
    formula->addWidget(NewLabel("達成率", grpFormula), 2, 7);
    formula->setColumnStretch(8, 1);

    auto* grpServer = new QGroupBox(UiText("ギタドラのPelorin.NET　サーバーサービス"), TabSheet2);
    grpServer->setObjectName("grpServer");
    edServer = NewEdit("edServer", kUnlimited, grpServer);
    auto* serverLayout = new QVBoxLayout(grpServer);
    serverLayout->addWidget(NewLabel("サーバーアドレス", grpServer));
    serverLayout->addWidget(edServer);

    btnUpdate = NewButton("btnUpdate", "環境設定更新", TabSheet2);
    auto* page2 = new QVBoxLayout(TabSheet2);
    page2->addWidget(grpFormula);
    page2->addWidget(grpServer);
    page2->addStretch(1);
    page2->addWidget(btnUpdate, 0, Qt::AlignRight);
    PageControl1->addTab(TabSheet2, UiText("環境設定"));

    btnOk = NewButton("btnOk", "OK", this);
    btnCancel = NewButton("btnCancel", "キャンセル", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(PageControl1, 1);
    main->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, GuardedSlot([this](bool) { accept(); }));
    connect(btnCancel, &QPushButton::clicked, this, GuardedSlot([this](bool) { reject(); }));
    connect(btnUpdate, &QPushButton::clicked, this, GuardedSlot([this](bool) { btnUpdateClick(); }));
    connect(btnGet, &QPushButton::clicked, this, GuardedSlot([this](bool) { btnGetClick(); }));
}

void PropertyForm::FormCreate() {
    DownloadList.clear();
    edURL->SetSjisText(kDefaultUpdateUrl);
    IdHTTP1 = std::make_unique<HttpClient>();
    IdHTTP1->SetUserAgent("VOTSRANEOS");
    IdHTTP1->SetConnectTimeoutMs(3000);
    // The form sees every key before the focused control.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void PropertyForm::FormDestroy() {
    DownloadList.clear();
    IdHTTP1.reset();
}

// Every request of the client uses a connection of its own, closed when the
// request ends, so closing the dialog never finds one open.
void PropertyForm::FormClose() {}

void PropertyForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

void PropertyForm::FillSettings(const SjisString& server, int32_t perfect, int32_t great, int32_t combo,
                                int32_t waru) {
    dataReloaded_ = false;
    edServer->SetSjisText(server);
    edPer->SetSjisText(std::to_string(perfect));
    edGrt->SetSjisText(std::to_string(great));
    edCmb->SetSjisText(std::to_string(combo));
    edWaru->SetSjisText(std::to_string(waru));
}

void PropertyForm::FormKeyDown(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (btnOk->isEnabled()) accept();
        break;
    case Qt::Key_Escape:
        reject();
        break;
    default:
        break;
    }
}

bool PropertyForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Enter on a focused button presses it; elsewhere it means OK.
        if (PressButtonOnEnter(watched, *key)) return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape) {
            Guarded([&] { FormKeyDown(key); });
            // Closing has taken the key's whole meaning; passing it on would
            // only let the dialog close a second time.
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PropertyForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        Guarded([&] { FormKeyDown(event); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void PropertyForm::btnUpdateClick() {
    const SjisString& section = CurrentEdition().GameName;
    IniWriteString(section, "perfect", edPer->SjisText());
    IniWriteString(section, "great", edGrt->SjisText());
    IniWriteString(section, "combo", edCmb->SjisText());
    IniWriteString(section, "waru", edWaru->SjisText());
    IniWriteString("link", "server", edServer->SjisText());
    static const SjisString kDone =
        Utf8ToSjis("環境設定を変更しました。設定を有効にするにはアプリケーションを再起動してください。");
    ShowNotice(kDone);
}

void PropertyForm::Log(const SjisString& line) {
    meLog->appendPlainText(SjisToQString(line));
}

void PropertyForm::SetInfo(const char* utf8) {
    laInfo->setText(UiText(utf8));
    // The request that follows blocks the event loop; show the state now.
    laInfo->repaint();
}

void PropertyForm::ReportFailure() {
    SetInfo("エラー");
    ShowNotice(RequestErrorMessage(*IdHTTP1));
}

void PropertyForm::btnGetClick() {
    meLog->clear();
    // Busy until the downloads that may follow have ended too.
    BusyRequest busy(*this, {btnGet});

    SetInfo("接続中...");
    Log(ConnectingLogText());
    IdHTTP1->SetBodyLimit(kUpdateListLimit);
    std::string body;
    busy.PaintBeforeRequest();
    if (!IdHTTP1->Get(RequestAddress(edURL->SjisText()), body)) {
        ReportFailure();
        return;
    }
    Log(ReceivedLogText());
    SetInfo("完了");
    QCoreApplication::processEvents();

    CheckUpdateList(body);
}

void PropertyForm::CheckUpdateList(const SjisString& text) {
    int32_t major = 0, minor = 0, release = 0, build = 0;
    GetOwnFileVersion(major, minor, release, build);

    DownloadList.clear();
    // Every line reads [check]; one reading of the settings file serves them
    // all, as a list of many lines would otherwise read and parse the file
    // once a line.
    const IniImage settings;
    MemoLines log(*meLog);
    EvaluateUpdateList(
        text, ReleaseCode(release),
        [&settings](const SjisString& kind) {
            return settings.Read(kCheckSection, kind, kDefaultCheckValue);
        },
        [&log](UpdateEvent::Type kind, std::string_view event) {
            if (kind == UpdateEvent::NewAppNotice) {
                log.Flush(); // the lines before the notice are in the memo when it shows
                ShowNotice(SjisString(event));
            } else {
                log.Add(event);
            }
        },
        [this](std::string_view line) { DownloadList.emplace_back(line); });
    log.Flush();
    std::remove((AppDir + "check.txt").c_str());

    if (DownloadList.empty()) return;
    if (AskYesNo(AskDownloadText()) != BoxAnswer::Yes) return;
    DownloadUpdates();
}

void PropertyForm::DownloadUpdates() {
    BusyRequest busy(*this, {btnGet});
    IdHTTP1->SetBodyLimit(kDownloadLimit);
    for (const SjisString& raw : DownloadList) {
        const UpdateLine line = CutUpdateLine(raw);
        const SjisString fileName = FileNameForKind(line.Kind);

        SetInfo("接続中...");
        Log(ConnectingLogText());
        std::string body;
        busy.PaintBeforeRequest();
        if (!IdHTTP1->Get(RequestAddress(line.Address), body)) {
            ReportFailure();
            return;
        }
        // The file is replaced only by a complete body, and a song master
        // list only by one its game can load.
        const Edition* layout = MasterListLayoutForKind(line.Kind);
        if (layout != nullptr && !IsUsableMusicList(body, *layout)) {
            ReportFailure();
            return;
        }
        try {
            WriteFileAtomic(AppDir + fileName, body);
        } catch (const std::exception&) {
            ReportFailure();
            return;
        }
        Log(ReceivedLogText());
        SetInfo("完了");
        IniWriteString(kCheckSection, line.Kind, CheckValueOf(line));
    }

    static const SjisString kComplete = Utf8ToSjis("ダウンロード完了しました。");
    ShowNotice(kComplete);

    // The writers skip while the last load was incomplete, so a partial table
    // never replaces the player's files.
    const SjisString& base = CurrentEdition().GameName;
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);
    dataReloaded_ = true;
    try {
        LoadAllDataFiles(base);
    } catch (...) {
        // The table has changed either way; the opener must rebuild from it.
        accept();
        throw;
    }
    accept();
}
