// The main window's fixed structure: the column tables and the builders the
// constructor runs, so that the window stands whole before FormCreate.

#include "ui/MainForm.h"

#include "data/Edition.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/QtText.h"
#include "ui/Artwork.h"
#include "ui/ListRows.h"
#include "ui/MainFormParts.h"
#include "ui/ResultDataFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct Column {
    const char* Caption;
    int Width; // 0: the toolkit's default
};

// LVmain, guitar edition; the drum edition leaves out the BASS and OPEN PICK levels.
const Column kMainColumns[MainForm::kMainColumnsMax] = {
    {"ID", 70},    {"曲名", 250},        {"BPM", 30},       {"BAS", 42},      {"ADV", 42},   {"EXT", 42},
    {"BAS_B", 42}, {"ADV_B", 42},        {"EXT_B", 42},     {"BAS_O", 42},    {"ADV_O", 42}, {"EXT_O", 42},
    {"SKILL", 0},  {"Information", 100}, {"コメント", 200}, {"更新日時", 80},
};
constexpr int kMainAfterLevels = 12;

// LVskill: four fixed columns, then five per chart.
const char* const kSkillChartTags[9][2] = {
    {"B", "BAS"},     {"A", "ADV"},     {"E", "EXT"},     {"B_B", "BAS_B"}, {"A_B", "ADV_B"},
    {"E_B", "EXT_B"}, {"B_O", "BAS_O"}, {"A_O", "ADV_O"}, {"E_O", "EXT_O"},
};

const char* const kBatchChartHeaders[9] = {"BSC",    "ADV",    "EXT",    "BSC(B)", "ADV(B)",
                                           "EXT(B)", "BSC(O)", "ADV(O)", "EXT(O)"};

const char* const kConditions[6] = {
    "とりあえず上限か？またはPerfect率を上げろ（達成率90%以上の曲）",
    "フルコンボ待ち（達成率80%以上でフルコンボしていない曲）",
    "Ｓランクねらい（達成率80%未満の曲）",
    "とりあえず練習（達成率70%以下の曲）",
    "達成率の残りポイント（SPの理論最大値－現在のSP値の差が大きい曲）",
    "全曲の状況",
};

const char* const kPlayModeTabs[3] = {"STANDARD", "BASS", "OPEN PICK"};

// The twelve display toggles in their order on the panel (the last four are
// never visible): index into btnDisp (-1 All, -2 Fav, -3 Nor), hint, mark, tile colour.
struct Toggle {
    int Which;
    const char* Hint;
    const char* Mark;
    QColor Tile;
};
const Toggle kToggles[12] = {
    {-1, "全曲表示（強制）", "全", QColor(90, 90, 90)},
    {-2, "お気に入り分を表示", "★", QColor(220, 150, 0)},
    {0, "新曲を表示", "新", QColor(200, 40, 40)},
    {-3, "通常曲を表示", "通", QColor(40, 110, 190)},
    {1, "ロングバージョンを表示", "L", QColor(40, 140, 60)},
    {6, "ノンストップオーダ曲を表示", "N", QColor(120, 60, 170)},
    {5, "隠し・解禁曲を表示", "隠", QColor(60, 60, 60)},
    {2, "復活曲を表示", "復", QColor(180, 100, 40)},
    {3, "e-amusment専用曲を表示", "e", QColor(0, 130, 150)},
    {4, "ee'Mall曲を表示", "ee", QColor(0, 110, 130)},
    {7, "ギタドチャンコ曲を表示", "C", QColor(150, 120, 0)},
    {8, "ギタドキング曲を表示", "K", QColor(150, 0, 90)},
};

QToolButton* MakeToolButton(QWidget* parent, const char* name, const char* caption, const char* hint,
                            ToolGlyph glyph) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIcon(MakeToolGlyph(glyph));
    button->setIconSize(QSize(24, 24));
    button->setToolTip(UiText(hint));
    if (caption != nullptr) {
        button->setText(UiText(caption));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    return button;
}

QTreeWidget* MakeList(QWidget* parent, const char* name, const QStringList& captions) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setFont(FixedPitchFont(12));
    list->setIconSize(QSize(20, 20));
    list->setItemDelegate(new GridLineDelegate(list));
    list->setStyle(new RowFocusStyle(list));
    TickBoxesBySpace(list);
    list->setColumnCount(static_cast<int>(captions.size()));
    list->setHeaderLabels(captions);
    // The style's minimum (about a caption's width) would widen the 30-px BPM column.
    list->header()->setMinimumSectionSize(8);
    list->header()->setSectionsClickable(true);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

} // namespace

QTableWidgetItem* BatchCell(QTableWidget* grid, int row, int column) {
    QTableWidgetItem* cell = grid->item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem();
        if (column == 0) {
            cell->setFlags(Qt::ItemIsEnabled); // the status column is fixed
            cell->setBackground(grid->palette().color(QPalette::Button));
        } else if (column == 1) {
            cell->setFlags(Qt::ItemIsEnabled); // names can be neither edited nor selected
        }
        grid->setItem(row, column, cell);
    }
    return cell;
}

MainForm::MainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(UiText("ギタドラのPelorin.NET"));
    setWindowIcon(MakeAppIcon());
    resize(800, 555);
    // Small enough for the first start's 600 x 450; the layouts would ask more.
    setMinimumSize(320, 240);
    ILmain = MakeRowImages();
    SortDirection.Main.fill(1);
    SortDirection.Skill.fill(1);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("pnlClient"));
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    setCentralWidget(client);

    BuildToolBar(client);
    PageControl1 = new QTabWidget(client);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);
    {
        // Adding the first page selects it; no page handler may run for that.
        const QSignalBlocker blocker(PageControl1);
        BuildSongPage();
        BuildBatchPage();
        BuildAdvicePage();
        PageControl1->setCurrentWidget(TabSheet1);
    }
    BuildStatusBar();
    BuildMenus();
    ConnectHandlers();
}

MainForm::~MainForm() = default;

void MainForm::BuildToolBar(QWidget* parent) {
    auto* outer = static_cast<QVBoxLayout*>(parent->layout());

    auto* top = new QFrame(parent);
    top->setObjectName(QStringLiteral("PnlTop"));
    top->setFrameShape(QFrame::StyledPanel);
    PnlTop = top;
    auto* bar = new QHBoxLayout(top);
    bar->setContentsMargins(2, 0, 2, 0);
    bar->setSpacing(1);
    btnExit = MakeToolButton(top, "btnExit", nullptr, "アプリケーションの終了", ToolGlyph::Exit);
    btnComp = MakeToolButton(top, "btnComp", "再計算", "スキルポイントを再計算する", ToolGlyph::Comp);
    btnSend = MakeToolButton(top, "btnSend", "送受信", "WEBサーバーとデータの送受信を行う", ToolGlyph::Send);
    btnExport = MakeToolButton(top, "btnExport", "出力設定", "データをファイルに出力する設定を行う",
                               ToolGlyph::Export);
    btnTxtOut = MakeToolButton(top, "btnTxtOut", nullptr, "テキスト形式で出力する", ToolGlyph::TxtOut);
    btnHtmlOut = MakeToolButton(top, "btnHtmlOut", nullptr, "HTML形式で出力する", ToolGlyph::HtmlOut);
    btnOption = MakeToolButton(top, "btnOption", "設定", "設定画面を表示する", ToolGlyph::Option);
    for (QToolButton* button : {btnExit, btnComp, btnSend, btnExport, btnTxtOut, btnHtmlOut, btnOption})
        bar->addWidget(button);
    bar->addStretch(1);
    outer->addWidget(top);

    // The three panels fit side by side in the first start's 600 px.
    auto* row = new QHBoxLayout();
    row->setSpacing(2);

    pnMode = new QLabel(SjisToQString(" " + CurrentEdition().GameName), parent);
    pnMode->setObjectName(QStringLiteral("pnMode"));
    pnMode->setFrameShape(QFrame::Panel);
    pnMode->setFrameShadow(QFrame::Raised);
    QFont modeFont = pnMode->font();
    modeFont.setBold(true);
    modeFont.setPixelSize(14);
    pnMode->setFont(modeFont);
    QPalette modePalette = pnMode->palette();
    modePalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    pnMode->setPalette(modePalette);
    row->addWidget(pnMode);

    pnlSkill = new QFrame(parent);
    pnlSkill->setObjectName(QStringLiteral("pnlSkill"));
    pnlSkill->setFrameShape(QFrame::Panel);
    pnlSkill->setFrameShadow(QFrame::Raised);
    pnlSkill->setAutoFillBackground(true);
    QPalette skillPanel = pnlSkill->palette();
    skillPanel.setColor(QPalette::Window, QColor(221, 238, 221));
    pnlSkill->setPalette(skillPanel);
    auto* skillLayout = new QHBoxLayout(pnlSkill);
    skillLayout->setContentsMargins(2, 0, 4, 0);
    skillLayout->addWidget(new QLabel(UiText(" 予想スキルポイント"), pnlSkill));
    stSkillPoint = new QLineEdit(pnlSkill);
    stSkillPoint->setObjectName(QStringLiteral("stSkillPoint"));
    stSkillPoint->setReadOnly(true);
    stSkillPoint->setFocusPolicy(Qt::NoFocus);
    stSkillPoint->setFont(FixedPitchFont(15, true));
    stSkillPoint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stSkillPoint->setFixedWidth(100);
    QPalette totalPalette = stSkillPoint->palette();
    totalPalette.setColor(QPalette::Base, QColor(64, 0, 64));
    totalPalette.setColor(QPalette::Text, QColor(255, 255, 255));
    stSkillPoint->setPalette(totalPalette);
    skillLayout->addWidget(stSkillPoint);
    row->addWidget(pnlSkill);

    pnlDispSw = new QFrame(parent);
    pnlDispSw->setObjectName(QStringLiteral("pnlDispSw"));
    pnlDispSw->setFrameShape(QFrame::Panel);
    pnlDispSw->setFrameShadow(QFrame::Raised);
    auto* toggleLayout = new QHBoxLayout(pnlDispSw);
    toggleLayout->setContentsMargins(2, 2, 2, 2);
    toggleLayout->setSpacing(0);
    toggleLayout->addWidget(new QLabel(UiText(" 表示切替"), pnlDispSw));
    for (const Toggle& toggle : kToggles) {
        auto* button = new QToolButton(pnlDispSw);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(23, 18);
        button->setIconSize(QSize(16, 14));
        button->setIcon(MakeToggleGlyph(UiText(toggle.Mark), toggle.Tile));
        button->setToolTip(UiText(toggle.Hint));
        switch (toggle.Which) {
        case -1:
            btnDispAll = button;
            button->setObjectName(QStringLiteral("btnDispAll"));
            break;
        case -2:
            btnDispFav = button;
            button->setObjectName(QStringLiteral("btnDispFav"));
            break;
        case -3:
            btnDispNor = button;
            button->setObjectName(QStringLiteral("btnDispNor"));
            break;
        default:
            btnDisp[static_cast<std::size_t>(toggle.Which)] = button;
            button->setObjectName(QStringLiteral("btnDisp%1").arg(toggle.Which));
            break;
        }
        toggleLayout->addWidget(button);
    }
    for (int k : {3, 4, 7, 8})
        btnDisp[static_cast<std::size_t>(k)]->setVisible(false);
    btnDispAll->setChecked(true);
    row->addWidget(pnlDispSw);
    row->addStretch(1);
    outer->addLayout(row);
}

void MainForm::BuildSongPage() {
    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet1->setProperty("Tag", 1);
    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(2, 2, 2, 0);
    page->setSpacing(2);

    QStringList captions;
    const bool guitar = ChartCount() == 9;
    for (int column = 0; column < kMainColumnsMax; ++column)
        if (guitar || column < 6 || column >= kMainAfterLevels)
            captions << UiText(kMainColumns[column].Caption);
    LVmain = MakeList(TabSheet1, "LVmain", captions);
    for (int column = 0, shown = 0; column < kMainColumnsMax; ++column) {
        if (!guitar && column >= 6 && column < kMainAfterLevels) continue;
        if (kMainColumns[column].Width > 0) LVmain->setColumnWidth(shown, kMainColumns[column].Width);
        ++shown;
    }
    page->addWidget(LVmain, 1);

    GroupBox1 = new QGroupBox(UiText("詳細"), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* detail = new QHBoxLayout(GroupBox1);
    detail->setContentsMargins(6, 0, 6, 0);

    auto* song = new QVBoxLayout();
    // The play-mode tabs head the song's column, level with the frames they
    // switch: above the frames they would cost the song list its rows at the
    // first start's 600 x 450.
    tcPlayMode = new QTabBar(GroupBox1);
    tcPlayMode->setObjectName(QStringLiteral("tcPlayMode"));
    tcPlayMode->setToolTip(UiText("プレイモード選択"));
    tcPlayMode->setExpanding(false);
    {
        // Adding the first tab selects it; the tab handler runs only on the player's change.
        const QSignalBlocker blocker(tcPlayMode);
        for (int mode = 0; mode < CurrentEdition().PlayModes && mode < 3; ++mode)
            tcPlayMode->addTab(QString::fromLatin1(kPlayModeTabs[mode]));
        tcPlayMode->setCurrentIndex(0);
    }
    song->addWidget(tcPlayMode, 0, Qt::AlignLeft);
    lbMusicNM = new QLabel(GroupBox1);
    lbMusicNM->setObjectName(QStringLiteral("lbMusicNM"));
    lbMusicNM->setWordWrap(true);
    QFont nameFont = lbMusicNM->font();
    nameFont.setBold(true);
    lbMusicNM->setFont(nameFont);
    lbMusicInfo = new QLabel(GroupBox1);
    lbMusicInfo->setObjectName(QStringLiteral("lbMusicInfo"));
    lbMusicInfo->setWordWrap(true);
    lbBpm = new QLabel(GroupBox1);
    lbBpm->setObjectName(QStringLiteral("lbBpm"));
    song->addWidget(lbMusicNM);
    song->addWidget(lbMusicInfo);
    song->addWidget(lbBpm);
    auto* flags = new QHBoxLayout();
    lbMusicFlg1 = new QLabel(UiText("ロングバージョン"), GroupBox1);
    lbMusicFlg1->setObjectName(QStringLiteral("lbMusicFlg1"));
    lbMusicFlg2 = new QLabel(UiText("e-AMU対応曲"), GroupBox1);
    lbMusicFlg2->setObjectName(QStringLiteral("lbMusicFlg2"));
    lbMusicFlg3 = new QLabel(UiText("ee'MALL専用"), GroupBox1);
    lbMusicFlg3->setObjectName(QStringLiteral("lbMusicFlg3"));
    for (QLabel* flag : {lbMusicFlg1, lbMusicFlg2, lbMusicFlg3}) {
        flag->setEnabled(false);
        flags->addWidget(flag);
    }
    flags->addStretch(1);
    song->addLayout(flags);
    song->addStretch(1);
    detail->addLayout(song, 1);

    auto* frames = new QHBoxLayout();
    frames->setSpacing(2);
    // Row titles drawn to the left of the three frames, level with their rows.
    auto* titles = new QWidget(GroupBox1);
    titles->setObjectName(QStringLiteral("pnlRowTitles"));
    titles->setFixedSize(72, ResultDataFrame::kFrameHeight);
    const char* const kRowTitles[8] = {"PERFECT", "GREAT",     "GOOD",   "POOR",
                                       "MISS",    "MAX COMBO", "達成率", "SKILL"};
    for (int n = 0; n < 8; ++n) {
        auto* title = new QLabel(UiText(kRowTitles[n]), titles);
        title->setGeometry(0, ResultDataFrame::ValueRowTop(n), 70, 14);
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont font = title->font();
        font.setPixelSize(11);
        title->setFont(font);
    }
    frames->addWidget(titles);
    ResultDataBSC = new ResultDataFrame(GroupBox1);
    ResultDataBSC->setObjectName(QStringLiteral("ResultDataBSC"));
    ResultDataADV = new ResultDataFrame(GroupBox1);
    ResultDataADV->setObjectName(QStringLiteral("ResultDataADV"));
    ResultDataEXT = new ResultDataFrame(GroupBox1);
    ResultDataEXT->setObjectName(QStringLiteral("ResultDataEXT"));
    for (ResultDataFrame* frame : {ResultDataBSC, ResultDataADV, ResultDataEXT})
        frames->addWidget(frame);
    detail->addLayout(frames);
    page->addWidget(GroupBox1);

    PageControl1->addTab(TabSheet1, UiText("スキル状況"));
}

void MainForm::BuildBatchPage() {
    TabSheet3 = new QWidget(PageControl1);
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    TabSheet3->setProperty("Tag", 1);
    auto* page = new QVBoxLayout(TabSheet3);
    page->setContentsMargins(2, 2, 2, 2);

    auto* tools = new QHBoxLayout();
    btnBatchUpdate = MakeToolButton(TabSheet3, "btnBatchUpdate", "一括更新", "入力したデータを一括更新する",
                                    ToolGlyph::BatchUpdate);
    btnBatchClear = MakeToolButton(TabSheet3, "btnBatchClear", "元に戻す",
                                   "表示データを入力前に戻します（再表示）", ToolGlyph::BatchClear);
    cbBatUpdateFlg = new QCheckBox(UiText("スキルポイントが上昇したデータのみ更新"), TabSheet3);
    cbBatUpdateFlg->setObjectName(QStringLiteral("cbBatUpdateFlg"));
    cbBatUpdateFlg->setChecked(true);
    tools->addWidget(btnBatchUpdate);
    tools->addWidget(btnBatchClear);
    tools->addSpacing(12);
    tools->addWidget(cbBatUpdateFlg);
    tools->addStretch(1);
    page->addLayout(tools);

    // The header row is the grid's horizontal header, so the grid's rows are
    // the song rows: row r of the grid is the (r + 1)-th shown song.
    const int charts = ChartCount();
    grdBatch = new QTableWidget(1, charts + 3, TabSheet3);
    grdBatch->setObjectName(QStringLiteral("grdBatch"));
    QStringList headers;
    headers << UiText("状態") << UiText("曲名");
    for (int c = 0; c < charts; ++c)
        headers << QString::fromLatin1(kBatchChartHeaders[c]);
    headers << UiText("コメント");
    grdBatch->setHorizontalHeaderLabels(headers);
    // "BSC(O)" and "ADV(O)" fit the 40-px chart columns only in the smaller face.
    grdBatch->horizontalHeader()->setFont(ProportionalFont(11));
    grdBatch->horizontalHeader()->setDefaultSectionSize(80);
    grdBatch->horizontalHeader()->setStretchLastSection(false);
    grdBatch->verticalHeader()->setVisible(false);
    grdBatch->verticalHeader()->setMinimumSectionSize(12);
    grdBatch->verticalHeader()->setDefaultSectionSize(16);
    grdBatch->setColumnWidth(0, 60);
    grdBatch->setColumnWidth(1, 200);
    for (int c = 0; c < charts; ++c)
        grdBatch->setColumnWidth(2 + c, 40);
    grdBatch->setColumnWidth(charts + 2, 200);
    grdBatch->setSelectionMode(QAbstractItemView::SingleSelection);
    grdBatch->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grdBatch->setTabKeyNavigation(true);
    for (int column = 0; column < grdBatch->columnCount(); ++column)
        BatchCell(grdBatch, 0, column);
    page->addWidget(grdBatch, 1);

    PageControl1->addTab(TabSheet3, UiText("一括更新"));
}

void MainForm::BuildAdvicePage() {
    TabSheet2 = new QWidget(PageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet2->setProperty("Tag", 0);
    auto* page = new QVBoxLayout(TabSheet2);
    page->setContentsMargins(2, 2, 2, 2);

    GroupBox2 = new QGroupBox(UiText("条件"), TabSheet2);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* condition = new QHBoxLayout(GroupBox2);
    condition->setContentsMargins(6, 2, 6, 4);
    cbWhere = new QComboBox(GroupBox2);
    cbWhere->setObjectName(QStringLiteral("cbWhere"));
    for (const char* caption : kConditions)
        cbWhere->addItem(UiText(caption));
    cbWhere->setCurrentIndex(-1); // no condition is chosen when the window opens
    cbWhere->setMinimumWidth(480);
    condition->addWidget(cbWhere);
    condition->addStretch(1);
    page->addWidget(GroupBox2);

    const int charts = ChartCount();
    QStringList captions;
    captions << QStringLiteral("ID") << UiText("曲名") << UiText("ポイント") << QStringLiteral("RANK");
    for (int c = 0; c < charts; ++c) {
        const QString shortTag = QString::fromLatin1(kSkillChartTags[c][0]);
        captions << QStringLiteral("LV(%1)").arg(shortTag)
                 << QStringLiteral("RESULT(%1)").arg(QString::fromLatin1(kSkillChartTags[c][1]))
                 << QStringLiteral("COMBO(%1)").arg(shortTag) << UiText("達成率(%1)").arg(shortTag)
                 << QStringLiteral("SP(%1)").arg(shortTag);
    }
    LVskill = MakeList(TabSheet2, "LVskill", captions);
    LVskill->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVskill->setColumnWidth(0, 70);
    LVskill->setColumnWidth(1, 250);
    LVskill->setColumnWidth(2, 70);
    LVskill->setColumnWidth(3, 50);
    for (int c = 0; c < charts; ++c) {
        const int first = 4 + 5 * c;
        LVskill->setColumnWidth(first, 50);
        LVskill->setColumnHidden(first + 1, true); // RESULT and COMBO have width 0
        LVskill->setColumnHidden(first + 2, true);
        LVskill->setColumnWidth(first + 3, 75);
        LVskill->setColumnWidth(first + 4, 75);
    }
    page->addWidget(LVskill, 1);

    PageControl1->addTab(TabSheet2, UiText("Pelorin？"));
}

void MainForm::BuildStatusBar() {
    SBinfo = new QStatusBar(this);
    SBinfo->setObjectName(QStringLiteral("SBinfo"));
    setStatusBar(SBinfo);
    const int widths[3] = {160, 180, 50};
    for (int panel = 0; panel < 3; ++panel) {
        auto* label = new QLabel(SBinfo);
        label->setObjectName(QStringLiteral("SBinfoPanel%1").arg(panel));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (panel < 2) {
            label->setFixedWidth(widths[panel]);
            SBinfo->addWidget(label);
        } else {
            // The last panel takes the rest of the bar.
            label->setMinimumWidth(widths[panel]);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SBinfo->addWidget(label, 1);
        }
        SBinfoPanels[static_cast<std::size_t>(panel)] = label;
    }
    SetStatusText(1, "MODE:" + CurrentEdition().GameName);
    SBinfoPanels[2]->setText(UiText("ギタドラのPelorin.NET R24OS　　　"));
}

void MainForm::BuildMenus() {
    pmnMain = new QMenu(this);
    pmnMain->setObjectName(QStringLiteral("pmnMain"));
    auto add = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(UiText(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnBAS = add(pmnMain, "mnBAS", "BAS リザルト入力");
    mnBAS->setData(1); // the Tag: difficulty + 1
    mnADV = add(pmnMain, "mnADV", "ADV リザルト入力");
    mnADV->setData(2);
    mnEXT = add(pmnMain, "mnEXT", "EXT リザルト入力");
    mnEXT->setData(3);
    pmnMain->addSeparator();
    N4 = add(pmnMain, "N4", "表示行をチェックする");
    N5 = add(pmnMain, "N5", "表示行のチェックを外す");
    pmnMain->addSeparator();
    mnMusicEdit = add(pmnMain, "mnMusicEdit", "曲データ編集");

    pmnMain2 = new QMenu(this);
    pmnMain2->setObjectName(QStringLiteral("pmnMain2"));
    mnCopy1 = add(pmnMain2, "mnCopy1", "選択分の曲名をコピー");
    mnCopy2 = add(pmnMain2, "mnCopy2", "選択分の曲名・レベルをコピー");
    mnCopy3 = add(pmnMain2, "mnCopy3", "選択分の曲名・レベル・残SPをコピー");
}
