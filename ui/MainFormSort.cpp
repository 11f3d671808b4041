// Sorting, pop-up menus, chart opening, detail panel and exit of the main window.

#include "ui/MainForm.h"

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Recalc.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/QtText.h"
#include "ui/ListRows.h"
#include "ui/ListSort.h"
#include "ui/ProgramMain.h"
#include "ui/ResultDataFrame.h"
#include "ui/ResultForm.h"
#include "ui/SongListRules.h"
#include "ui/SongListTexts.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Sorts every row of a list by one column's text. The rows are moved, not
// rebuilt, so they keep their song keys, images and check boxes; the
// selection, the current row and the scroll position stay, and no list
// handler runs, since the same songs stay selected.
void SortRows(QTreeWidget* list, int column, int32_t sign) {
    const int count = list->topLevelItemCount();
    std::vector<SjisString> keys;
    keys.reserve(static_cast<std::size_t>(count));
    QList<QTreeWidgetItem*> selected;
    for (int r = 0; r < count; ++r) {
        QTreeWidgetItem* row = list->topLevelItem(r);
        keys.push_back(RowText(*row, column));
        if (row->isSelected()) selected.append(row);
    }
    const std::vector<std::size_t> order = SortedRowOrder(keys, sign);

    const QSignalBlocker blocker(list);
    QTreeWidgetItem* current = list->currentItem();
    const int scroll = list->verticalScrollBar()->value();
    const QList<QTreeWidgetItem*> rows = list->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(rows.size());
    for (std::size_t position : order)
        sorted.append(rows[static_cast<qsizetype>(position)]);
    list->addTopLevelItems(sorted);
    if (current != nullptr) list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* row : selected)
        row->setSelected(true);
    list->verticalScrollBar()->setValue(scroll);
}

// The result-entry dialog on one chart; true when the player stored it.
bool EditChart(int32_t song, int32_t difficulty, int32_t playMode) {
    ResultForm* dialog = Windows().Result;
    return dialog != nullptr && dialog->EditResult(song, difficulty, playMode);
}

} // namespace

void MainForm::ConnectSortHandlers() {
    connect(LVmain->header(), &QHeaderView::sectionClicked, this,
            GuardedSlot([this](int column) { LVmainColumnClick(column); }));
    connect(LVskill->header(), &QHeaderView::sectionClicked, this,
            GuardedSlot([this](int column) { LVskillColumnClick(column); }));

    connect(LVmain, &QTreeWidget::itemClicked, this,
            GuardedSlot([this](QTreeWidgetItem*, int) { LVmainClick(LVmain); }));
    for (QTreeWidget* list : {LVmain, LVskill}) {
        connect(list, &QTreeWidget::itemSelectionChanged, this,
                GuardedSlot([this, list] { LVmainChange(list); }));
        connect(list, &QTreeWidget::itemDoubleClicked, this,
                GuardedSlot([this, list](QTreeWidgetItem*, int) { LVmainDblClick(list); }));
    }

    // The pop-up menus open where the player right-clicks; each is enabled as it opens.
    connect(LVmain, &QWidget::customContextMenuRequested, this,
            GuardedSlot([this](const QPoint& at) { pmnMain->popup(LVmain->viewport()->mapToGlobal(at)); }));
    connect(LVskill, &QWidget::customContextMenuRequested, this,
            GuardedSlot([this](const QPoint& at) { pmnMain2->popup(LVskill->viewport()->mapToGlobal(at)); }));
    connect(pmnMain, &QMenu::aboutToShow, this, GuardedSlot([this] { pmnMainPopup(); }));
    connect(pmnMain2, &QMenu::aboutToShow, this, GuardedSlot([this] { pmnMain2Popup(); }));
    for (QAction* item : {mnBAS, mnADV, mnEXT})
        connect(item, &QAction::triggered, this, GuardedSlot([this, item](bool) { mnBASClick(item); }));

    connect(btnExit, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnExitClick(); }));
}

QTreeWidgetItem* MainForm::SelectedRow(const QTreeWidget* list) {
    // On-screen order, whatever order the rows were selected in.
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        if (list->topLevelItem(r)->isSelected()) return list->topLevelItem(r);
    return nullptr;
}

void MainForm::LVmainColumnClick(int column) {
    if (column < 0 || column >= kMainColumnsMax) return;
    MainSortColumn = column;
    int32_t& sign = SortDirection.Main[static_cast<std::size_t>(column)];
    sign = -sign;
    SortRows(LVmain, column, sign);
}

void MainForm::LVskillColumnClick(int column) {
    if (column < 0 || column >= kSkillColumnsMax) return;
    SkillSortColumn = column;
    int32_t& sign = SortDirection.Skill[static_cast<std::size_t>(column)];
    sign = -sign;
    SortRows(LVskill, column, sign);
}

void MainForm::LVmainClick(const QTreeWidget* sender) {
    lbMusicNM->clear();
    lbMusicInfo->clear();
    lbBpm->clear();
    // The song-kind labels stay greyed whatever the song's flags.
    for (QLabel* flag : {lbMusicFlg1, lbMusicFlg2, lbMusicFlg3})
        flag->setEnabled(false);
    const std::array<ResultDataFrame*, 3> frames = {ResultDataBSC, ResultDataADV, ResultDataEXT};
    for (ResultDataFrame* frame : frames) {
        frame->SetActive(false);
        frame->ClearValues();
    }

    const TMusicList* song = RowSong(SelectedRow(sender));
    if (song == nullptr) return;
    lbMusicNM->setText(SjisToQString(DetailNameText(*song)));
    lbMusicInfo->setText(SjisToQString(song->Memo));
    lbBpm->setText(SjisToQString(song->Bpm));
    const std::array<int, 3> charts = DetailCharts(*song, PlayMode, ChartCount());
    for (std::size_t d = 0; d < frames.size(); ++d) {
        if (charts[d] < 0) continue;
        const TChartResult& chart = song->SkillList.Chart[static_cast<std::size_t>(charts[d])];
        frames[d]->SetActive(true);
        frames[d]->ShowResult(chart.PerfectCount, chart.GreatCount, chart.GoodCount, chart.PoorCount,
                              chart.MissCount, chart.ComboCount, chart.PerfectPct, chart.GreatPct,
                              chart.GoodPct, chart.PoorPct, chart.MissPct, chart.ComboPct, chart.Rate / 100.0,
                              chart.SkillPoint / 100.0);
    }
}

void MainForm::LVmainChange(const QTreeWidget* sender) {
    LVmainClick(sender);
}

void MainForm::pmnMainPopup() {
    const std::array<bool, 3> enabled = ResultEntryItemsEnabled(RowSong(SelectedRow(LVmain)));
    mnBAS->setEnabled(enabled[0]);
    mnADV->setEnabled(enabled[1]);
    mnEXT->setEnabled(enabled[2]);
}

void MainForm::pmnMain2Popup() {
    const bool any = SelectedRow(LVskill) != nullptr;
    for (QAction* item : {mnCopy1, mnCopy2, mnCopy3})
        item->setEnabled(any);
}

void MainForm::mnBASClick(const QAction* sender) {
    const QTreeWidgetItem* selected = SelectedRow(LVmain);
    if (RowSong(selected) == nullptr) return;
    // Always a STANDARD chart, whichever play mode the detail panel shows.
    if (EditChart(RowSongIndex(*selected), MenuItemDifficulty(sender->data().toInt()), 0)) btnCompClick();
}

void MainForm::LVmainDblClick(const QTreeWidget* sender) {
    const QTreeWidgetItem* selected = SelectedRow(sender);
    const TMusicList* song = RowSong(selected);
    if (song == nullptr) return;
    const int32_t index = RowSongIndex(*selected);
    const ChartToOpen chart = BestChartToOpen(song->SkillList.BestCode);
    if (!EditChart(index, chart.Difficulty, chart.PlayMode)) return;

    ShowTotal(RecalcAllSkills());

    // Only this song's row of the song list follows; the other rows, its
    // Information column and the advice list wait for the next full refresh.
    QTreeWidgetItem* row = nullptr;
    for (int r = 0; r < LVmain->topLevelItemCount() && row == nullptr; ++r)
        if (RowSongIndex(*LVmain->topLevelItem(r)) == index) row = LVmain->topLevelItem(r);
    if (row == nullptr) return;
    const int skillColumn = MainSkillColumn(ChartCount());
    row->setIcon(0, BestCodeImage(song->SkillList.BestCode));
    SetRowText(*row, 0, RowKeyText(song->Index));
    SetRowText(*row, skillColumn, SkillColumnText(song->SkillList.BestSkill));
    SetRowText(*row, skillColumn + 2, song->Comment);
    SetRowText(*row, skillColumn + 3, song->UpdateTime);
    // A changed row is a change of the list: the detail panel shows the new values.
    LVmainChange(LVmain);
}

void MainForm::btnExitClick() {
    close();
}
