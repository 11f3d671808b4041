// The batch-update grid: whole-percent rates of many charts stored at once.

#include "ui/MainForm.h"

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Recalc.h"
#include "data/TextHelpers.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"
#include "ui/BatchRules.h"
#include "ui/ListRows.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>

#include <optional>

void MainForm::ConnectBatchHandlers() {
    connect(grdBatch, &QTableWidget::currentCellChanged, this,
            GuardedSlot([this](int row, int column, int previousRow, int previousColumn) {
                grdBatchSelectCell(column, row, previousColumn, previousRow);
            }));
    connect(btnBatchUpdate, &QToolButton::clicked, this,
            GuardedSlot([this](bool) { btnBatchUpdateClick(); }));
    connect(btnBatchClear, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnBatchClearClick(); }));
}

void MainForm::grdBatchSelectCell(int column, int row, int /*previousColumn*/, int previousRow) {
    // Names are not selectable and the status column is fixed.
    if (row < 0 || column < 0 || column > 1) return;
    grdBatch->setCurrentCell(previousRow >= 0 ? previousRow : row, 2);
}

SjisString MainForm::BatchCellText(int row, int column) const {
    const QTableWidgetItem* cell = grdBatch->item(row, column);
    return cell != nullptr ? KeptText(cell->data(Qt::UserRole), cell->text()) : SjisString();
}

void MainForm::btnBatchUpdateClick() {
    static const SjisString kDone = Utf8ToSjis("更新しました");
    static const QString kMark = UiText("更新");

    {
        // A flat button takes no focus, so an open cell editor still holds
        // what was typed: moving the current cell away commits it.
        const QModelIndex current = grdBatch->currentIndex();
        const QSignalBlocker blocker(grdBatch);
        grdBatch->setCurrentIndex(QModelIndex());
        if (current.isValid()) grdBatch->setCurrentIndex(current);
    }

    const int charts = ChartCount();
    const bool onlyIfRaised = cbBatUpdateFlg->isChecked();
    for (int row = 0; row < grdBatch->rowCount(); ++row) {
        const int32_t index = FirstSongNamed(BatchCellText(row, 1));
        if (index < 0) continue;
        TMusicList& song = MusicTable[static_cast<std::size_t>(index)];
        QTableWidgetItem* status = grdBatch->item(row, 0);
        for (int c = 0; c < charts; ++c) {
            TChartResult& chart = song.SkillList.Chart[static_cast<std::size_t>(c)];
            // Digits beyond 32 bits raise here and end the update: what was stored stays.
            const std::optional<int32_t> rate = BatchCellRate(BatchCellText(row, 2 + c));
            if (!rate || !BatchStoresRate(*rate, chart.Rate, onlyIfRaised)) continue;
            chart.Rate = *rate;
            chart.InputMode = InputRate;
            if (status != nullptr) status->setText(kMark);
        }
        if (status != nullptr && !status->text().isEmpty()) {
            // Sanitised so that the comment cannot break its line of the ".comment" file.
            song.Comment = SanitizeFieldText(BatchCellText(row, charts + 2));
            song.UpdateTime = FormatTime(Now(), "mm/dd hh:nn");
        }
    }

    ShowTotal(RecalcAllSkills());
    ShowNotice(kDone);
    btnCompClick();
}

void MainForm::btnBatchClearClick() {
    btnCompClick();
}
