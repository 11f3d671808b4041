#include "export/ExportForm.h"

#include "data/Recalc.h"
#include "data/Unitini.h"
#include "export/ExportDocument.h"
#include "export/RadioGroup.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/IntConv.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>

namespace {

QCheckBox* NewCheckBox(const char* name, const char* caption, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(UiText(caption), parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

// Choice from the list only; no item chosen until the settings are applied.
QComboBox* NewDropDown(const char* name, const QStringList& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

RadioGroup* NewRadioGroup(const char* name, const char* caption, const QStringList& items, int columns,
                          QWidget* parent) {
    auto* group = new RadioGroup(UiText(caption), items, columns, parent);
    group->setObjectName(name);
    group->SetItemIndex(0);
    return group;
}

QGroupBox* NewGroupBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QGroupBox(UiText(caption), parent);
    box->setObjectName(name);
    return box;
}

} // namespace

ExportForm::ExportForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ExportForm");
    setWindowTitle(UiText("出力 エクスポート"));
    setFont(ProportionalFont(12));

    pagExport = new QTabWidget(this);
    pagExport->setObjectName("pagExport");

    // Page "テキスト出力".
    auto* tabText = new QWidget;
    tabText->setObjectName("tabText");
    rgText1 = NewRadioGroup("rgText1", "出力先", {UiText("テキストファイル"), UiText("クリップボード")}, 1,
                            tabText);
    QGroupBox* GroupBox3 = NewGroupBox("GroupBox3", "出力対象", tabText);
    cbRow1 = NewCheckBox("cbRow1", "スキル対象曲", true, GroupBox3);
    cbRow1->setEnabled(false); // the counted songs are always exported
    cbRow2 = NewCheckBox("cbRow2", "非対象曲", false, GroupBox3);
    auto* targetLayout = new QVBoxLayout(GroupBox3);
    targetLayout->addWidget(cbRow1);
    targetLayout->addWidget(cbRow2);

    QGroupBox* GroupBox1 = NewGroupBox("GroupBox1", "フォーマット設定", tabText);
    ComboBox1 = NewDropDown("ComboBox1", {UiText("正式名"), UiText("略称")}, GroupBox1);
    ComboBox2 = NewDropDown("ComboBox2", {UiText("グループ単位"), UiText("曲単位")}, GroupBox1);
    ComboBox3 = NewDropDown("ComboBox3",
                            {UiText("曲名 （達成率）難易度"), UiText("曲名 難易度（達成率）"),
                             UiText("難易度 曲名（達成率）"), UiText("達成率 曲名  難易度"),
                             UiText("難易度（達成率）曲名"), UiText("（達成率）難易度 曲名"),
                             UiText("曲名 （達成率）")},
                            GroupBox1);
    ComboBox4 = NewDropDown("ComboBox4", {UiText("なし"), UiText("プレイランク")}, GroupBox1);
    ComboBox5 = NewDropDown("ComboBox5", {UiText("BAS,ADV,EXT"), UiText("緑、黄、赤")}, GroupBox1);
    ComboBox6 = NewDropDown("ComboBox6", {UiText("１００％"), UiText("MAX")}, GroupBox1);
    ComboBox7 = NewDropDown("ComboBox7", {UiText("０％"), UiText("未プレイ")}, GroupBox1);
    auto* formatLayout = new QFormLayout(GroupBox1);
    formatLayout->setContentsMargins(4, 4, 4, 4);
    formatLayout->setHorizontalSpacing(4);
    formatLayout->setVerticalSpacing(3);
    formatLayout->addRow(UiText("曲名"), ComboBox1);
    formatLayout->addRow(UiText("改行"), ComboBox2);
    formatLayout->addRow(UiText("出力形式"), ComboBox3);
    formatLayout->addRow(UiText("グループ化"), ComboBox4);
    formatLayout->addRow(UiText("難易度表記"), ComboBox5);
    formatLayout->addRow(UiText("達成率100%"), ComboBox6);
    formatLayout->addRow(UiText("達成率0%"), ComboBox7);

    auto* textLeft = new QVBoxLayout;
    textLeft->addWidget(rgText1);
    textLeft->addWidget(GroupBox3);
    textLeft->addStretch();
    // Tight margins leave the long layout captions room at this fixed size:
    // "出力形式" shows its longest item whole only with these.
    auto* textLayout = new QHBoxLayout(tabText);
    textLayout->setContentsMargins(2, 4, 2, 4);
    textLayout->setSpacing(2);
    textLayout->addLayout(textLeft);
    textLayout->addWidget(GroupBox1, 1);
    pagExport->addTab(tabText, UiText("テキスト出力"));

    // Page "HTML出力".
    auto* tabHtml = new QWidget;
    tabHtml->setObjectName("tabHtml");
    QGroupBox* GroupBox2 = NewGroupBox("GroupBox2", "出力項目", tabHtml);
    cbItem2 = NewCheckBox("cbItem2", "レベル表記（BAS,ADV,EXT...）", true, GroupBox2);
    cbItem3 = NewCheckBox("cbItem3", "レベル難易度数値(99,98,97...)", true, GroupBox2);
    cbItem4 = NewCheckBox("cbItem4", "プレイ評価(SS,S,A...)", true, GroupBox2);
    cbItem5 = NewCheckBox("cbItem5", "コンボ率(99,98,97...)", true, GroupBox2);
    cbItem6 = NewCheckBox("cbItem6", "リザルト各判定取得率(Perf/Grt/God...)", false, GroupBox2);
    cbItem7 = NewCheckBox("cbItem7", "達成率", true, GroupBox2);
    cbItem8 = NewCheckBox("cbItem8", "取得スキルポイント", false, GroupBox2);
    cbItem9 = NewCheckBox("cbItem9", "コメント", false, GroupBox2);
    auto* itemLayout = new QVBoxLayout(GroupBox2);
    itemLayout->setContentsMargins(4, 2, 4, 2);
    itemLayout->setSpacing(0);
    for (QCheckBox* box : {cbItem2, cbItem3, cbItem4, cbItem5, cbItem6, cbItem7, cbItem8, cbItem9})
        itemLayout->addWidget(box);

    QGroupBox* GroupBox4 = NewGroupBox("GroupBox4", "出力対象", tabHtml);
    CheckBox1 = NewCheckBox("CheckBox1", "スキル対象曲", true, GroupBox4);
    CheckBox1->setEnabled(false);
    CheckBox2 = NewCheckBox("CheckBox2", "非対象曲", false, GroupBox4);
    auto* htmlTargetLayout = new QVBoxLayout(GroupBox4);
    htmlTargetLayout->addWidget(CheckBox1);
    htmlTargetLayout->addWidget(CheckBox2);

    rgHtml1 = NewRadioGroup("rgHtml1", "曲名", {UiText("正式名"), UiText("略称")}, 1, tabHtml);
    rgHtml2 =
        NewRadioGroup("rgHtml2", "難易度表記", {UiText("BAS,ADV,EXT"), UiText("緑、黄、赤")}, 1, tabHtml);
    rgHtml3 = NewRadioGroup("rgHtml3", "達成率100％", {UiText("１００％"), UiText("MAX")}, 1, tabHtml);
    rgHtml4 = NewRadioGroup("rgHtml4", "達成率0％", {UiText("０％"), UiText("未プレイ")}, 1, tabHtml);

    auto* htmlLeft = new QVBoxLayout;
    htmlLeft->addWidget(GroupBox2);
    htmlLeft->addWidget(GroupBox4);
    htmlLeft->addStretch();
    auto* htmlRight = new QVBoxLayout;
    htmlRight->setSpacing(2);
    for (RadioGroup* group : {rgHtml1, rgHtml2, rgHtml3, rgHtml4})
        htmlRight->addWidget(group);
    htmlRight->addStretch();
    auto* htmlLayout = new QHBoxLayout(tabHtml);
    htmlLayout->setContentsMargins(4, 4, 4, 4);
    htmlLayout->setSpacing(4);
    htmlLayout->addLayout(htmlLeft, 1);
    htmlLayout->addLayout(htmlRight);
    pagExport->addTab(tabHtml, UiText("HTML出力"));
    pagExport->setCurrentIndex(0);

    chYmOut = NewCheckBox("chYmOut", "出力ファイル名に日時を付加する", false, this);
    btnExport = new QPushButton(UiText("出力"), this);
    btnExport->setObjectName("btnExport");
    btnExport->setDefault(true);
    btnCancel = new QPushButton(UiText("閉じる"), this);
    btnCancel->setObjectName("btnCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chYmOut);
    buttons->addStretch();
    buttons->addWidget(btnExport);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pagExport, 1);
    layout->addLayout(buttons);

    connect(btnExport, &QPushButton::clicked, this, [this] { Guarded([this] { btnExportClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });

    setFixedSize(392, 350);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

std::vector<ExportForm::Setting> ExportForm::Settings() const {
    auto check = [](const char* section, const char* key, const char* def, QCheckBox* box) {
        return Setting{section, key, def, [box] { return BoolToFlagStr(box->isChecked()); },
                       [box](const SjisString& text) { box->setChecked(FlagStrToBool(text)); }};
    };
    auto radio = [](const char* section, const char* key, RadioGroup* group) {
        return Setting{section, key, "0", [group] { return SjisString(std::to_string(group->ItemIndex())); },
                       [group](const SjisString& text) { group->SetItemIndex(StrToInt(text)); }};
    };
    auto dropDown = [](const char* section, const char* key, QComboBox* combo) {
        return Setting{section, key, "0",
                       [combo] { return SjisString(std::to_string(combo->currentIndex())); },
                       [combo](const SjisString& text) {
                           combo->setCurrentIndex(DropDownIndex(StrToInt(text), combo->count()));
                       }};
    };
    // In the order the keys are read and written.
    // clang-format off
    return {
        radio("ExportText", "sw1", rgText1),
        check("ExportText", "sw3", "0", cbRow2),
        dropDown("ExportText", "sw4", ComboBox1),
        dropDown("ExportText", "sw5", ComboBox2),
        dropDown("ExportText", "sw6", ComboBox3),
        dropDown("ExportText", "sw7", ComboBox4),
        dropDown("ExportText", "sw8", ComboBox5),
        dropDown("ExportText", "sw9", ComboBox6),
        dropDown("ExportText", "sw10", ComboBox7),
        check("ExportHtml", "sw1", "1", cbItem2),
        check("ExportHtml", "sw2", "1", cbItem3),
        check("ExportHtml", "sw3", "1", cbItem4),
        check("ExportHtml", "sw4", "1", cbItem5),
        check("ExportHtml", "sw5", "0", cbItem6),
        check("ExportHtml", "sw6", "1", cbItem7),
        check("ExportHtml", "sw7", "0", cbItem8),
        check("ExportHtml", "sw8", "0", cbItem9),
        check("ExportHtml", "sw9", "0", CheckBox2),
        radio("ExportHtml", "sw10", rgHtml1),
        radio("ExportHtml", "sw11", rgHtml2),
        radio("ExportHtml", "sw12", rgHtml3),
        radio("ExportHtml", "sw13", rgHtml4),
        check("Export", "sw0", "0", chYmOut),
    };
    // clang-format on
}

void ExportForm::FormCreate() {
    for (const Setting& setting : Settings())
        setting.Set(IniReadString(setting.Section, setting.Key, setting.Default));
}

void ExportForm::FormDestroy() {
    WriteSettings();
}

void ExportForm::WriteSettings() {
    for (const Setting& setting : Settings())
        IniWriteString(setting.Section, setting.Key, setting.Get());
}

ExportOptions ExportForm::Options() const {
    ExportOptions options;
    TextExportOptions& text = options.Text;
    text.Destination = rgText1->ItemIndex();
    text.OtherSongs = cbRow2->isChecked();
    text.NameChoice = ComboBox1->currentIndex();
    text.Separator = ComboBox2->currentIndex();
    text.Layout = ComboBox3->currentIndex();
    text.Grouping = ComboBox4->currentIndex();
    text.LabelSet = ComboBox5->currentIndex();
    text.Rate100 = ComboBox6->currentIndex();
    text.Rate0 = ComboBox7->currentIndex();

    HtmlExportOptions& html = options.Html;
    html.LevelLabel = cbItem2->isChecked();
    html.LevelNumber = cbItem3->isChecked();
    html.Grade = cbItem4->isChecked();
    html.Combo = cbItem5->isChecked();
    html.Result = cbItem6->isChecked();
    html.Rate = cbItem7->isChecked();
    html.SkillPoints = cbItem8->isChecked();
    html.Comment = cbItem9->isChecked();
    html.OtherSongs = CheckBox2->isChecked();
    html.NameChoice = rgHtml1->ItemIndex();
    html.LabelSet = rgHtml2->ItemIndex();
    html.Rate100 = rgHtml3->ItemIndex();
    html.Rate0 = rgHtml4->ItemIndex();

    options.DatedFileName = chYmOut->isChecked();
    return options;
}

void ExportForm::ExportSkillList(int kind) {
    const int32_t total = RecalcAllSkills();
    const ExportOutput output = BuildExport(kind, total, Options(), Now());
    // Any failure while writing, including one after the file was created,
    // raises "ファイル %s を作成できません" before the clipboard or the
    // confirmation is touched.
    WriteFileAtomic(output.FileName, output.Text);
    if (output.ToClipboard) SetClipboardText(output.Text);
    ShowNotice(output.Confirmation);
}

void ExportForm::btnExportClick() {
    RunLongOperation(this, [this] { ExportSkillList(pagExport->currentIndex()); });
    QApplication::processEvents();
    accept();
}
