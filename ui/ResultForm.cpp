#include "ui/ResultForm.h"

#include "data/DataUnit.h"
#include "data/NumberText.h"
#include "data/Unitini.h"
#include "platform/Clock.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "ui/NumericField.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const char* const kSection = "result";

// Sets a flag for one scope; cleared also when the scope is left by an error.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

QLabel* AddLabel(QWidget* parent, const char* utf8, int x, int y, int w = 80, int h = 16) {
    auto* label = new QLabel(UiText(utf8), parent);
    label->setGeometry(x, y, w, h);
    return label;
}

QLabel* AddSunkenPanel(QWidget* parent, const char* name, QRect geometry, int pointSize, bool bold) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    QFont font = panel->font();
    if (pointSize > 0) font.setPointSize(pointSize);
    font.setBold(bold);
    panel->setFont(font);
    panel->setGeometry(geometry);
    return panel;
}

void AddLine(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(6, y, 422, 4);
}

QFrame* AddMarker(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QFrame(parent);
    box->setObjectName(name);
    box->setStyleSheet(
        QStringLiteral("QFrame { border: 2px solid rgb(0, 255, 0); background: transparent; }"));
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(geometry);
    box->lower(); // drawn behind the fields it frames
    box->hide();
    return box;
}

} // namespace

ResultForm::ResultForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ResultForm");
    setWindowTitle(UiText("リザルト入力"));
    setFixedSize(434, 403);
    BuildControls();
    plainPalette_ = laUpDown->palette();

    // Key preview and the wheel see every event of the dialog before the control that has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    new NumericWheelFilter(this);

    // Pickers load on the player's choice only, never on a programmatic index change.
    for (QComboBox* picker : {cbMusicList, cbLevel, cbMode})
        connect(picker, &QComboBox::activated, this, GuardedSlot([this](int) { cbMusicListClick(); }));
    for (int j = 0; j < 6; ++j) {
        connect(edR[j], &NumericField::Changed, this, GuardedSlot([this] { edR1Change(); }));
        connect(edR[j], &NumericField::Clicked, this, GuardedSlot([this] { edR1Change(); }));
        connect(edN[j], &NumericField::Changed, this, GuardedSlot([this] { edN1Change(); }));
        connect(edN[j], &NumericField::Clicked, this, GuardedSlot([this] { edN1Change(); }));
    }
    connect(edR[6], &NumericField::Changed, this, GuardedSlot([this] { edR7Change(); }));
    connect(edR[6], &NumericField::Clicked, this, GuardedSlot([this] { edR7Change(); }));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ResultForm::BuildControls() {
    // Header: the three pickers.
    AddLabel(this, "曲名", 10, 14, 60);
    cbMusicList = new QComboBox(this);
    cbMusicList->setObjectName("cbMusicList");
    cbMusicList->setGeometry(76, 10, 350, 22);
    AddLabel(this, "譜面難度", 10, 42, 64);
    cbLevel = new QComboBox(this);
    cbLevel->setObjectName("cbLevel");
    cbLevel->setGeometry(76, 38, 120, 22);
    cbLevel->addItems({UiText("BASIC"), UiText("ADVANCED"), UiText("EXTREME")});
    AddLabel(this, "プレイ", 212, 42, 48);
    cbMode = new QComboBox(this);
    cbMode->setObjectName("cbMode");
    cbMode->setGeometry(266, 38, 160, 22);
    AddLine(this, 66);

    // The chart: level, half-rate toggle, last update.
    AddLabel(this, "レベル", 10, 84, 48);
    lvLvPt = AddSunkenPanel(this, "lvLvPt", QRect(60, 76, 56, 30), 14, false);
    btnOptAuto = new QToolButton(this);
    btnOptAuto->setObjectName("btnOptAuto");
    btnOptAuto->setCheckable(true);
    btnOptAuto->setAutoRaise(true);
    btnOptAuto->setFocusPolicy(Qt::NoFocus);
    btnOptAuto->setToolTip(UiText("達成率が半分として計算されます"));
    QFont bold = btnOptAuto->font();
    bold.setBold(true);
    btnOptAuto->setFont(bold);
    btnOptAuto->setGeometry(126, 78, 68, 26);
    AddLabel(this, "前回更新日時", 206, 84, 88);
    pnlUpdateYMHN = AddSunkenPanel(this, "pnlUpdateYMHN", QRect(296, 80, 130, 22), 0, false);
    AddLine(this, 112);

    // Results: counts and percentages by judgement, the rate and the skill.
    AddLabel(this, "ノート数", 96, 120, 70);
    AddLabel(this, "達成率", 184, 120, 60);
    static const char* const kJudgements[6] = {"PERFECT", "GREAT", "GOOD", "POOR", "MISS", "MAX COMBO"};
    for (int j = 0; j < 6; ++j) {
        const int y = 140 + 28 * j;
        AddLabel(this, kJudgements[j], 10, y + 3, 84);
        edN[j] = new NumericField(0, kCountFieldMax, 4, this);
        edN[j]->setObjectName(UiText("edN%1").arg(j + 1));
        edN[j]->setGeometry(96, y, 66, 22);
        AddLabel(this, "【", 166, y + 3, 14);
        edR[j] = new NumericField(0, kPercentFieldMax, 3, this);
        edR[j]->setObjectName(UiText("edR%1").arg(j + 1));
        edR[j]->setGeometry(182, y, 52, 22);
        AddLabel(this, "】", 236, y + 3, 14);
        AddLabel(this, "％", 250, y + 3, 16);
    }
    edN[6] = new NumericField(0, kCountFieldMax, 4, this);
    edN[6]->setObjectName("edN7");
    edN[6]->hide();
    AddLabel(this, "達成率", 290, 140, 60);
    edR[6] = new NumericField(0, kPercentFieldMax, 3, this);
    edR[6]->setObjectName("edR7");
    edR[6]->setGeometry(290, 160, 56, 22);
    AddLabel(this, "％", 350, 163, 16);
    AddLabel(this, "スキルポイント", 290, 198, 120);
    lvSkill = AddSunkenPanel(this, "lvSkill", QRect(290, 218, 136, 36), 16, true);
    laUpDown = new QLabel(QStringLiteral("---"), this);
    laUpDown->setObjectName("laUpDown");
    laUpDown->setAlignment(Qt::AlignCenter);
    laUpDown->setGeometry(290, 260, 136, 20);
    // The percentage marker takes the 【 】 in: no frame fits between them and
    // the fields. The column markers leave the last row the room they leave the first.
    shpBox1 = AddMarker(this, "shpBox1", QRect(168, 136, 78, 170));
    shpBox2 = AddMarker(this, "shpBox2", QRect(92, 136, 74, 170));
    shpBox3 = AddMarker(this, "shpBox3", QRect(286, 156, 64, 30));
    AddLine(this, 310);

    // Comment and buttons.
    AddLabel(this, "コメント", 10, 326, 64);
    edComment = new ByteLimitedEdit(100, this);
    edComment->setObjectName("edComment");
    edComment->setGeometry(76, 322, 350, 22);
    btnOk = new QPushButton(UiText("更新"), this);
    btnOk->setObjectName("btnOk");
    btnOk->setGeometry(8, 362, 80, 28);
    cbUpdateFlg = new QCheckBox(UiText("スキルポイントが上昇したときのみ更新"), this);
    cbUpdateFlg->setObjectName("cbUpdateFlg");
    cbUpdateFlg->setGeometry(96, 366, 244, 20);
    btnCancel = new QPushButton(UiText("キャンセル"), this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setGeometry(346, 362, 80, 28);
    // Enter is decided by the key preview alone.
    for (QPushButton* button : {btnOk, btnCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    QWidget* order[] = {cbMusicList, cbLevel, cbMode,    edN[0],      edN[1], edN[2],   edN[3],
                        edN[4],      edN[5],  edR[0],    edR[1],      edR[2], edR[3],   edR[4],
                        edR[5],      edR[6],  edComment, cbUpdateFlg, btnOk,  btnCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ResultForm::FillSongPicker() {
    const QSignalBlocker block(cbMusicList);
    cbMusicList->clear();
    QStringList names;
    names.reserve(static_cast<qsizetype>(MusicNames.size()));
    for (const SjisString& name : MusicNames)
        names << SjisToQString(name);
    cbMusicList->addItems(names);
}

void ResultForm::FormCreate() {
    FillSongPicker();
    {
        const QSignalBlocker block(cbMode);
        cbMode->clear();
        static const char* const kModes[3] = {"STANDARD", "BASS", "OPEN PICK"};
        for (int mode = 0; mode < CurrentEdition().PlayModes && mode < 3; ++mode)
            cbMode->addItem(UiText(kModes[mode]));
    }
    btnOptAuto->setText(SjisToQString(CurrentEdition().HalfRateCaption));
    cbUpdateFlg->setChecked(IniStrToBool(IniReadString(kSection, "upcheck", "TRUE")));
    btnOptAuto->setChecked(IniStrToBool(IniReadString(kSection, "auto", "FALSE")));
}

void ResultForm::FormDestroy() {
    WriteSettings();
}

void ResultForm::WriteSettings() {
    IniWriteString(kSection, "upcheck", BoolToIniStr(cbUpdateFlg->isChecked()));
    IniWriteString(kSection, "auto", BoolToIniStr(btnOptAuto->isChecked()));
}

bool ResultForm::EditResult(int32_t musicIndex, int32_t difficulty, int32_t playMode) {
    // A blank level makes the change handlers idle while the fields are reset.
    lvLvPt->setText(QStringLiteral("  "));
    for (NumericField* field : edR)
        field->SetValue(0);
    FillSongPicker();
    const auto pick = [](QComboBox* picker, int32_t index) {
        const QSignalBlocker block(picker);
        picker->setCurrentIndex(index >= 0 && index < picker->count() ? index : -1);
    };
    pick(cbMusicList, musicIndex);
    pick(cbLevel, difficulty);
    pick(cbMode, playMode);
    cbMusicListClick();
    Updating = false;

    // Showing runs FormShow; it runs here so that it also runs under a test's modal script.
    FormShow();
    if (RunModal(*this) != QDialog::Accepted) return false;
    return StoreResult();
}

void ResultForm::FormShow() {
    for (QComboBox* picker : {cbLevel, cbMode}) {
        if (picker->currentIndex() >= 0 || picker->count() == 0) continue;
        const QSignalBlocker block(picker);
        picker->setCurrentIndex(0);
    }
    cbMusicListClick();
}

void ResultForm::cbMusicListClick() {
    const int song = cbMusicList->currentIndex();
    const int difficulty = cbLevel->currentIndex();
    const int mode = cbMode->currentIndex();
    if (song < 0 || difficulty < 0 || mode < 0) return;
    // The picker is filled from MusicNames, which holds MusicCount names; never reach past the songs.
    if (song >= MusicCount) return;
    const int chart = mode * 3 + difficulty;
    const TMusicList& music = MusicTable[song];
    const TChartResult& result = music.SkillList.Chart[chart];

    lvLvPt->setText(QString::number(music.Level[chart]));
    FlagScope loading(Loading);
    // Row 0 of a chart holds the six percentages, row 1 the six counts, in field order.
    for (int j = 0; j < 6; ++j) {
        edR[j]->SetValue(result.Value(0, j));
        edN[j]->SetValue(result.Value(1, j));
    }
    edR[6]->SetValue(result.Rate / 100);
    PendingRate = result.Rate;
    edN[6]->SetValue(result.TotalNotes);
    lvSkill->setText(SjisToQString(HundredthsText(result.SkillPoint)));
    StoredSkill = result.SkillPoint / 100.0;
    ShowDelta({"---", DeltaLook::Plain, true});
    SetInputMarker(result.InputMode);
    pnlUpdateYMHN->setText(SjisToQString(music.UpdateTime));
    edComment->SetSjisText(music.Comment);
}

template <typename Compute> void ResultForm::RunChange(Compute compute) {
    // The handlers' own changes to other fields, and loading, start no further handler.
    if (Updating || Loading) return;
    FlagScope updating(Updating);
    compute();
}

void ResultForm::edR1Change() {
    RunChange([this] {
        Apply(ComputeFromPercents(FieldValues(edR), LevelText(), btnOptAuto->isChecked()), InputPercents);
    });
}

void ResultForm::edR7Change() {
    RunChange(
        [this] { Apply(ComputeFromRate(edR[6]->Value(), LevelText(), btnOptAuto->isChecked()), InputRate); });
}

void ResultForm::edN1Change() {
    RunChange([this] {
        Apply(ComputeFromCounts(FieldValues(edN), LevelText(), btnOptAuto->isChecked()), InputCounts);
    });
}

void ResultForm::Apply(const LiveResult& result, int32_t inputMode) {
    if (result.Total) edN[6]->SetValue(*result.Total);
    if (result.Percents)
        for (int j = 0; j < 6; ++j)
            edR[j]->SetValue((*result.Percents)[j]);
    if (result.PendingRate) PendingRate = *result.PendingRate;
    if (result.RateField) edR[6]->SetValue(*result.RateField);
    if (result.Failed) {
        // Not reported; whatever was already changed stays.
        if (inputMode == InputRate) {
            lvSkill->setText(QStringLiteral("0"));
        } else {
            edR[6]->SetValue(0);
        }
        return;
    }
    if (!result.Skill) return;
    lvSkill->setText(SjisToQString(HundredthsText(*result.Skill)));
    ShowSkillDelta(*result.Skill / 100.0);
    SetInputMarker(inputMode);
}

void ResultForm::ShowSkillDelta(double skill) {
    const DeltaView view = SkillDeltaView(skill, StoredSkill, cbUpdateFlg->isChecked());
    ShowDelta(view);
    btnOk->setEnabled(view.OkEnabled);
}

void ResultForm::ShowDelta(const DeltaView& view) {
    laUpDown->setText(QString::fromStdString(view.Text));
    QPalette palette = plainPalette_;
    if (view.Look == DeltaLook::Down) palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    if (view.Look == DeltaLook::Up) palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    laUpDown->setPalette(palette);
    QFont font = laUpDown->font();
    font.setBold(view.Look == DeltaLook::Up);
    laUpDown->setFont(font);
}

void ResultForm::SetInputMarker(int32_t inputMode) {
    inputMarker_ =
        inputMode == InputRate || inputMode == InputPercents || inputMode == InputCounts ? inputMode : 0;
    shpBox3->setVisible(inputMarker_ == InputRate);
    shpBox1->setVisible(inputMarker_ == InputPercents);
    shpBox2->setVisible(inputMarker_ == InputCounts);
}

Judgements ResultForm::FieldValues(const std::array<NumericField*, 7>& fields) const {
    Judgements values{};
    for (int j = 0; j < 6; ++j)
        values[j] = fields[j]->Value();
    return values;
}

SjisString ResultForm::LevelText() const {
    return QStringToSjis(lvLvPt->text());
}

bool ResultForm::StoreResult() {
    const int song = cbMusicList->currentIndex();
    const int difficulty = cbLevel->currentIndex();
    const int mode = cbMode->currentIndex();
    // Without a chart in the pickers there is nothing to store into.
    if (song < 0 || song >= MusicCount || difficulty < 0 || mode < 0) return false;
    TMusicList& music = MusicTable[song];
    TChartResult& chart = music.SkillList.Chart[mode * 3 + difficulty];

    // Read through the fields' ranges: Enter may close the dialog before a
    // field has corrected a typed "150" or "-5".
    for (int j = 0; j < 6; ++j) {
        chart.Value(0, j) = edR[j]->Value();
        chart.Value(1, j) = edN[j]->Value();
    }
    chart.Rate = PendingRate;
    chart.TotalNotes = edN[6]->Value();
    chart.InputMode = StoredInputMode(inputMarker_, btnOptAuto->isChecked());
    music.UpdateTime = FormatTime(Now(), "mm/dd hh:nn");
    music.Comment = CommentForStorage(edComment->SjisText());
    music.Changed = true;
    return true;
}

bool ResultForm::FormKeyDown(const QKeyEvent& key) {
    // An open picker list keeps its own keys.
    if (QApplication::activePopupWidget() != nullptr) return false;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!btnOk->isEnabled()) return false;
        accept();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return false;
    }
}

bool ResultForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<const QKeyEvent&>(*event))) return true;
    return QDialog::eventFilter(watched, event);
}
