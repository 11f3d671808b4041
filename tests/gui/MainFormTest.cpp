#include "ui/MainForm.h"
#include "data/Edition.h"
#include "data/NumberText.h"
#include "data/SkillCmp.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/QtText.h"
#include "tests/gui/MainFormTestSupport.h"
#include "ui/ProgramMain.h"
#include "ui/ResultDataFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

QStringList Headers(const QTreeWidget* list) {
    QStringList captions;
    for (int c = 0; c < list->columnCount(); ++c)
        captions << list->headerItem()->text(c);
    return captions;
}

QStringList Headers(const QTableWidget* grid) {
    QStringList captions;
    for (int c = 0; c < grid->columnCount(); ++c)
        captions << grid->horizontalHeaderItem(c)->text();
    return captions;
}

QStringList Row(const QTreeWidget* list, int row) {
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << list->topLevelItem(row)->text(c);
    return texts;
}

QString Ini(const std::string& path, const char* section, const char* key) {
    IniFileName = path;
    return SjisToQString(IniReadString(section, key, "<none>"));
}

// The main window as ProgramMain runs it: created, then its creation handler
// inside the event guard; the destruction handler runs once, on Stop or at the end.
class MainFormRun {
  public:
    MainFormRun() : form(std::make_unique<MainForm>()) {
        Guarded([this] { form->FormCreate(); });
    }
    ~MainFormRun() { Stop(); }
    void Stop() {
        if (stopped_) return;
        stopped_ = true;
        Guarded([this] { form->FormDestroy(); });
    }
    MainForm* operator->() const { return form.get(); }
    std::unique_ptr<MainForm> form;

  private:
    bool stopped_ = false;
};

const QStringList kGuitarMainColumns =
    UiTexts({"ID", "曲名", "BPM", "BAS", "ADV", "EXT", "BAS_B", "ADV_B", "EXT_B", "BAS_O", "ADV_O", "EXT_O",
             "SKILL", "Information", "コメント", "更新日時"});
const QStringList kDrumMainColumns =
    UiTexts({"ID", "曲名", "BPM", "BAS", "ADV", "EXT", "SKILL", "Information", "コメント", "更新日時"});

} // namespace

TEST(MainFormStructure, EachEditionsColumnsTabsAndCaptions) {
    struct Case {
        const Edition* edition;
        QStringList mainColumns;
        int skillColumns;
        QStringList gridHeaders;
        QStringList tabs;
        const char* mode;
    };
    const Case cases[] = {
        {&GuitarEdition(), kGuitarMainColumns, 49,
         UiTexts({"状態", "曲名", "BSC", "ADV", "EXT", "BSC(B)", "ADV(B)", "EXT(B)", "BSC(O)", "ADV(O)",
                  "EXT(O)", "コメント"}),
         UiTexts({"STANDARD", "BASS", "OPEN PICK"}), "GuitarFreaksV3"},
        {&DrumEdition(), kDrumMainColumns, 19, UiTexts({"状態", "曲名", "BSC", "ADV", "EXT", "コメント"}),
         UiTexts({"STANDARD"}), "DrumManiaV3"},
    };
    for (const Case& c : cases) {
        ProgramFolder folder(*c.edition);
        MainForm form;
        EXPECT_EQ(Headers(form.LVmain), c.mainColumns);
        EXPECT_EQ(form.LVmain->columnWidth(2), 30); // BPM, narrower than the header's own minimum
        EXPECT_EQ(form.LVskill->columnCount(), c.skillColumns);
        EXPECT_EQ(Headers(form.grdBatch), c.gridHeaders);
        EXPECT_EQ(form.grdBatch->rowCount(), 1); // the header row is the grid's header: one empty row
        QStringList tabs;
        for (int t = 0; t < form.tcPlayMode->count(); ++t)
            tabs << form.tcPlayMode->tabText(t);
        EXPECT_EQ(tabs, c.tabs);
        EXPECT_EQ(form.pnMode->text(), UiText(" ") + UiText(c.mode));
        EXPECT_EQ(form.StatusText(1), SjisString("MODE:") + c.mode);
    }
}

TEST(MainFormStructure, FixedCaptionsWidthsPagesAndSigns) {
    ProgramFolder folder(GuitarEdition());
    MainForm form;
    EXPECT_EQ(form.windowTitle(), UiText("ギタドラのPelorin.NET"));
    EXPECT_EQ(form.SBinfoPanels[2]->text(), UiText("ギタドラのPelorin.NET R24OS　　　"));
    EXPECT_EQ(form.LVmain->columnWidth(1), 250);
    EXPECT_EQ(form.LVmain->columnWidth(11), 42);
    EXPECT_EQ(form.LVskill->headerItem()->text(25), UiText("RESULT(ADV_B)"));
    EXPECT_EQ(form.LVskill->headerItem()->text(27), UiText("達成率(A_B)"));
    EXPECT_TRUE(form.LVskill->isColumnHidden(5) && form.LVskill->isColumnHidden(6));
    EXPECT_FALSE(form.LVskill->isColumnHidden(7));
    EXPECT_EQ(form.grdBatch->columnWidth(0), 60);
    EXPECT_EQ(form.grdBatch->columnWidth(5), 40);
    EXPECT_EQ(form.grdBatch->columnWidth(11), 200);

    ASSERT_EQ(form.PageControl1->count(), 3);
    EXPECT_EQ(form.PageControl1->tabText(2), UiText("Pelorin？"));
    EXPECT_EQ(form.ActivePageTag(), 1);
    EXPECT_EQ(form.TabSheet3->property("Tag").toInt(), 1);
    EXPECT_EQ(form.TabSheet2->property("Tag").toInt(), 0);
    EXPECT_EQ(form.cbWhere->currentIndex(), -1); // no condition chosen yet

    EXPECT_EQ(form.findChild<QToolButton*>(UiText("btnComp"))->text(), UiText("再計算"));
    EXPECT_EQ(form.btnExit->toolTip(), UiText("アプリケーションの終了"));
    EXPECT_EQ(form.mnBAS->text(), UiText("BAS リザルト入力"));
    EXPECT_EQ(
        (QList<int>{form.mnBAS->data().toInt(), form.mnADV->data().toInt(), form.mnEXT->data().toInt()}),
        QList<int>({1, 2, 3}));
    EXPECT_EQ(form.ILmain.size(), 13u);
    for (int32_t sign : form.SortDirection.Main)
        EXPECT_EQ(sign, 1);
    for (int32_t sign : form.SortDirection.Skill)
        EXPECT_EQ(sign, 1);
}

TEST(MainFormStart, FirstStartWithoutSettingsFile) {
    ProgramFolder folder(GuitarEdition());
    MainFormRun run;
    EXPECT_TRUE(folder.boxes.Shown().empty());
    EXPECT_EQ(run->pos(), QPoint(0, 0));
    EXPECT_EQ(run->size(), QSize(600, 450));
    const DisplayToggles toggles = run->CurrentToggles();
    EXPECT_TRUE(toggles.All);
    EXPECT_FALSE(toggles.Favorite);
    EXPECT_FALSE(toggles.Normal);
    for (bool down : toggles.Kind)
        EXPECT_FALSE(down);
    EXPECT_TRUE(run->cbBatUpdateFlg->isChecked());
    ASSERT_NE(SkillComputer, nullptr);
    EXPECT_EQ(SkillComputer->Perfect, 80);
    EXPECT_EQ(SkillComputer->Great, 20);
    EXPECT_EQ(SkillComputer->Good, 0);
    EXPECT_EQ(SkillComputer->Poor, 0);
    EXPECT_EQ(SkillComputer->Miss, 0);
    EXPECT_EQ(SkillComputer->Combo, 20);
    EXPECT_EQ(SkillComputer->Waru, 100);
    EXPECT_EQ(run->tcPlayMode->currentIndex(), 0);
    EXPECT_EQ(run->PlayMode, 0);
    EXPECT_EQ(AppDir, folder.dir.Dir());
    EXPECT_EQ(IniFileName, folder.Ini());
    EXPECT_EQ(run->StatusText(0), Sj(" 該当件数：0/0"));
    EXPECT_EQ(run->stSkillPoint->text(), UiText("0.00"));
    EXPECT_EQ(run->ResultDataEXT->lbBasTop->text(), UiText("EXT"));

    run.Stop();
    EXPECT_EQ(SkillComputer, nullptr);
    EXPECT_TRUE(MusicNames.empty());
    const std::string ini = folder.Ini();
    EXPECT_EQ(Ini(ini, "config", "play"), UiText("0"));
    EXPECT_EQ(Ini(ini, "form", "top"), UiText("0"));
    EXPECT_EQ(Ini(ini, "form", "left"), UiText("0"));
    EXPECT_EQ(Ini(ini, "form", "width"), UiText("600"));
    EXPECT_EQ(Ini(ini, "form", "height"), UiText("450"));
    EXPECT_EQ(Ini(ini, "list", "swA"), UiText("TRUE"));
    EXPECT_EQ(Ini(ini, "list", "swF"), UiText("FALSE"));
    EXPECT_EQ(Ini(ini, "list", "swN"), UiText("FALSE"));
    for (int k = 0; k <= 8; ++k)
        EXPECT_EQ(Ini(ini, "list", ("sw" + std::to_string(k)).c_str()), UiText("FALSE")) << k;
    EXPECT_EQ(Ini(ini, "batch", "updateflag"), UiText("TRUE"));
    EXPECT_EQ(Ini(ini, "GuitarFreaksV3", "perfect"), UiText("<none>")); // the weights are never written here
    // Without a master list the start-up load is incomplete: no player's file is written.
    EXPECT_FALSE(std::filesystem::exists(folder.GameFile(".skill")));
    EXPECT_TRUE(folder.boxes.Shown().empty());
}

TEST(MainFormStart, BothEditionsReadOneSettingsFile) {
    const SjisString ini = "[config]\r\nplay=2\r\n"
                           "[GuitarFreaksV3]\r\nperfect=70\r\nwaru=90\r\n"
                           "[DrumManiaV3]\r\nperfect=60\r\ncombo=25\r\n"
                           "[form]\r\nleft=-4\r\ntop=12\r\nwidth=700\r\nheight=500\r\n"
                           "[list]\r\nswA=false\r\nswF=True\r\nsw5=1\r\n"
                           "[batch]\r\nupdateflag=FALSE\r\n";
    struct Case {
        const Edition* edition;
        int tab;
        int32_t perfect, waru, combo;
    };
    for (const Case& c : {Case{&GuitarEdition(), 2, 70, 90, 20}, Case{&DrumEdition(), 0, 60, 100, 25}}) {
        ProgramFolder folder(*c.edition);
        WriteFileBytes(folder.Ini(), ini);
        MainFormRun run;
        EXPECT_TRUE(folder.boxes.Shown().empty());
        EXPECT_EQ(run->tcPlayMode->currentIndex(), c.tab) << c.edition->GameName;
        EXPECT_EQ(run->PlayMode, c.tab);
        EXPECT_EQ(SkillComputer->Perfect, c.perfect);
        EXPECT_EQ(SkillComputer->Waru, c.waru);
        EXPECT_EQ(SkillComputer->Combo, c.combo);
        EXPECT_EQ(SkillComputer->Great, 20);
        EXPECT_EQ(run->pos(), QPoint(4, 12)); // the minus sign is dropped with the other non-digits
        EXPECT_EQ(run->size(), QSize(700, 500));
        const DisplayToggles toggles = run->CurrentToggles();
        EXPECT_FALSE(toggles.All);
        EXPECT_TRUE(toggles.Favorite);
        EXPECT_FALSE(toggles.Normal); // swN absent: its default "FLASE" reads as false
        EXPECT_TRUE(toggles.Kind[5]);
        EXPECT_FALSE(run->cbBatUpdateFlg->isChecked());

        run.Stop();
        EXPECT_EQ(Ini(folder.Ini(), "config", "play"), QString::number(c.tab));
        EXPECT_EQ(Ini(folder.Ini(), "form", "left"), UiText("4"));
        EXPECT_EQ(Ini(folder.Ini(), "list", "swF"), UiText("TRUE"));
        EXPECT_EQ(Ini(folder.Ini(), "list", "sw5"), UiText("TRUE"));
        EXPECT_EQ(Ini(folder.Ini(), "batch", "updateflag"), UiText("FALSE"));
    }
}

TEST(MainFormStart, SavedPlayModeIsSelectedWithoutRunningTheTabHandler) {
    ProgramFolder folder(GuitarEdition());
    WriteFileBytes(folder.Ini(), "[config]\r\nplay=1\r\n");
    auto form = std::make_unique<MainForm>();
    int tabChanges = 0;
    QObject::connect(form->tcPlayMode, &QTabBar::currentChanged, [&] { ++tabChanges; });
    form->FormCreate();
    EXPECT_EQ(form->tcPlayMode->currentIndex(), 1);
    EXPECT_EQ(form->PlayMode, 1);
    EXPECT_EQ(tabChanges, 0);
    form->FormDestroy();
}

TEST(MainFormStart, FailingLoadLeavesAUsableWindowAndThePlayersFiles) {
    ProgramFolder folder(GuitarEdition());
    WriteFileBytes(folder.Ini(), "[config]\r\nplay=2\r\n[list]\r\nswA=FALSE\r\nswN=TRUE\r\n");
    WriteLines(folder.GameFile(".txt"), {SongLine("First", "5", {10}), SongLine("Second", "abc", {10})});
    const std::string skill = "First\tkept as it was\r\n";
    WriteFileBytes(folder.GameFile(".skill"), skill);
    WriteFileBytes(folder.GameFile(".favorite"), "First\r\n");

    MainFormRun run;
    ASSERT_EQ(folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_EQ(folder.boxes.ShownUtf8()[0], "'abc' は整数ではありません.");
    // The steps before the failure stand, the fixed structure is whole.
    EXPECT_EQ(run->tcPlayMode->currentIndex(), 2);
    EXPECT_EQ(run->PlayMode, 2);
    EXPECT_TRUE(run->CurrentToggles().Normal);
    EXPECT_EQ(Headers(run->LVmain), kGuitarMainColumns);
    EXPECT_EQ(run->LVskill->columnCount(), 49);
    EXPECT_EQ(run->grdBatch->columnCount(), 12);
    EXPECT_EQ(run->tcPlayMode->count(), 3);
    EXPECT_EQ(run->pnMode->text(), UiText(" GuitarFreaksV3"));
    EXPECT_EQ(run->LVmain->topLevelItemCount(), 0); // the refresh was skipped

    // The refresh still works on what was loaded.
    run->btnCompClick();
    EXPECT_EQ(run->StatusText(0), Sj(" 該当件数：1/1"));

    run.Stop();
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".skill")), skill);
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".favorite")), "First\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.GameFile(".comment")));
    EXPECT_EQ(Ini(folder.Ini(), "config", "play"), UiText("2")); // the settings are still written
}

TEST(MainFormStart, FailingSettingsReadEndsTheHandlerEarly) {
    ProgramFolder folder(GuitarEdition());
    WriteFileBytes(folder.Ini(), "[config]\r\nplay=99999999999\r\n");
    WriteLines(folder.GameFile(".txt"), {SongLine("First", "5", {10})});
    MainFormRun run;
    ASSERT_EQ(folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(folder.boxes.ShownUtf8()[0], "'99999999999' は整数ではありません.");
    ASSERT_NE(SkillComputer, nullptr);
    EXPECT_EQ(SkillComputer->Perfect, 0); // later steps skipped
    EXPECT_EQ(MusicCount, 0);
    EXPECT_EQ(run->tcPlayMode->currentIndex(), 0);
    EXPECT_EQ(run->LVmain->columnCount(), 16);
    run.Stop();
    EXPECT_FALSE(std::filesystem::exists(folder.GameFile(".skill")));
    EXPECT_EQ(SkillComputer, nullptr);
}

TEST(MainFormShutdown, SavesThePlayersFilesAndSettings) {
    ProgramFolder folder(GuitarEdition());
    // An extra field, which a rewrite of the master list would drop.
    WriteLines(folder.GameFile(".txt"),
               {SongLine("Alpha", "5", {10, 20, 30}) + "\textra", SongLine("ベータ", "1001", {15})});
    const std::string masterList = ReadFileBytes(folder.GameFile(".txt"));
    WriteLines(folder.GameFile(".comment"), {Sj("ベータ\tいい感じ\t07/01 12:34\t1")});
    MainFormRun run;
    EXPECT_TRUE(folder.boxes.Shown().empty());
    ASSERT_EQ(MusicCount, 2);
    MusicTable[0].Favorite = true; // the flags are saved as the table holds them
    run->move(30, 40);
    run.Stop();

    EXPECT_TRUE(folder.boxes.Shown().empty());
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".favorite")), "Alpha\r\n");
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".comment")),
              "Alpha\t\t\t0\r\n" + Sj("ベータ\tいい感じ\t07/01 12:34\t1") + "\r\n");
    const std::string skill = ReadFileBytes(folder.GameFile(".skill"));
    EXPECT_EQ(skill.substr(0, 6), "Alpha\t");
    EXPECT_EQ(skill.substr(skill.size() - 3), "$\r\n");
    EXPECT_EQ(Ini(folder.Ini(), "form", "left"), UiText("30"));
    EXPECT_EQ(Ini(folder.Ini(), "form", "top"), UiText("40"));
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".txt")), masterList); // never written at exit
}

TEST(MainFormShutdown, EachExitStepFailsOnItsOwn) {
    ProgramFolder folder(GuitarEdition());
    WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10})});
    WriteFileBytes(folder.GameFile(".favorite"), "Alpha\r\n");
    MainFormRun run;
    EXPECT_TRUE(folder.boxes.Shown().empty());
    std::filesystem::create_directory(folder.GameFile(".skill")); // cannot be replaced by a file
    run.Stop();
    ASSERT_EQ(folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_NE(folder.boxes.ShownUtf8()[0].find("を作成できません"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".favorite")), "Alpha\r\n");
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".comment")), "Alpha\t\t\t0\r\n");
    EXPECT_EQ(Ini(folder.Ini(), "batch", "updateflag"), UiText("TRUE"));
}

TEST(MainFormShutdown, FailedSettingsWritesShowAPlainNoticeEach) {
    ProgramFolder folder(GuitarEdition());
    InstallIniFailureNotice();
    std::filesystem::create_directory(folder.Ini()); // neither readable nor writable as a file
    MainFormRun run;
    EXPECT_TRUE(folder.boxes.Shown().empty()); // an unreadable file gives the defaults
    run.Stop();
    // play, four bounds, twelve toggles, updateflag: every key is still tried.
    ASSERT_EQ(folder.boxes.Shown().size(), 18u);
    for (const ShownBox& box : folder.boxes.Shown()) {
        EXPECT_EQ(box.Kind, BoxKind::Notice);
        EXPECT_EQ(box.Text, Sj("書込みに失敗しました") + "\r" + folder.Ini());
    }
}

class MainFormRefresh : public ::testing::Test {
  protected:
    MainFormRefresh() : folder(GuitarEdition()) {
        WriteLines(folder.GameFile(".txt"),
                   {SongLine("硝子の灯台", "1234", {10, 20, 30, 40, 50, 60}, {0}),
                    SongLine("Twin", "5", {12, 0, 30}), SongLine("Plain", "-5", {20}, {9}),
                    SongLine("Twin", "3001", {15, 25}, {6})});
        WriteLines(folder.GameFile(".comment"), {Sj("硝子の灯台\tもう少し\t07/01 12:34\t0")});
        run = std::make_unique<MainFormRun>();
        // A rate entered for BASS ADV of the first song.
        TChartResult& chart = MusicTable[0].SkillList.Chart[4];
        chart.Rate = 9000;
        chart.InputMode = InputRate;
        MusicTable[1].SkillList.Chart[0].Rate = 9512;
        MusicTable[1].SkillList.Chart[0].InputMode = InputRate;
    }
    ProgramFolder folder;
    std::unique_ptr<MainFormRun> run;
    MainForm& form() { return *run->form; }
};

TEST_F(MainFormRefresh, RebuildsTheSongListTotalAndCount) {
    form().btnCompClick();
    ASSERT_EQ(form().LVmain->topLevelItemCount(), 4);
    // Level 50 x 33 x 90.00 % = 14.85 points.
    EXPECT_EQ(Row(form().LVmain, 0),
              UiTexts({"  0", "硝子の灯台", "150", "10", "20", "30", "40", "50", "60", "--", "--", "--",
                       "14.85", "  NEW BASS     ADV", "もう少し", "07/01 12:34"}));
    EXPECT_EQ(Row(form().LVmain, 3)[0], UiText("  3"));
    EXPECT_EQ(Row(form().LVmain, 2)[12], UiText(" 0.00"));
    EXPECT_EQ(Row(form().LVmain, 2)[13], UiText("　　　   ---"));
    EXPECT_EQ(form().LVmain->topLevelItem(0)->icon(0).cacheKey(), form().ILmain[8].cacheKey());
    EXPECT_EQ(form().LVmain->topLevelItem(2)->icon(0).cacheKey(), form().ILmain[0].cacheKey());
    EXPECT_EQ(form().StatusText(0), Sj(" 該当件数：4/4"));
    EXPECT_EQ(form().stSkillPointTag, TotalSkill);
    EXPECT_EQ(form().stSkillPoint->text(), SjisToQString(HundredthsText(TotalSkill)));
    EXPECT_GT(TotalSkill, 1485);

    // The toggles choose the rows; the count shows them against the table.
    DisplayToggles toggles;
    toggles.All = false;
    toggles.Normal = true;
    form().SetToggles(toggles);
    form().btnCompClick();
    ASSERT_EQ(form().LVmain->topLevelItemCount(), 2); // no kind flag, or flag 9 alone
    EXPECT_EQ(Row(form().LVmain, 0)[1], UiText("Twin"));
    EXPECT_EQ(Row(form().LVmain, 1)[1], UiText("Plain"));
    EXPECT_EQ(form().StatusText(0), Sj(" 該当件数：2/4"));

    toggles.Normal = false;
    form().SetToggles(toggles);
    form().btnCompClick();
    EXPECT_EQ(form().LVmain->topLevelItemCount(), 0);
    EXPECT_EQ(form().StatusText(0), Sj(" 該当件数：0/4"));
}

TEST_F(MainFormRefresh, FillsTheBatchGridOnlyWhileShown) {
    form().btnCompClick();
    EXPECT_EQ(form().grdBatch->rowCount(), 1);
    EXPECT_EQ(form().grdBatch->item(0, 1)->text(), UiText(""));

    form().show();
    form().grdBatch->item(0, 0)->setText(UiText("更新"));
    form().btnCompClick();
    ASSERT_EQ(form().grdBatch->rowCount(), 4);
    EXPECT_EQ(form().grdBatch->item(0, 0)->text(), UiText(""));
    EXPECT_EQ(form().grdBatch->item(0, 1)->text(), UiText("硝子の灯台"));
    EXPECT_EQ(form().grdBatch->item(0, 2 + 4)->text(), UiText("90"));
    EXPECT_EQ(form().grdBatch->item(0, 2 + 6)->text(), UiText("0"));
    EXPECT_EQ(form().grdBatch->item(0, 11)->text(), UiText("もう少し"));
    EXPECT_EQ(form().grdBatch->item(1, 2)->text(), UiText("95"));

    // A refresh that shows no song leaves the rows of the previous fill.
    DisplayToggles none;
    none.All = false;
    form().SetToggles(none);
    form().btnCompClick();
    EXPECT_EQ(form().grdBatch->rowCount(), 4);
    EXPECT_EQ(form().grdBatch->item(3, 1)->text(), UiText("Twin"));
    form().hide();
}

TEST_F(MainFormRefresh, ReadsTheFavouritesBackFromTheActivePagesList) {
    form().btnCompClick();
    form().LVmain->topLevelItem(2)->setCheckState(0, Qt::Checked);
    form().btnCompClick();
    EXPECT_TRUE(MusicTable[2].Favorite);
    EXPECT_EQ(form().LVmain->topLevelItem(2)->checkState(0), Qt::Checked);

    // Two rows of one name: the later row decides for both songs.
    form().LVmain->topLevelItem(1)->setCheckState(0, Qt::Checked);
    form().btnCompClick();
    EXPECT_FALSE(MusicTable[1].Favorite);
    EXPECT_FALSE(MusicTable[3].Favorite);
    form().LVmain->topLevelItem(3)->setCheckState(0, Qt::Checked);
    form().btnCompClick();
    EXPECT_TRUE(MusicTable[1].Favorite);
    EXPECT_TRUE(MusicTable[3].Favorite);

    // On the advice page the advice list's boxes count (empty here): the song list's tick is not read.
    form().LVmain->topLevelItem(0)->setCheckState(0, Qt::Checked);
    {
        const QSignalBlocker blocker(form().PageControl1);
        form().PageControl1->setCurrentWidget(form().TabSheet2);
    }
    EXPECT_EQ(form().ActivePageTag(), 0);
    form().btnCompClick();
    EXPECT_FALSE(MusicTable[0].Favorite);
}

TEST_F(MainFormRefresh, TheButtonRunsTheRefreshInsideTheGuard) {
    form().show();
    MusicTable[2].Favorite = true;
    DisplayToggles fav;
    fav.All = false;
    fav.Favorite = true;
    form().SetToggles(fav);
    QTest::mouseClick(form().btnComp, Qt::LeftButton);
    EXPECT_EQ(form().StatusText(0), Sj(" 該当件数：0/4")); // the unticked row was read back first

    // An error of the recalculation is shown and the list is left as it was.
    form().SetToggles(DisplayToggles{});
    MusicTable[1].SkillList.Chart[0].InputMode = InputPercents;
    MusicTable[1].SkillList.Chart[0].PerfectPct = 90;
    SkillComputer->Waru = 0;
    folder.boxes.Clear();
    QTest::mouseClick(form().btnComp, Qt::LeftButton);
    ASSERT_EQ(folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_EQ(form().LVmain->topLevelItemCount(), 0);
    EXPECT_EQ(form().StatusText(0), Sj(" 該当件数：0/4"));
    SkillComputer->Waru = 100;
    form().hide();
}

TEST(MainFormRefreshDrum, RowsCarryThreeLevels) {
    ProgramFolder folder(DrumEdition());
    WriteLines(folder.GameFile(".txt"), {SongLine("Drum", "2001", {11, 0, 33})});
    MainFormRun run;
    ASSERT_EQ(run->LVmain->topLevelItemCount(), 1);
    EXPECT_EQ(Row(run->LVmain, 0),
              UiTexts({"  0", "Drum", "150", "11", "--", "33", " 0.00", "　　　   ---", "", ""}));
    EXPECT_EQ(run->StatusText(0), Sj(" 該当件数：1/1"));
}
