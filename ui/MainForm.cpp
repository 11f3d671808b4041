// Start-up, shutdown and the refresh of the main window.

#include "ui/MainForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/NumberText.h"
#include "data/Recalc.h"
#include "data/SkillCmp.h"
#include "data/Unitini.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramDir.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/QtText.h"
#include "ui/ListRows.h"
#include "ui/MainFormParts.h"
#include "ui/ProgramFiles.h"
#include "ui/ResultDataFrame.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <string>

namespace {

// Keeps the bytes of a text shown in a grid cell, so a cell the player did not
// edit is never re-encoded.
void SetBatchText(QTableWidget* grid, int row, int column, const SjisString& text) {
    QTableWidgetItem* cell = BatchCell(grid, row, column);
    cell->setText(SjisToQString(text));
    cell->setData(Qt::UserRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void SaveChecks(const QTreeWidget* list) {
    // Every slot of that name takes the state; of several rows of one name the last decides.
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem& row = *list->topLevelItem(r);
        const SjisString name = RowSongName(row);
        const bool checked = RowChecked(row);
        for (TMusicList& song : MusicTable)
            if (song.Name == name) song.Favorite = checked;
    }
}

SjisString IntText(int32_t value) {
    return std::to_string(value);
}

} // namespace

void MainForm::ConnectHandlers() {
    // Toggle buttons connect to clicked, pickers to activated, tabs to
    // currentChanged (programmatic changes there are wrapped in QSignalBlocker),
    // every handler through GuardedSlot.
    connect(btnComp, &QToolButton::clicked, this, GuardedSlot([this](bool) { btnCompClick(); }));

    // Sorting, menus, chart opening, detail panel, exit (MainFormSort.cpp).
    ConnectSortHandlers();

    // Advice lists (MainFormAdvice.cpp).
    ConnectAdviceHandlers();

    // Display toggles, favourites, pages, play-mode tabs, level colours (MainFormFilter.cpp).
    ConnectFilterHandlers();

    // Batch-update grid (MainFormBatch.cpp).
    ConnectBatchHandlers();

    // Total colours, clipboard copy, dialog buttons (MainFormTotal.cpp).
    ConnectTotalHandlers();
}

void MainForm::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and is never refused.
    event->accept();
    emit Closed();
}

const QIcon& MainForm::BestCodeImage(int32_t bestCode) const {
    const int last = static_cast<int>(ILmain.size()) - 1;
    return ILmain[static_cast<std::size_t>(std::clamp(bestCode, 0, last))];
}

int32_t MainForm::ActivePageTag() const {
    const QWidget* page = PageControl1->currentWidget();
    return page != nullptr ? page->property("Tag").toInt() : 0;
}

void MainForm::SetStatusText(int panel, const SjisString& text) {
    SBinfoPanels[static_cast<std::size_t>(panel)]->setText(SjisToQString(text));
}

SjisString MainForm::StatusText(int panel) const {
    return QStringToSjis(SBinfoPanels[static_cast<std::size_t>(panel)]->text());
}

DisplayToggles MainForm::CurrentToggles() const {
    DisplayToggles toggles;
    toggles.All = btnDispAll->isChecked();
    toggles.Favorite = btnDispFav->isChecked();
    toggles.Normal = btnDispNor->isChecked();
    for (std::size_t k = 0; k < btnDisp.size(); ++k)
        toggles.Kind[k] = btnDisp[k]->isChecked();
    return toggles;
}

void MainForm::SetToggles(const DisplayToggles& toggles) {
    // Only the down states: setChecked runs no clicked handler.
    btnDispAll->setChecked(toggles.All);
    btnDispFav->setChecked(toggles.Favorite);
    btnDispNor->setChecked(toggles.Normal);
    for (std::size_t k = 0; k < btnDisp.size(); ++k)
        btnDisp[k]->setChecked(toggles.Kind[k]);
}

void MainForm::SelectPlayModeTab(int32_t playMode) {
    const QSignalBlocker blocker(tcPlayMode); // not a player's change
    tcPlayMode->setCurrentIndex(playMode >= 0 && playMode < tcPlayMode->count() ? playMode : 0);
    PlayMode = tcPlayMode->currentIndex();
}

void MainForm::FormCreate() {
    const SjisString& game = CurrentEdition().GameName;

    SkillComputer = std::make_unique<TSkillComputer>();
    ClearMusicTable();
    // Until every data file has loaded, the exit must not write the player's files.
    SetDataLoadComplete(false);
    AppDir = ProgramDirectory();
    IniFileName = AppDir + kSettingsFileName;
    // What a killed writer left beside the files (this edition's or the other's).
    const bool currentDirectoryToo = IsCurrentDirectory(AppDir);
    RemoveStaleTemporaries(
        AppDir, [&](std::string_view name) { return IsProgramFileName(name, currentDirectoryToo); });

    // The saved play mode's tab is selected as soon as it is read, so that a
    // later failing step does not turn the saved mode back to STANDARD at exit.
    SelectPlayModeTab(DigitsToInt(IniReadString("config", "play", "0")));

    SkillComputer->Perfect = DigitsToInt(IniReadString(game, "perfect", "80"));
    SkillComputer->Great = DigitsToInt(IniReadString(game, "great", "20"));
    SkillComputer->Good = DigitsToInt(IniReadString(game, "good", "0"));
    SkillComputer->Poor = DigitsToInt(IniReadString(game, "poor", "0"));
    SkillComputer->Miss = DigitsToInt(IniReadString(game, "miss", "0"));
    SkillComputer->Combo = DigitsToInt(IniReadString(game, "combo", "20"));
    SkillComputer->Waru = DigitsToInt(IniReadString(game, "waru", "100"));

    // The same pair is read here and written at exit (pos/move, size/resize),
    // so the window does not drift between runs.
    move(x(), DigitsToInt(IniReadString("form", "top", "0")));
    move(DigitsToInt(IniReadString("form", "left", "0")), y());
    resize(DigitsToInt(IniReadString("form", "width", "600")), height());
    resize(width(), DigitsToInt(IniReadString("form", "height", "450")));

    DisplayToggles toggles;
    toggles.All = IniStrToBool(IniReadString("list", "swA", "TRUE"));
    toggles.Favorite = IniStrToBool(IniReadString("list", "swF", "FALSE"));
    toggles.Normal = IniStrToBool(IniReadString("list", "swN", "FLASE"));
    for (std::size_t k = 0; k < toggles.Kind.size(); ++k)
        toggles.Kind[k] = IniStrToBool(IniReadString("list", "sw" + std::to_string(k), "FALSE"));
    SetToggles(toggles);

    cbBatUpdateFlg->setChecked(IniStrToBool(IniReadString("batch", "updateflag", "TRUE")));

    ResultDataBSC->SetLevelName("BSC");
    ResultDataADV->SetLevelName("ADV");
    ResultDataEXT->SetLevelName("EXT");

    MusicNames.clear();
    LoadAllDataFiles(game);

    // The window is still hidden: the song list, total and count are filled,
    // the batch grid is left alone.
    btnCompClick();
}

void MainForm::WriteSettings() {
    IniWriteString("config", "play", IntText(tcPlayMode->currentIndex()));

    IniWriteString("form", "top", IntText(pos().y()));
    IniWriteString("form", "left", IntText(pos().x()));
    IniWriteString("form", "width", IntText(size().width()));
    IniWriteString("form", "height", IntText(size().height()));

    const DisplayToggles toggles = CurrentToggles();
    IniWriteString("list", "swA", BoolToIniStr(toggles.All));
    IniWriteString("list", "swF", BoolToIniStr(toggles.Favorite));
    IniWriteString("list", "swN", BoolToIniStr(toggles.Normal));
    for (std::size_t k = 0; k < toggles.Kind.size(); ++k)
        IniWriteString("list", "sw" + std::to_string(k), BoolToIniStr(toggles.Kind[k]));

    IniWriteString("batch", "updateflag", BoolToIniStr(cbBatUpdateFlg->isChecked()));
}

void MainForm::FormDestroy() {
    const SjisString& game = CurrentEdition().GameName;
    // Each step on its own: a file that cannot be written is reported and the
    // next file and the settings are still written. The savers themselves
    // skip the player's files after an incomplete start-up load.
    Guarded([&] { SaveSkillData(game); });
    Guarded([&] { SaveFavorites(game); });
    Guarded([&] { SaveComments(game); });
    Guarded([&] { WriteSettings(); });

    MusicNames.clear();
    SkillComputer.reset();
}

void MainForm::ShowTotal(int32_t total) {
    stSkillPointTag = total;
    stSkillPoint->setText(SjisToQString(HundredthsText(total)));
}

void MainForm::SaveMainChecks() {
    SaveChecks(LVmain);
}
void MainForm::SaveSkillChecks() {
    SaveChecks(LVskill);
}

void MainForm::FillBatchRow(int row, const TMusicList& song) {
    const int charts = ChartCount();
    SetBatchText(grdBatch, row, 0, SjisString()); // the mark of the last batch update goes
    SetBatchText(grdBatch, row, 1, song.Name);
    for (int c = 0; c < charts; ++c)
        SetBatchText(grdBatch, row, 2 + c,
                     WholePercentText(song.SkillList.Chart[static_cast<std::size_t>(c)].Rate));
    SetBatchText(grdBatch, row, charts + 2, song.Comment);
}

void MainForm::btnCompClick() {
    if (ActivePageTag() == 1) {
        SaveMainChecks();
    } else {
        SaveSkillChecks();
    }
    ShowTotal(RecalcAllSkills());

    // One repaint of each control at the end, also when a step fails.
    QList<QTreeWidgetItem*> rows;
    LVmain->setUpdatesEnabled(false);
    grdBatch->setUpdatesEnabled(false);
    const auto redraw = qScopeGuard([&] {
        addingColouredRows_ = true;
        LVmain->addTopLevelItems(rows);
        addingColouredRows_ = false;
        LVmain->setUpdatesEnabled(true);
        LVmain->viewport()->update();
        grdBatch->setUpdatesEnabled(true);
        grdBatch->viewport()->update();
    });

    LVmain->clear();
    const DisplayToggles toggles = CurrentToggles();
    std::vector<int> shown;
    shown.reserve(static_cast<std::size_t>(std::max(MusicCount, 0)));
    for (int i = 0; i < MusicCount; ++i)
        if (IsSongShown(MusicTable[static_cast<std::size_t>(i)], toggles)) shown.push_back(i);

    // The grid is filled only while the window is shown; with no song shown it
    // keeps the rows of its previous fill.
    const bool fillGrid = isVisible() && !shown.empty();
    if (fillGrid) grdBatch->setRowCount(static_cast<int>(shown.size()));

    const int charts = ChartCount();
    rows.reserve(static_cast<qsizetype>(shown.size()));
    for (std::size_t r = 0; r < shown.size(); ++r) {
        const TMusicList& song = MusicTable[static_cast<std::size_t>(shown[r])];
        rows.append(MakeListRow(MainRowTexts(song, charts), song.Index, song.Name,
                                BestCodeImage(song.SkillList.BestCode), song.Favorite));
        ColourMainRow(*rows.back());
        if (fillGrid) FillBatchRow(static_cast<int>(r), song);
    }
    SetStatusText(0, ShownCountText(static_cast<int>(shown.size()), MusicCount));
}
