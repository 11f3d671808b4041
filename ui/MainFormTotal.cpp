// Total colours, clipboard copy of advice rows, and the tool-bar buttons that
// open the other dialogs or run a quick export.

#include "ui/MainForm.h"

#include "data/DataUnit.h"
#include "data/SkillCmp.h"
#include "export/ExportDocument.h"
#include "export/ExportForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "ui/AdviceCopy.h"
#include "ui/ListRows.h"
#include "ui/MusicEditForm.h"
#include "ui/ProgramMain.h"
#include "ui/TotalBands.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The dialogs exist for the whole run; a missing one is reported, not dereferenced.
template <typename Form> Form& Dialog(Form* form) {
    if (form == nullptr) throw AppError("window not created");
    return *form;
}

} // namespace

void MainForm::ConnectTotalHandlers() {
    connect(stSkillPoint, &QLineEdit::textChanged, this,
            GuardedSlot([this](const QString&) { stSkillPointChange(); }));
    for (QAction* item : {mnCopy1, mnCopy2, mnCopy3})
        connect(item, &QAction::triggered, this, GuardedSlot([this, item](bool) { mnCopyClick(item); }));
    connect(btnSend, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnSendClick(); }));
    connect(btnExport, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnExportClick(); }));
    connect(btnTxtOut, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnTxtOutClick(); }));
    connect(btnHtmlOut, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnHtmlOutClick(); }));
    connect(btnOption, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnOptionClick(); }));
    connect(mnMusicEdit, &QAction::triggered, this, GuardedSlot([this](bool) { mnMusicEditClick(); }));
}

void MainForm::stSkillPointChange() {
    const BandColor color = TotalBandColor(stSkillPointTag);
    QPalette palette = stSkillPoint->palette();
    palette.setColor(QPalette::Text, QColor(color.Red, color.Green, color.Blue));
    stSkillPoint->setPalette(palette);
    pnlSkill->setToolTip(SjisToQString(TotalHint(QStringToSjis(stSkillPoint->text()))));
}

void MainForm::mnCopyClick(const QAction* sender) {
    const AdviceCopyKind kind = sender == mnCopy3   ? AdviceCopyKind::PointsLevelsAndNames
                                : sender == mnCopy2 ? AdviceCopyKind::LevelsAndNames
                                                    : AdviceCopyKind::Names;
    // The tree's item order is the order on screen, also after sorting.
    std::vector<AdviceCopyRow> rows;
    for (int r = 0; r < LVskill->topLevelItemCount(); ++r) {
        const QTreeWidgetItem& row = *LVskill->topLevelItem(r);
        if (!row.isSelected()) continue;
        const TMusicList* song = RowSong(&row);
        if (song == nullptr) continue; // a row of a table since reloaded
        // The label follows the table as it is now, not as the row was built.
        rows.push_back({RowText(row, 2), song->SkillList.BestCode, RowSongName(row)});
    }
    if (rows.empty()) return;

    SetClipboardText(AdviceCopyText(kind, rows));
    static const SjisString kCopied = Utf8ToSjis("選択したデータをクリップボードにコピーしました！");
    ShowNotice(kCopied);
}

void MainForm::btnSendClick() {
    RunModal(Dialog(Windows().Send)); // whatever was sent or received, the lists are rebuilt
    btnCompClick();
}

void MainForm::btnExportClick() {
    RunModal(Dialog(Windows().Export));
}

void MainForm::btnTxtOutClick() {
    ExportForm& exporter = Dialog(Windows().Export);
    RunLongOperation(this, [&exporter] { exporter.ExportSkillList(ExportKindText); });
}

void MainForm::btnHtmlOutClick() {
    ExportForm& exporter = Dialog(Windows().Export);
    RunLongOperation(this, [&exporter] { exporter.ExportSkillList(ExportKindHtml); });
}

void MainForm::btnOptionClick() {
    PropertyForm& settings = Dialog(Windows().Property);
    const TSkillComputer weights = SkillComputer != nullptr ? *SkillComputer : TSkillComputer();
    settings.FillSettings(ServerAddress, weights.Perfect, weights.Great, weights.Combo, weights.Waru);
    if (RunModal(settings) != QDialog::Accepted) return;
    if (settings.DataReloaded()) {
        // The song table was reloaded: no advice row may point at another song.
        LVskill->clear();
        const QSignalBlocker blocker(cbWhere);
        cbWhere->setCurrentIndex(-1);
    }
    btnCompClick();
}

void MainForm::mnMusicEditClick() {
    const QTreeWidgetItem* row = SelectedRow(LVmain);
    if (row == nullptr) return;
    if (Dialog(Windows().MusicEdit).EditMusic(RowSongIndex(*row))) btnCompClick();
}
