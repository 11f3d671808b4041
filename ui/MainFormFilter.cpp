// Display toggles, the favourites menu items, page switches, play-mode tabs
// and the level-cell colours of the song list.

#include "ui/MainForm.h"

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/gui/EventGuard.h"
#include "ui/FilterRules.h"
#include "ui/ListRows.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QBrush>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <vector>

void MainForm::ConnectFilterHandlers() {
    connect(btnDispAll, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnDispAllClick(); }));
    std::vector<QToolButton*> others{btnDispFav, btnDispNor};
    others.insert(others.end(), btnDisp.begin(), btnDisp.end());
    for (QToolButton* button : others)
        connect(button, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnDispFavClick(); }));

    connect(N4, &QAction::triggered, this, GuardedSlot([this](bool) { N4Click(); }));
    connect(N5, &QAction::triggered, this, GuardedSlot([this](bool) { N5Click(); }));

    pageShown_ = PageControl1->currentWidget();
    connect(PageControl1, &QTabWidget::currentChanged, this, GuardedSlot([this](int) {
                const QWidget* left = pageShown_;
                pageShown_ = PageControl1->currentWidget();
                PageControl1Changing(left);
                PageControl1Change();
            }));
    connect(tcPlayMode, &QTabBar::currentChanged, this, GuardedSlot([this](int) { tcPlayModeChange(); }));

    // The level colours follow each row's own image: they are set when rows
    // are added and again whenever a row's image is replaced in place.
    const auto colourRows = [this](int first, int last) {
        if (addingColouredRows_) return;
        for (int r = first; r <= last; ++r)
            if (QTreeWidgetItem* row = LVmain->topLevelItem(r)) ColourMainRow(*row);
    };
    QAbstractItemModel* model = LVmain->model();
    // rowsInserted carries a private tag argument, so it takes a plain slot that guards itself.
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [colourRows](const QModelIndex& parent, int first, int last) {
                Guarded([&] {
                    if (!parent.isValid()) colourRows(first, last);
                });
            });
    connect(model, &QAbstractItemModel::dataChanged, this,
            GuardedSlot([colourRows](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                     const QList<int>& roles) {
                if (topLeft.parent().isValid() || topLeft.column() != 0) return;
                if (!roles.isEmpty() && !roles.contains(Qt::DecorationRole)) return;
                colourRows(topLeft.row(), bottomRight.row());
            }));
}

void MainForm::btnDispAllClick() {
    DisplayToggles toggles = CurrentToggles();
    AllToggleClicked(toggles);
    SetToggles(toggles);
    btnCompClick();
}

void MainForm::btnDispFavClick() {
    DisplayToggles toggles = CurrentToggles();
    KindToggleClicked(toggles);
    SetToggles(toggles);
    btnCompClick();
}

namespace {

void CheckShownRows(QTreeWidget* list, bool favourite) {
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = list->topLevelItem(r);
        if (TMusicList* song = RowSong(row)) song->Favorite = favourite;
        row->setCheckState(0, favourite ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace

// The list is not rebuilt: a row the favourites toggle would now hide stays until the next refresh.
void MainForm::N4Click() {
    CheckShownRows(LVmain, true);
    SaveMainChecks();
}

void MainForm::N5Click() {
    CheckShownRows(LVmain, false);
    SaveMainChecks();
}

void MainForm::PageControl1Changing(const QWidget* pageLeft) {
    if (pageLeft == nullptr) return;
    if (pageLeft->property("Tag").toInt() == 1) {
        SaveMainChecks();
    } else {
        SaveSkillChecks();
    }
}

void MainForm::PageControl1Change() {
    pnlDispSw->setVisible(ActivePageTag() == 1);
}

void MainForm::tcPlayModeChange() {
    PlayMode = PlayModeOfTab(tcPlayMode->currentIndex(), CurrentEdition().PlayModes);
    LVmainClick(LVmain);
}

int32_t MainForm::RowImageIndex(const QTreeWidgetItem& row) const {
    const qint64 key = row.icon(0).cacheKey();
    for (std::size_t code = 0; code < ILmain.size(); ++code)
        if (ILmain[code].cacheKey() == key) return static_cast<int32_t>(code);
    return -1;
}

void MainForm::FillLevelCell(QTreeWidgetItem& item, int column, int chart) const {
    const CellFill fill = LevelCellFill(chart, RowImageIndex(item));
    item.setBackground(column, QColor(fill.Red, fill.Green, fill.Blue));
    // The fills are light whatever the desktop theme, so their text stays dark.
    item.setForeground(column, QColor(0, 0, 0));
}

void MainForm::ColourMainRow(QTreeWidgetItem& row) {
    for (int column = 0; column < LVmain->columnCount(); ++column)
        LVmainCustomDrawSubItem(&row, column);
}

void MainForm::LVmainCustomDrawSubItem(QTreeWidgetItem* item, int subItem) {
    if (item == nullptr || subItem == 0) return;
    const int chart = MainLevelChart(subItem, ChartCount());
    if (chart >= 0) FillLevelCell(*item, subItem, chart);
}
