#include "ui/MusicEditForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/TextHelpers.h"
#include "platform/Cp932.h"
#include "platform/IntConv.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A level box: at most three characters of digits and signs; on leaving it
// a value outside 0..100 goes to the nearer bound and text that is not a
// number becomes 0.
class LevelSpinBox : public QSpinBox {
  public:
    explicit LevelSpinBox(QWidget* parent) : QSpinBox(parent) {
        setRange(0, 100);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    }

  protected:
    QValidator::State validate(QString& input, int&) const override {
        if (input.size() > 3) return QValidator::Invalid;
        for (QChar ch : input)
            if (!((ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-')) return QValidator::Invalid;
        bool ok = false;
        const int value = input.toInt(&ok);
        return ok && value >= 0 && value <= 100 ? QValidator::Acceptable : QValidator::Intermediate;
    }
    void fixup(QString& input) const override { input = QString::number(LevelFromText(input)); }
    int valueFromText(const QString& text) const override { return LevelFromText(text); }
};

const char* const kFlagCaptions[kFlagCount] = {"新曲",
                                               "ロングバージョン",
                                               "復活曲",
                                               "バトル",
                                               "その他",
                                               "隠し・解禁曲",
                                               "ノンストップオーダ",
                                               "ショップランキング",
                                               "ギタドキング",
                                               "その他"};
const char* const kLevelNames[9] = {"edSBSC", "edSADV", "edSEXT", "edBBSC", "edBADV",
                                    "edBEXT", "edOBSC", "edOADV", "edOEXT"};

} // namespace

int32_t LevelFromText(const QString& text) {
    int32_t value = 0;
    if (!TryStrToInt(text.toStdString(), value)) return 0;
    return value < 0 ? 0 : value > 100 ? 100 : value;
}

MusicEditForm::MusicEditForm(QWidget* parent) : QDialog(parent) {
    setObjectName("MusicEditForm");
    BuildControls();
    Guarded([this] { FormCreate(); });
}

void MusicEditForm::BuildControls() {
    setWindowTitle(UiText("曲情報編集"));
    setFixedSize(393, 281);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");

    // The later pages show the song's name in a row of their own, read-only.
    auto nameRow = [](const char* name, QWidget* page, QLineEdit*& edit) {
        edit = new QLineEdit(page);
        edit->setObjectName(name);
        edit->setEnabled(false);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(UiText("曲名"), page));
        row->addWidget(edit, 1);
        return row;
    };

    // "基本情報"
    auto* TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    edName = new ByteLimitedEdit(100, TabSheet1);
    edName->setObjectName("edName");
    edBPM = new ByteLimitedEdit(10, TabSheet1);
    edBPM->setObjectName("edBPM");
    edRyaku = new ByteLimitedEdit(20, TabSheet1);
    edRyaku->setObjectName("edRyaku");
    edMemo = new QPlainTextEdit(TabSheet1);
    edMemo->setObjectName("edMemo");
    edMemo->setTabChangesFocus(true);
    edMemo->installEventFilter(this);
    auto* basic = new QGridLayout(TabSheet1);
    basic->addWidget(new QLabel(UiText("曲名"), TabSheet1), 0, 0);
    basic->addWidget(edName, 0, 1);
    basic->addWidget(new QLabel(UiText("BPM"), TabSheet1), 1, 0);
    basic->addWidget(edBPM, 1, 1, Qt::AlignLeft);
    basic->addWidget(new QLabel(UiText("略名"), TabSheet1), 2, 0);
    basic->addWidget(edRyaku, 2, 1, Qt::AlignLeft);
    basic->addWidget(new QLabel(UiText("補足"), TabSheet1), 3, 0, Qt::AlignTop);
    basic->addWidget(edMemo, 3, 1);
    basic->setRowStretch(3, 1);
    edBPM->setFixedWidth(100);
    edRyaku->setFixedWidth(160);
    PageControl1->addTab(TabSheet1, UiText("基本情報"));

    // "レベル"
    auto* TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    auto* levels = new QVBoxLayout(TabSheet2);
    levels->addLayout(nameRow("edName2", TabSheet2, edName2));
    auto* groups = new QHBoxLayout;
    const char* const groupNames[3] = {"gbStandard", "gbBass", "gbOpenPick"};
    const char* const groupCaptions[3] = {"STANDARD", "BASS", "OPENPICK"};
    const char* const difficulties[3] = {"BSC", "ADV", "EXT"};
    QGroupBox* boxes[3] = {};
    for (int mode = 0; mode < 3; ++mode) {
        auto* group = new QGroupBox(UiText(groupCaptions[mode]), TabSheet2);
        group->setObjectName(groupNames[mode]);
        auto* grid = new QGridLayout(group);
        for (int d = 0; d < 3; ++d) {
            auto* box = new LevelSpinBox(group);
            box->setObjectName(kLevelNames[mode * 3 + d]);
            LevelEdits[mode * 3 + d] = box;
            grid->addWidget(new QLabel(UiText(difficulties[d]), group), d, 0);
            grid->addWidget(box, d, 1);
        }
        // The drum edition hides two groups; the one left keeps its place.
        QSizePolicy policy = group->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        group->setSizePolicy(policy);
        groups->addWidget(group);
        boxes[mode] = group;
    }
    gbStandard = boxes[0];
    gbBass = boxes[1];
    gbOpenPick = boxes[2];
    levels->addLayout(groups);
    levels->addStretch(1);
    PageControl1->addTab(TabSheet2, UiText("レベル"));

    // "管理"
    auto* TabSheet3 = new QWidget;
    TabSheet3->setObjectName("TabSheet3");
    auto* manage = new QGridLayout(TabSheet3);
    manage->addLayout(nameRow("edName3", TabSheet3, edName3), 0, 0, 1, 2);
    for (int k = 0; k < kFlagCount; ++k) {
        auto* check = new QCheckBox(UiText(kFlagCaptions[k]), TabSheet3);
        check->setObjectName(UiText("chDisp%1").arg(k));
        chDisp[k] = check;
        manage->addWidget(check, 1 + k % 5, k / 5);
    }
    chDisp[9]->setEnabled(false);
    manage->setRowStretch(6, 1);
    PageControl1->addTab(TabSheet3, UiText("管理"));

    btnOK = new QPushButton(UiText("ＯＫ"), this);
    btnOK->setObjectName("btnOK");
    btnCancel = new QPushButton(UiText("キャンセル"), this);
    btnCancel->setObjectName("btnCancel");
    for (QPushButton* button : {btnOK, btnCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(PageControl1, 1);
    main->addLayout(buttons);

    connect(edName, &QLineEdit::textChanged, this, GuardedSlot([this](const QString&) { edNameChange(); }));
    connect(btnOK, &QPushButton::clicked, this, GuardedSlot([this](bool) { btnOKClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, GuardedSlot([this](bool) { reject(); }));
}

void MusicEditForm::FormCreate() {
    const bool guitar = CurrentEdition().PlayModes == 3;
    gbBass->setVisible(guitar);
    gbOpenPick->setVisible(guitar);
}

SjisString MusicEditForm::NameText() const {
    return SanitizeFieldText(edName->SjisText());
}

void MusicEditForm::edNameChange() {
    edName2->setText(edName->text());
    edName3->setText(edName->text());
    // A blank name would make the loader drop the song, and with it its
    // results, at the next start.
    btnOK->setEnabled(!TrimText(NameText()).empty());
}

void MusicEditForm::LoadMusic(int32_t index) {
    const TMusicList& music = MusicTable[index];
    edName->SetSjisText(music.Name);
    edBPM->SetSjisText(music.Bpm);
    edRyaku->SetSjisText(music.ShortName);
    loadedMemo_ = music.Memo;
    shownMemo_ = SjisToQString(music.Memo);
    edMemo->setPlainText(shownMemo_);
    for (int c = 0; c < ChartCount(); ++c)
        LevelEdits[c]->setValue(music.Level[c]); // the box clamps to 0..100
    for (int k = 0; k < kFlagCount; ++k)
        chDisp[k]->setChecked(music.Flags[k]);
    MusicIndex = index;
}

void MusicEditForm::btnOKClick() {
    const SjisString name = NameText();
    if (TrimText(name).empty()) return;

    TMusicList& music = MusicTable[MusicIndex];
    music.Name = name;
    music.Bpm = SanitizeFieldText(edBPM->SjisText());
    music.ShortName = SanitizeFieldText(edRyaku->SjisText());
    const QString memoText = edMemo->toPlainText();
    SjisString memo = SanitizeFieldText(memoText == shownMemo_ ? loadedMemo_ : QStringToSjis(memoText));
    if (TrimText(memo).empty()) memo = Utf8ToSjis("　");
    music.Memo = memo;
    for (int c = 0; c < ChartCount(); ++c)
        music.Level[c] = LevelFromText(LevelEdits[c]->text());
    for (int k = 0; k < kFlagCount; ++k)
        music.Flags[k] = chDisp[k]->isChecked();
    accept();
}

bool MusicEditForm::EditMusic(int32_t index) {
    if (!DataLoadComplete() || index < 0 || index >= MusicCount) return false;
    LoadMusic(index);
    if (RunModal(*this) != QDialog::Accepted) return false;
    SaveMusicList(CurrentEdition().GameName);
    return true;
}

// Enter and Esc have no meaning in this dialog.
void MusicEditForm::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(event) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Plain Enter inserts no line break in the memo; Ctrl+Enter does.
bool MusicEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edMemo && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key)) {
            if (key->modifiers() & Qt::ControlModifier) edMemo->insertPlainText(UiText("\n"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
