// The advice list: songs that meet the condition picked in cbWhere.

#include "ui/MainForm.h"

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/gui/EventGuard.h"
#include "ui/AdviceRules.h"
#include "ui/FilterRules.h"
#include "ui/ListRows.h"
#include "ui/SongListTexts.h"

#include <QComboBox>
#include <QScopeGuard>
#include <QTreeWidget>

void MainForm::ConnectAdviceHandlers() {
    // activated: picking the same condition again rebuilds the list too.
    connect(cbWhere, &QComboBox::activated, this, GuardedSlot([this](int) { cbWhereChange(); }));
}

void MainForm::cbWhereChange() {
    SaveSkillChecks(); // ticks made in the old rows are not lost

    LVskill->setUpdatesEnabled(false);
    const auto redraw = qScopeGuard([this] {
        LVskill->setUpdatesEnabled(true);
        LVskill->viewport()->update();
    });

    // Every loaded song gets both fields anew, listed or not.
    const int condition = cbWhere->currentIndex();
    for (int i = 0; i < MusicCount; ++i) {
        TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
        const AdviceVerdict verdict = JudgeAdvice(song, condition, RemainThreshold);
        song.SkillList.Match = verdict.Match;
        song.SkillList.Remain = verdict.Remain;
    }

    LVskill->clear();
    const int charts = ChartCount();
    int listed = 0;
    for (int i = 0; i < MusicCount; ++i) {
        const TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
        if (!song.SkillList.Match) continue;
        QTreeWidgetItem* row = MakeListRow(AdviceRowTexts(song, charts), song.Index, song.Name,
                                           BestCodeImage(song.SkillList.BestCode), song.Favorite);
        for (int column = 0; column < LVskill->columnCount(); ++column)
            LVskillCustomDrawSubItem(row, column);
        LVskill->addTopLevelItem(row);
        ++listed;
    }
    SetStatusText(0, ShownCountText(listed, MusicCount));
}

void MainForm::LVskillCustomDrawSubItem(QTreeWidgetItem* item, int subItem) {
    if (item == nullptr || subItem == 0) return;
    const int chart = SkillLevelChart(subItem, ChartCount());
    if (chart >= 0) FillLevelCell(*item, subItem, chart);
}
