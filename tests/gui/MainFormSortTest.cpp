#include "ui/MainForm.h"

#include "data/Edition.h"
#include "data/NumberText.h"
#include "platform/Clock.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/gui/MainFormTestSupport.h"
#include "ui/ListRows.h"
#include "ui/NumericField.h"
#include "ui/ProgramMain.h"
#include "ui/ResultDataFrame.h"
#include "ui/ResultForm.h"
#include "ui/SongListTexts.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window of an edition with the result dialog it opens. Start it
// on a master list once the edition is in force (SongLine follows it).
class Window {
  public:
    explicit Window(const Edition& edition) : folder(edition) {}
    void Start(std::initializer_list<SjisString> songs) {
        WriteLines(folder.GameFile(".txt"), songs);
        SetFixedNow(LocalTime{2024, 3, 7, 9, 5, 0});
        form = std::make_unique<MainForm>();
        Guarded([this] { form->FormCreate(); });
        EXPECT_TRUE(folder.boxes.Shown().empty());
        result = std::make_unique<ResultForm>();
        result->FormCreate();
        Windows().Result = result.get();
        form->resize(1600, 700);
        form->show();
    }
    ~Window() {
        Windows().Result = nullptr;
        if (form) Guarded([this] { form->FormDestroy(); });
        SetFixedNow(std::nullopt);
    }
    MainForm* operator->() const { return form.get(); }

    // Gives chart rates (x 100, entered as rates) and refreshes.
    void Rates(std::initializer_list<std::array<int32_t, 3>> songChartRate) {
        for (const auto& [song, chart, rate] : songChartRate) {
            TChartResult& stored = MusicTable[static_cast<std::size_t>(song)].SkillList.Chart[chart];
            stored.Rate = rate;
            stored.InputMode = InputRate;
        }
        form->btnCompClick();
    }

    ProgramFolder folder;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<ResultForm> result;
};

QStringList Column(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        texts << list->topLevelItem(r)->text(column);
    return texts;
}

void ClickHeader(QTreeWidget* list, int column) {
    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                             header->height() / 2));
}

// A click, then the double click: the view reports a double click only on
// the row the button went down on before.
void DoubleClick(QTreeWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Advice-list rows as the advice page builds them: ID, name, points.
void AddAdviceRow(QTreeWidget* list, int32_t song, const char* points) {
    const SjisString& name = MusicTable[static_cast<std::size_t>(song)].Name;
    list->addTopLevelItem(MakeListRow({RowKeyText(song), name, points}, song, name, QIcon(), false));
}

// The chart the result dialog showed: song, difficulty and play-mode picker indexes.
struct Shown {
    int Song = -9, Level = -9, Mode = -9;
};

// Plays the player in the next result dialog: notes the chart shown, then
// enters the rate and a comment and presses OK; cancels for a rate below 0.
ModalScript::Handler EnterRate(Shown& shown, int rate) {
    return [&shown, rate](QDialog& dialog) {
        const auto picker = [&](const char* name) {
            return dialog.findChild<QComboBox*>(UiText(name))->currentIndex();
        };
        shown = {picker("cbMusicList"), picker("cbLevel"), picker("cbMode")};
        if (rate < 0) return static_cast<int>(QDialog::Rejected);
        dialog.findChild<NumericField*>(UiText("edR7"))->SetValue(rate);
        dialog.findChild<ByteLimitedEdit*>(UiText("edComment"))->SetSjisText(Sj("あと少し"));
        dialog.setResult(QDialog::Rejected);
        QTest::mouseClick(dialog.findChild<QPushButton*>(UiText("btnOk")), Qt::LeftButton);
        return dialog.result();
    };
}

} // namespace

TEST(MainFormSort, ColumnClicksSortDescendingFirstWithSignsPerColumnAndList) {
    Window w(GuitarEdition());
    w.Start({SongLine("Twin", "1", {40}), SongLine("alpha", "2", {50}), SongLine("Twin", "3", {30})});
    MusicTable[0].Bpm = "90";
    MusicTable[1].Bpm = "180";
    w.Rates({{0, 0, 9000}, {1, 0, 8000}, {2, 0, 7000}});

    ClickHeader(w->LVmain, 2);
    EXPECT_EQ(Column(w->LVmain, 2), UiTexts({"90", "180", "150"}));
    ClickHeader(w->LVmain, 2); // ascending; BPM is text, so 180 before 90
    EXPECT_EQ(Column(w->LVmain, 2), UiTexts({"150", "180", "90"}));
    ClickHeader(w->LVmain, 1); // letters fold; the two Twins keep their order both ways
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  2", "  0", "  1"}));
    ClickHeader(w->LVmain, 1);
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  1", "  2", "  0"}));
    ClickHeader(w->LVmain, 0);
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  2", "  1", "  0"}));
    ClickHeader(w->LVmain, 2); // back to BPM: its own alternation goes on
    EXPECT_EQ(Column(w->LVmain, 2), UiTexts({"90", "180", "150"}));

    // LVmain's SKILL and LVskill's points both sort descending on their first click.
    for (int32_t song : {0, 1, 2})
        AddAdviceRow(w->LVskill, song, song == 1 ? " 40.00" : " 10.00");
    w->LVskill->topLevelItem(2)->setSelected(true);
    w->LVmainColumnClick(12);
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  1", "  0", "  2"}));
    w->lbBpm->setText(UiText("untouched"));
    w->LVskillColumnClick(2);
    EXPECT_EQ(Column(w->LVskill, 0), UiTexts({"  1", "  0", "  2"}));
    EXPECT_EQ(w->SkillSortColumn, 2);
    // The same song stays selected, and no change handler ran.
    EXPECT_EQ(RowSongIndex(*MainForm::SelectedRow(w->LVskill)), 2);
    EXPECT_EQ(w->lbBpm->text(), UiText("untouched"));
    // The first selected row is the first on screen, not the first selected.
    w->LVskill->topLevelItem(1)->setSelected(true);
    EXPECT_EQ(RowSongIndex(*MainForm::SelectedRow(w->LVskill)), 0);

    w->btnCompClick(); // a rebuild adds the rows in table order again
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  0", "  1", "  2"}));
}

TEST(MainFormSort, PopupMenusEnableByTheSelection) {
    Window w(GuitarEdition());
    w.Start(
        {SongLine("Some", "1", {10, 0, 30, 40, 40, 40}), SongLine("BassOnly", "2", {0, 0, 0, 40, 40, 40})});
    const auto enabled = [](QMenu* menu, std::initializer_list<QAction*> items) {
        menu->popup(QPoint(0, 0));
        QList<bool> states;
        for (QAction* item : items)
            states << item->isEnabled();
        menu->hide();
        return states;
    };
    const auto resultItems = [&] { return enabled(w->pmnMain, {w->mnBAS, w->mnADV, w->mnEXT}); };
    EXPECT_EQ(resultItems(), QList<bool>({false, false, false}));
    w->PlayMode = 1; // the BASS tab: the menu still means the STANDARD charts
    w->LVmain->setCurrentItem(w->LVmain->topLevelItem(0));
    EXPECT_EQ(resultItems(), QList<bool>({true, false, true}));
    w->LVmain->setCurrentItem(w->LVmain->topLevelItem(1));
    EXPECT_EQ(resultItems(), QList<bool>({false, false, false}));
    EXPECT_TRUE(w->N4->isEnabled() && w->N5->isEnabled() && w->mnMusicEdit->isEnabled());

    AddAdviceRow(w->LVskill, 0, "");
    EXPECT_EQ(enabled(w->pmnMain2, {w->mnCopy1, w->mnCopy2, w->mnCopy3}), QList<bool>({false, false, false}));
    w->LVskill->topLevelItem(0)->setSelected(true);
    EXPECT_EQ(enabled(w->pmnMain2, {w->mnCopy1, w->mnCopy2, w->mnCopy3}), QList<bool>({true, true, true}));
}

TEST(MainFormSort, MenuOpensAStandardChartAndRefreshesOnOk) {
    Window w(GuitarEdition());
    w.Start({SongLine("One", "1", {10, 20, 30, 40, 50, 60}), SongLine("Two", "2", {50, 50})});
    w->PlayMode = 1;
    w->LVmainColumnClick(0);
    w->LVmain->setCurrentItem(w->LVmain->topLevelItem(0)); // song 1
    Shown shown;
    {
        ModalScript script(EnterRate(shown, -1));
        w->mnADV->trigger();
    }
    EXPECT_EQ((std::array<int, 3>{shown.Song, shown.Level, shown.Mode}), (std::array<int, 3>{1, 1, 0}));
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  1", "  0"})); // cancelled: no refresh
    {
        ModalScript script(EnterRate(shown, 95));
        w->mnADV->trigger();
    }
    EXPECT_EQ(MusicTable[1].SkillList.Chart[1].Rate, 9500);
    EXPECT_EQ(Column(w->LVmain, 0), UiTexts({"  0", "  1"})); // the refresh rebuilt the list
    EXPECT_GT(TotalSkill, 0);
    EXPECT_EQ(w->stSkillPointTag, TotalSkill);
}

// Three long versions, of which the top two count. Entering the third one's
// rate by double click pushes the second out of the counted top.
static void DoubleClickUpdatesTheTotalAndThatRowOnly(const Edition& edition) {
    Window w(edition);
    w.Start({SongLine("L1", "2001", {50}), SongLine("L2", "2002", {50}), SongLine("L3", "2003", {50})});
    w.Rates({{0, 0, 9000}, {1, 0, 8000}});
    const int skill = 3 + ChartCount();
    const QString oldInformation = w->LVmain->topLevelItem(2)->text(skill + 1);
    const qint64 oldImage = w->LVmain->topLevelItem(1)->icon(0).cacheKey();

    Shown shown;
    {
        ModalScript script(EnterRate(shown, 95));
        DoubleClick(w->LVmain, 2);
    }
    EXPECT_EQ(shown.Level, 0); // no best chart yet: none chosen, shown as BASIC
    EXPECT_EQ(MusicTable[1].SkillList.BestCode, 1);
    EXPECT_EQ(w->stSkillPointTag, TotalSkill);
    EXPECT_EQ(w->stSkillPoint->text(), SjisToQString(HundredthsText(TotalSkill)));

    const QTreeWidgetItem* row = w->LVmain->topLevelItem(2);
    EXPECT_EQ(row->icon(0).cacheKey(), w->ILmain[4].cacheKey());
    EXPECT_EQ(row->text(skill), SjisToQString(SkillColumnText(MusicTable[2].SkillList.BestSkill)));
    EXPECT_EQ(row->text(skill + 1), oldInformation); // waits for the next refresh
    EXPECT_EQ(row->text(skill + 2), UiText("あと少し"));
    EXPECT_EQ(row->text(skill + 3), UiText("03/07 09:05"));
    EXPECT_EQ(w->LVmain->topLevelItem(1)->icon(0).cacheKey(), oldImage); // the pushed-out song too
    EXPECT_EQ(w->ResultDataBSC->lbBasN[6]->text(), UiText(" 95%"));      // the panel shows the new result
}

TEST(MainFormSort, DoubleClickUpdatesTheTotalAndThatRowOnlyGuitar) {
    DoubleClickUpdatesTheTotalAndThatRowOnly(GuitarEdition());
}
TEST(MainFormSort, DoubleClickUpdatesTheTotalAndThatRowOnlyDrum) {
    DoubleClickUpdatesTheTotalAndThatRowOnly(DrumEdition());
}

TEST(MainFormSort, AdviceDoubleClickOnAHiddenSongUpdatesOnlyTheTotal) {
    Window w(GuitarEdition());
    w.Start({SongLine("Shown", "1", {10}), SongLine("Hidden", "2", {50})});
    w->LVmain->topLevelItem(0)->setCheckState(0, Qt::Checked);
    DisplayToggles favourites;
    favourites.All = false;
    favourites.Favorite = true;
    w->SetToggles(favourites);
    w->btnCompClick();
    ASSERT_EQ(w->LVmain->topLevelItemCount(), 1);
    AddAdviceRow(w->LVskill, 1, "");
    w->LVskill->topLevelItem(0)->setSelected(true);

    Shown shown;
    ModalScript script(EnterRate(shown, 90));
    emit w->LVskill->itemDoubleClicked(w->LVskill->topLevelItem(0), 0);
    EXPECT_EQ(shown.Song, 1);
    EXPECT_GT(TotalSkill, 0);
    EXPECT_EQ(w->stSkillPointTag, TotalSkill);
    EXPECT_EQ(w->LVmain->topLevelItem(0)->text(12), UiText(" 0.00"));
}

TEST(MainFormSort, DetailPanelShowsThePlayModesCharts) {
    Window w(GuitarEdition());
    w.Start({SongLine("Name", "1", {10, 20, 30, 40, 0, 60})});
    TChartResult& bass = MusicTable[0].SkillList.Chart[3];
    bass.PerfectCount = 812;
    bass.PerfectPct = 95;
    bass.SkillPoint = 2511;
    w->PlayMode = 1;
    QTest::mouseClick(w->LVmain->viewport(), Qt::LeftButton, {},
                      w->LVmain->visualItemRect(w->LVmain->topLevelItem(0)).center());
    EXPECT_EQ(w->lbMusicNM->text(), UiText("Name\n\r\n\rshort"));
    EXPECT_EQ(w->lbMusicInfo->text() + w->lbBpm->text(), UiText("memo150"));
    EXPECT_FALSE(w->lbMusicFlg1->isEnabled());
    EXPECT_EQ(w->ResultDataBSC->lbBasN[0]->text(), UiText(" 812 [95%]"));
    EXPECT_EQ(w->ResultDataBSC->lbBasN[7]->text(), UiText("25.11"));
    EXPECT_FALSE(w->ResultDataADV->lbBasTop->isEnabled()); // BASS ADV has level 0
    EXPECT_EQ(w->ResultDataADV->lbBasN[0]->text(), UiText(""));
    EXPECT_TRUE(w->ResultDataEXT->lbBasTop->isEnabled());

    w->LVmain->clearSelection();
    EXPECT_EQ(w->lbMusicNM->text(), UiText(""));
    EXPECT_FALSE(w->ResultDataBSC->lbBasTop->isEnabled());
    EXPECT_EQ(w->ResultDataBSC->lbBasN[7]->text(), UiText(""));
}
