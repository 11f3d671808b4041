#include "ui/MainForm.h"

#include "data/Edition.h"
#include "export/ExportForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/Clock.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/gui/MainFormTestSupport.h"
#include "tests/net/FakeService.h"
#include "ui/ListRows.h"
#include "ui/MusicEditForm.h"
#include "ui/ProgramMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

// The main window started and shown, the clock fixed. The song lines are made
// once the edition is set, since their level count depends on it.
class Window {
  public:
    Window(const Edition& edition, const std::function<std::vector<SjisString>()>& songs,
           const SjisString& ini = {})
        : folder(edition) {
        SjisString lines;
        for (const SjisString& line : songs())
            lines += line + "\r\n";
        WriteFileBytes(folder.GameFile(".txt"), lines);
        if (!ini.empty()) WriteFileBytes(folder.Ini(), ini);
        SetFixedNow(LocalTime{2026, 7, 2, 13, 45, 0});
        form = std::make_unique<MainForm>();
        Guarded([this] { form->FormCreate(); });
        form->resize(1400, 700);
        form->show();
        form->btnCompClick(); // the first refresh while shown fills the batch grid
    }
    ~Window() {
        Guarded([this] { form->FormDestroy(); });
        SetFixedNow(std::nullopt);
    }
    MainForm* operator->() const { return form.get(); }

    void Rate(int song, int chart, int32_t rate) {
        TChartResult& result = MusicTable[static_cast<std::size_t>(song)].SkillList.Chart[chart];
        result.Rate = rate;
        result.InputMode = InputRate;
    }
    void Pick(int condition) { // the player picks an advice condition
        form->cbWhere->setCurrentIndex(condition);
        emit form->cbWhere->activated(condition);
    }
    void Type(int row, int column, const char* utf8) {
        form->grdBatch->item(row, column)->setText(QString::fromUtf8(utf8));
    }
    QString Cell(int row, int column) const { return form->grdBatch->item(row, column)->text(); }

    ProgramFolder folder;
    std::unique_ptr<MainForm> form;
};

QStringList Names(const QTreeWidget* list) {
    QStringList names;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        names << list->topLevelItem(r)->text(1);
    return names;
}

// The fills of a row's cells, an invalid colour where there is none.
std::vector<QColor> Fills(const QTreeWidgetItem* row, int first, int last) {
    std::vector<QColor> fills;
    for (int column = first; column <= last; ++column) {
        const QBrush brush = row->background(column);
        fills.push_back(brush.style() == Qt::NoBrush ? QColor() : brush.color());
    }
    return fills;
}

// How one cell of a list is drawn: its most frequent colour (the fill) and its
// darkest (the text), grid lines left out.
struct CellLook {
    QColor Fill;
    QColor Ink;
};
CellLook Look(const QTreeWidget* list, const QTreeWidgetItem* row, int column) {
    const QImage image = list->viewport()->grab().toImage();
    const QRect rowRect = list->visualItemRect(row);
    const int left = list->header()->sectionViewportPosition(column);
    std::map<QRgb, int> counts;
    CellLook look{QColor(), QColor(255, 255, 255)};
    for (int y = rowRect.top(); y < rowRect.bottom(); ++y) {
        for (int x = left; x < left + list->header()->sectionSize(column) - 1; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (++counts[pixel.rgb()] > counts[look.Fill.rgb()]) look.Fill = pixel;
            if (pixel.lightness() < look.Ink.lightness()) look.Ink = pixel;
        }
    }
    return look;
}

// How many pixels of one cell show exactly the given colour.
int PixelsOf(const QTreeWidget* list, const QTreeWidgetItem* row, int column, const QColor& colour) {
    const QImage image = list->viewport()->grab().toImage();
    const QRect cell = list->visualRect(list->indexFromItem(row, column));
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    return count;
}

// The same for an image on its own; only opaque pixels count.
int PixelsOf(const QIcon& icon, const QColor& colour) {
    const QImage image = icon.pixmap(20, 20).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

QPoint CellPoint(const QTreeWidget* list, int row, int column) {
    return list->visualRect(list->indexFromItem(list->topLevelItem(row), column)).center();
}

// Where a click hits the row's check box, at the left of column 0.
QPoint BoxPoint(const QTreeWidget* list, int row) {
    const QRect cell = list->visualRect(list->indexFromItem(list->topLevelItem(row), 0));
    return QPoint(cell.left() + 10, cell.center().y());
}

const QColor kBsc(224, 255, 224), kAdv(255, 255, 224), kExt(255, 224, 224), kBest(224, 160, 224), kNone;

} // namespace

class MainFormLists : public ::testing::Test {
  protected:
    Window w{GuitarEdition(), [] {
                 return std::vector<SjisString>{SongLine("Alpha", "5", {10, 20, 30, 40, 50, 60}, {0}),
                                                SongLine("Beta", "1001", {12, 0, 30}, {9}),
                                                SongLine("Gamma", "2001", {20}, {5}),
                                                SongLine("Beta", "7", {30}, {3})};
             }};
    const TChartResult& Chart(int song, int chart) const {
        return MusicTable[static_cast<std::size_t>(song)].SkillList.Chart[static_cast<std::size_t>(chart)];
    }
    void BatchUpdate() {
        w.folder.boxes.Clear();
        QTest::mouseClick(w->btnBatchUpdate, Qt::LeftButton);
    }
};

// ---- Display toggles, favourites, pages, level colours --------------------------

TEST_F(MainFormLists, TogglesInterlockAndChooseTheSongs) {
    // Releasing "all" presses the other eleven, the invisible ones too: every song still shows.
    w->btnDispAll->click();
    EXPECT_TRUE(w->btnDispFav->isChecked() && w->btnDispNor->isChecked() && w->btnDisp[3]->isChecked() &&
                w->btnDisp[8]->isChecked());
    EXPECT_EQ(w->LVmain->topLevelItemCount(), 4);
    QTest::mouseClick(w->btnDispAll, Qt::LeftButton);
    EXPECT_FALSE(w->btnDispFav->isChecked() || w->btnDisp[8]->isChecked());

    // A box ticked just before the click counts: the refresh reads the boxes back first.
    w->LVmain->topLevelItem(2)->setCheckState(0, Qt::Checked);
    QTest::mouseClick(w->btnDispFav, Qt::LeftButton);
    EXPECT_FALSE(w->btnDispAll->isChecked());
    EXPECT_EQ(Names(w->LVmain), UiTexts({"Gamma"}));
    w->btnDispFav->click(); // releasing the last one presses "all" again
    EXPECT_TRUE(w->btnDispAll->isChecked());

    w->btnDispNor->click(); // flag 9 alone counts as normal
    EXPECT_EQ(Names(w->LVmain), UiTexts({"Beta"}));
    w->btnDisp[0]->click();
    EXPECT_EQ(Names(w->LVmain), UiTexts({"Alpha", "Beta"}));
    EXPECT_EQ(w->StatusText(0), Sj(" 該当件数：2/4"));
}

TEST_F(MainFormLists, FavouritesFollowTheBoxesAtTheNamedMomentsOnly) {
    DisplayToggles favourites;
    favourites.All = false;
    favourites.Favorite = true;
    w->N4->trigger();
    EXPECT_TRUE(MusicTable[0].Favorite && MusicTable[3].Favorite);
    w->SetToggles(favourites);
    w->btnCompClick();
    w->N5->trigger();
    EXPECT_EQ(w->LVmain->topLevelItemCount(), 4); // unticked rows stay until the next refresh
    EXPECT_EQ(w->LVmain->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(MusicTable[0].Favorite);

    // A page switch reads back the page left: the batch page's boxes are the song list's.
    w->LVmain->topLevelItem(0)->setCheckState(0, Qt::Checked);
    w->PageControl1->setCurrentWidget(w->TabSheet3);
    EXPECT_TRUE(MusicTable[0].Favorite);
    EXPECT_FALSE(w->pnlDispSw->isHidden());
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    EXPECT_TRUE(w->pnlDispSw->isHidden());
    w.Pick(5);
    ASSERT_EQ(w->LVskill->topLevelItemCount(), 4);
    // Leaving the advice page takes its own boxes; the song list's later tick does not count.
    w->LVskill->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    w->LVmain->topLevelItem(2)->setCheckState(0, Qt::Checked);
    w->PageControl1->setCurrentWidget(w->TabSheet1);
    EXPECT_FALSE(MusicTable[0].Favorite);
    EXPECT_FALSE(MusicTable[2].Favorite);
    EXPECT_FALSE(w->pnlDispSw->isHidden());
}

TEST_F(MainFormLists, SpaceTicksTheCurrentRowsBoxAsAClickOnTheBoxDoes) {
    QTreeWidget* list = w->LVmain;
    // A click on the box ticks it; the favourite follows at the next read-back only.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BoxPoint(list, 0));
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_FALSE(MusicTable[0].Favorite);

    // After a click on a name the name column is current; Space and Select tick the box all the same.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellPoint(list, 1, 1));
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), list->indexFromItem(list->topLevelItem(2), 1));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
    EXPECT_FALSE(MusicTable[2].Favorite);
    QTest::keyClick(list, Qt::Key_Select);
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Unchecked);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(2)); // no keyboard search took the key
    w->btnCompClick();
    EXPECT_TRUE(MusicTable[0].Favorite && MusicTable[2].Favorite);
    EXPECT_FALSE(MusicTable[1].Favorite);

    // In the advice list too, with the points column current. Ctrl+Space stays the
    // view's: it takes the row out of the selection and leaves the box.
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    w.Pick(5);
    QTreeWidget* advice = w->LVskill;
    advice->setCurrentIndex(advice->model()->index(2, 2));
    QTest::keyClick(advice, Qt::Key_Space);
    EXPECT_EQ(advice->topLevelItem(2)->checkState(0), Qt::Unchecked);
    ASSERT_TRUE(advice->topLevelItem(2)->isSelected());
    QTest::keyClick(advice, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(advice->topLevelItem(2)->isSelected());
    EXPECT_EQ(advice->topLevelItem(2)->checkState(0), Qt::Unchecked);
    w.Pick(5);
    EXPECT_FALSE(MusicTable[2].Favorite);
}

TEST_F(MainFormLists, LevelCellsFollowTheRowsOwnImage) {
    w.Rate(0, 4, 9000); // counted, best chart BASS ADV: code 8
    w->btnCompClick();
    QTreeWidgetItem* alpha = w->LVmain->topLevelItem(0);
    EXPECT_EQ(Fills(alpha, 1, 13), std::vector<QColor>({kNone, kNone, kBsc, kAdv, kExt, kBsc, kBest, kExt,
                                                        kBsc, kAdv, kExt, kNone, kNone}));
    EXPECT_EQ(alpha->foreground(7).color(), QColor(0, 0, 0)); // readable on a dark theme too
    EXPECT_EQ(Fills(w->LVmain->topLevelItem(1), 3, 3), std::vector<QColor>({kBsc})); // no points

    // Selected, the level cells keep their fills and dark text; the name cell shows the selection.
    w->LVmain->setCurrentItem(alpha);
    ASSERT_TRUE(alpha->isSelected());
    for (const auto& [column, fill] : {std::pair{7, kBest}, std::pair{3, kBsc}}) {
        const CellLook look = Look(w->LVmain, alpha, column);
        EXPECT_EQ(look.Fill.name(), fill.name()) << column;
        EXPECT_EQ(look.Ink.name(), UiText("#000000")) << column;
    }
    const QColor highlight = w->LVmain->palette().color(QPalette::Highlight);
    EXPECT_EQ(Look(w->LVmain, alpha, 1).Fill.name(), highlight.name());

    // The same in an active window with the list focused. The list then draws
    // its focus frame over the current row: it tints the name cell (which
    // shows that the drawing saw the active window), not the level cells and
    // not the row's image, which is drawn as it is, not faded.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    w->LVmain->setFocus();
    ASSERT_TRUE(w->LVmain->hasFocus());
    EXPECT_NE(Look(w->LVmain, alpha, 1).Fill.name(), highlight.name());
    for (const auto& [column, fill] : {std::pair{7, kBest}, std::pair{3, kBsc}, std::pair{5, kExt}}) {
        const CellLook look = Look(w->LVmain, alpha, column);
        EXPECT_EQ(look.Fill.name(), fill.name()) << column;
        EXPECT_EQ(look.Ink.name(), UiText("#000000")) << column;
    }
    const QColor tile(128, 128, 0); // the image of BASS ADV
    ASSERT_GT(PixelsOf(w->ILmain[8], tile), 200);
    EXPECT_EQ(PixelsOf(w->LVmain, alpha, 0, tile), PixelsOf(w->ILmain[8], tile));

    w->LVmainColumnClick(1); // the colours move with the row
    ASSERT_NE(w->LVmain->topLevelItem(0), alpha);
    EXPECT_EQ(Fills(alpha, 7, 7), std::vector<QColor>({kBest}));
    // The row's image decides, not the table: only an image replaced in place moves it.
    MusicTable[0].SkillList.BestCode = 2;
    EXPECT_EQ(Fills(alpha, 7, 7), std::vector<QColor>({kBest}));
    alpha->setIcon(0, w->ILmain[2]);
    EXPECT_EQ(Fills(alpha, 7, 7), std::vector<QColor>({kAdv}));
}

TEST(MainFormListsDrum, ColumnsTabAndBatchOfTheDrumEdition) {
    Window w(DrumEdition(), [] { return std::vector<SjisString>{SongLine("Drum", "5", {11, 22, 33})}; });
    w.Rate(0, 2, 9000);
    w->btnCompClick();
    EXPECT_EQ(Fills(w->LVmain->topLevelItem(0), 2, 6),
              std::vector<QColor>({kNone, kBsc, kAdv, kBest, kNone}));
    w.Pick(5);
    const std::vector<QColor> fills = Fills(w->LVskill->topLevelItem(0), 3, 18);
    EXPECT_EQ(fills, std::vector<QColor>({kNone, kBsc, kBsc, kBsc, kBsc, kBsc, kAdv, kAdv, kAdv, kAdv, kAdv,
                                          kBest, kBest, kBest, kBest, kBest}));
    w->tcPlayMode->setCurrentIndex(0);
    EXPECT_EQ(w->PlayMode, 0);

    w.Type(0, 3, "90");
    w.Type(0, 5, "drum");
    QTest::mouseClick(w->btnBatchUpdate, Qt::LeftButton);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[1].Rate, 9000);
    EXPECT_EQ(MusicTable[0].Comment, "drum");
}

// ---- Advice lists ----------------------------------------------------------------

TEST_F(MainFormLists, AdviceListIsBuiltOnlyWhenAConditionIsPicked) {
    EXPECT_EQ(w->LVskill->topLevelItemCount(), 0);
    w.Rate(0, 4, 9512); // level 50: 5 x 25.5 = 127.5 -> 1.28
    w.Rate(1, 0, 9000); // level 12: 10 x 6.5 = 0.65
    w.Rate(3, 0, 7500);
    w->btnCompClick();
    w.Pick(0);
    EXPECT_EQ(Names(w->LVskill), UiTexts({"Alpha", "Beta"}));
    EXPECT_EQ(w->StatusText(0), Sj(" 該当件数：2/4"));
    const QTreeWidgetItem* alpha = w->LVskill->topLevelItem(0);
    EXPECT_EQ(QStringList({alpha->text(0), alpha->text(2), alpha->text(27)}),
              UiTexts({"  0", " 1.28", " 95"}));
    EXPECT_EQ(w->LVskill->topLevelItem(1)->text(2), UiText(" 0.65"));
    EXPECT_EQ(Fills(alpha, 3, 4), std::vector<QColor>({kNone, kBsc}));
    EXPECT_EQ(Fills(alpha, 23, 29), std::vector<QColor>({kBsc, kBest, kBest, kBest, kBest, kBest, kExt}));

    // A recomputation leaves the rows; picking again rebuilds them.
    w.Rate(2, 0, 9900);
    w->btnCompClick();
    EXPECT_EQ(w->LVskill->topLevelItemCount(), 2);
    w.Pick(0);
    EXPECT_EQ(Names(w->LVskill), UiTexts({"Alpha", "Beta", "Gamma"}));
    w.Pick(3);
    EXPECT_EQ(w->StatusText(0), Sj(" 該当件数：0/4"));

    // The ticks of the old rows are stored first and the new rows show them.
    w.Pick(5);
    w->LVskill->topLevelItem(3)->setCheckState(0, Qt::Checked);
    w.Pick(5);
    EXPECT_TRUE(MusicTable[3].Favorite);
    EXPECT_EQ(w->LVskill->topLevelItem(3)->checkState(0), Qt::Checked);
}

// ---- Batch-update grid -------------------------------------------------------------

TEST_F(MainFormLists, BatchStoresValidCellsThatRaiseTheRate) {
    w.Rate(0, 0, 9512);
    w.Rate(0, 1, 9512);
    w->btnCompClick();
    EXPECT_EQ(w.Cell(0, 2), UiText("95"));
    w.Type(0, 2, "96");
    w.Type(0, 3, "95"); // 9500 is not above 9512
    w.Type(0, 4, "100");
    w.Type(0, 5, "101"); // refused; the other refused cells are the rule's own test
    w.Type(0, 11, "new\r\n\tline");
    w.Type(2, 11, "lost"); // no chart of its row is stored
    w.Type(3, 3, "50");    // the second Beta's row updates the first Beta, chart without a level
    BatchUpdate();

    EXPECT_EQ(w.folder.boxes.ShownUtf8(), std::vector<std::string>({"更新しました"}));
    EXPECT_EQ(w.folder.boxes.Shown()[0].Kind, BoxKind::Notice);
    EXPECT_EQ(std::vector<int32_t>({Chart(0, 0).Rate, Chart(0, 1).Rate, Chart(0, 2).Rate, Chart(0, 3).Rate}),
              std::vector<int32_t>({9600, 9512, 10000, 0}));
    EXPECT_EQ(Chart(0, 0).InputMode, InputRate);
    EXPECT_EQ(MusicTable[0].Comment, "new     line"); // sanitised for its file line
    EXPECT_EQ(MusicTable[0].UpdateTime, "07/02 13:45");
    EXPECT_FALSE(MusicTable[0].Changed);
    EXPECT_EQ(Chart(1, 1).Rate, 5000);
    EXPECT_EQ(Chart(1, 1).SkillPoint, 0);
    EXPECT_EQ(MusicTable[3].UpdateTime, "");
    EXPECT_EQ(w->stSkillPointTag, TotalSkill);
    // The refresh after the box: stored values, empty status cells, the old comment back.
    EXPECT_EQ(QStringList({w.Cell(0, 0), w.Cell(0, 2), w.Cell(1, 3), w.Cell(2, 11)}),
              UiTexts({"", "96", "50", ""}));
    EXPECT_EQ(MusicTable[2].Comment, "");
}

TEST_F(MainFormLists, BatchWithoutEditsStoresOnlyWhenTheBoxIsCleared) {
    w.Rate(0, 0, 9512);
    MusicTable[0].Comment = "old";
    w->btnCompClick();
    BatchUpdate();
    EXPECT_EQ(w.folder.boxes.ShownUtf8(), std::vector<std::string>({"更新しました"}));
    EXPECT_EQ(Chart(0, 0).Rate, 9512);
    EXPECT_EQ(MusicTable[0].UpdateTime, "");

    w->cbBatUpdateFlg->setChecked(false);
    BatchUpdate();
    EXPECT_EQ(Chart(0, 0).Rate, 9500);
    EXPECT_EQ(MusicTable[0].Comment, "old");
    EXPECT_EQ(MusicTable[0].UpdateTime, "07/02 13:45");
    EXPECT_EQ(MusicTable[1].UpdateTime, ""); // every cell 0: nothing stored
}

TEST_F(MainFormLists, BatchOverflowStopsTheUpdateAtThatCell) {
    const int32_t total = TotalSkill;
    w.Type(0, 2, "96");
    w.Type(0, 3, "99999999999");
    w.Type(0, 4, "90");
    w.Type(0, 11, "new");
    BatchUpdate();
    ASSERT_EQ(w.folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(w.folder.boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_EQ(w.folder.boxes.ShownUtf8()[0], "'99999999999' は整数ではありません.");
    EXPECT_EQ(Chart(0, 0).Rate, 9600); // stored before the bad cell
    EXPECT_EQ(Chart(0, 2).Rate, 0);
    EXPECT_EQ(MusicTable[0].Comment, "");
    EXPECT_EQ(TotalSkill, total);
    EXPECT_EQ(w.Cell(0, 0), UiText("更新")); // no refresh
}

TEST_F(MainFormLists, BatchUndoEditorAndNameCells) {
    w.Type(0, 2, "99");
    QTest::mouseClick(w->btnBatchClear, Qt::LeftButton);
    EXPECT_EQ(w.Cell(0, 2), UiText("0"));
    EXPECT_EQ(Chart(0, 0).Rate, 0);

    // The flat button takes no focus: the open editor is committed before the cells are read.
    w->PageControl1->setCurrentWidget(w->TabSheet3);
    w->grdBatch->setCurrentCell(0, 2);
    auto* editor = w->grdBatch->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, UiText("97"));
    BatchUpdate();
    EXPECT_EQ(Chart(0, 0).Rate, 9700);

    // A click on another row's name: column 2 of the row current before.
    w->grdBatch->setCurrentCell(1, 5);
    QTableWidgetItem* name = w->grdBatch->item(2, 1);
    QTest::mouseClick(w->grdBatch->viewport(), Qt::LeftButton, {},
                      w->grdBatch->visualItemRect(name).center());
    EXPECT_EQ(QPoint(w->grdBatch->currentRow(), w->grdBatch->currentColumn()), QPoint(1, 2));
    EXPECT_FALSE(name->isSelected() || (name->flags() & Qt::ItemIsEditable));
}

// ---- Total, clipboard copies, dialog buttons ------------------------------------------

TEST_F(MainFormLists, TotalColourAndHintFollowTheTagOfEachNewTotal) {
    const struct Case {
        int32_t total;
        QColor color;
        const char* hint;
    } cases[] = {
        {81234, QColor(128, 255, 255), "予想スキルポイント：812.34"},
        {19999, QColor(255, 255, 255), "予想スキルポイント：199.99"},
    };
    for (const Case& c : cases) {
        w->ShowTotal(c.total);
        EXPECT_EQ(w->stSkillPoint->palette().color(QPalette::Text), c.color) << c.total;
        EXPECT_EQ(w->pnlSkill->toolTip(), QString::fromUtf8(c.hint));
    }
}

TEST_F(MainFormLists, CopiesListTheSelectedAdviceRowsInOnScreenOrder) {
    ClipboardRecorder clipboard;
    w.Rate(0, 4, 9512); // Alpha shows 1.28 points
    w->btnCompClick();
    w.Pick(5);
    w.folder.boxes.Clear();
    w->mnCopy3->trigger(); // nothing selected: nothing copied, nothing shown
    EXPECT_EQ(clipboard.Sets(), 0);
    EXPECT_TRUE(w.folder.boxes.Shown().empty());

    // As after a sort: the second Beta first. The first Beta, between the
    // selected rows, is skipped.
    w->LVskill->insertTopLevelItem(0, w->LVskill->takeTopLevelItem(3));
    for (int row : {0, 1, 3})
        w->LVskill->topLevelItem(row)->setSelected(true);
    const int32_t codes[] = {9, 0, 3, 12}; // the labels follow the table at the time of the copy
    for (std::size_t i = 0; i < 4; ++i)
        MusicTable[i].SkillList.BestCode = codes[i];
    const SjisString rule = "\r\n------------------------\r\n";
    const struct Case {
        QAction* item;
        SjisString text;
    } cases[] = {
        {w->mnCopy1, Sj("曲名") + rule + "Beta\r\nAlpha\r\nGamma\r\n"},
        {w->mnCopy2, "LV\t" + Sj("曲名") + rule + "EXT<O>\tBeta\r\nEXT<B>\tAlpha\r\nEXT\tGamma\r\n"},
        {w->mnCopy3, Sj("残SP") + "\tLV\t" + Sj("曲名") + rule +
                         " 0.00\tEXT<O>\tBeta\r\n 1.28\tEXT<B>\tAlpha\r\n 0.00\tEXT\tGamma\r\n"},
    };
    for (const Case& c : cases) {
        w.folder.boxes.Clear();
        c.item->trigger();
        EXPECT_EQ(clipboard.Text(), c.text) << c.item->objectName().toStdString();
        EXPECT_EQ(w.folder.boxes.ShownUtf8(),
                  std::vector<std::string>{"選択したデータをクリップボードにコピーしました！"});
        EXPECT_EQ(w.folder.boxes.Shown()[0].Kind, BoxKind::Notice);
    }

    // A row whose song is no longer loaded is left out.
    MusicCount = 3;
    w->mnCopy1->trigger();
    EXPECT_EQ(clipboard.Text(), Sj("曲名") + rule + "Alpha\r\nGamma\r\n");
    MusicCount = 4;
}

// The main window started on three songs, with the dialogs it opens.
class MainFormDialogs : public ::testing::Test {
  protected:
    MainFormDialogs() {
        Windows().Main = w.form.get();
        exporter.FormCreate();
        Windows().Export = &exporter;
        Windows().Property = &settings;
        Windows().MusicEdit = &musicEdit;
        Windows().Send = &send;
        EXPECT_TRUE(w.folder.boxes.Shown().empty());
        w->LVmain->clear(); // a refresh shows itself by the rows coming back
    }
    ~MainFormDialogs() override {
        Windows() = ProgramWindows{};
        ServerAddress.clear();
    }
    bool Refreshed() const { return w->LVmain->topLevelItemCount() == MusicCount; }

    Window w{GuitarEdition(),
             [] {
                 return std::vector<SjisString>{SongLine("Alpha", "5", {10, 20, 30}),
                                                SongLine("Beta", "6", {15}), SongLine("Gamma", "7", {40})};
             },
             "[GuitarFreaksV3]\r\nperfect=70\r\ngreat=25\r\ncombo=15\r\nwaru=90\r\n"
             "[link]\r\nserver=http://example.invalid/svc/\r\n"};
    ExportForm exporter;
    PropertyForm settings;
    MusicEditForm musicEdit;
    SendForm send;
};

TEST_F(MainFormDialogs, SendAlwaysRefreshesAndExportNever) {
    std::vector<QDialog*> shown;
    ModalScript script([&](QDialog& dialog) {
        shown.push_back(&dialog);
        return shown.size() == 1 ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
    QTest::mouseClick(w->btnSend, Qt::LeftButton); // closed without sending
    EXPECT_TRUE(Refreshed());
    w->LVmain->clear();
    QTest::mouseClick(w->btnExport, Qt::LeftButton); // closed with OK
    EXPECT_FALSE(Refreshed());
    EXPECT_EQ(shown, (std::vector<QDialog*>{&send, &exporter}));
}

TEST_F(MainFormDialogs, SettingsAreFilledWithTheRunningValuesAndRefreshOnlyOnOk) {
    QStringList filled;
    int result = QDialog::Rejected;
    ModalScript script([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &settings);
        for (const char* name : {"edServer", "edPer", "edGrt", "edCmb", "edWaru"})
            filled << dialog.findChild<ByteLimitedEdit*>(UiText(name))->text();
        // Typed but not stored: the next opening shows the running values again.
        dialog.findChild<ByteLimitedEdit*>(UiText("edPer"))->setText(UiText("1"));
        return result;
    });
    const QStringList running(
        {UiText("http://example.invalid/svc/"), UiText("70"), UiText("25"), UiText("15"), UiText("90")});
    QTest::mouseClick(w->btnOption, Qt::LeftButton);
    EXPECT_EQ(filled, running);
    EXPECT_FALSE(Refreshed());

    result = QDialog::Accepted;
    filled.clear();
    QTest::mouseClick(w->btnOption, Qt::LeftButton);
    EXPECT_EQ(filled, running);
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(SkillComputer->Perfect, 70);
}

TEST_F(MainFormDialogs, ADownloadThatReloadedTheTableDropsTheAdviceRows) {
    // An advice row of the old table, its condition still picked.
    w->LVskill->addTopLevelItem(MakeListRow({"  1", "Beta"}, 1, "Beta", QIcon(), false));
    w->cbWhere->setCurrentIndex(5);
    int conditionSignals = 0;
    QObject::connect(w->cbWhere, &QComboBox::currentIndexChanged, [&] { ++conditionSignals; });

    FakeService service;
    service.SetReply("gfv.txt",
                     FakeService::Body(SongLine("New0", "1", {10}) + "\r\n" + SongLine("Beta", "6", {15}) +
                                       "\r\n" + SongLine("New2", "8", {20}) + "\r\n" +
                                       SongLine("New3", "9", {20}) + "\r\n"));
    service.SetReply("check.txt",
                     FakeService::Body("GFV 002 2024/03/05 12:00:00 " + service.BaseUrl() + "gfv.txt\r\n"));
    w.folder.boxes.Answer(BoxAnswer::Yes);
    ModalScript script([&](QDialog& dialog) {
        dialog.findChild<ByteLimitedEdit*>(UiText("edURL"))
            ->setText(QString::fromStdString(service.BaseUrl() + "check.txt"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(UiText("btnGet")), Qt::LeftButton);
        return dialog.result();
    });
    QTest::mouseClick(w->btnOption, Qt::LeftButton);

    ASSERT_EQ(MusicCount, 4);
    EXPECT_EQ(w->LVskill->topLevelItemCount(), 0);
    EXPECT_EQ(w->cbWhere->currentIndex(), -1);
    EXPECT_EQ(conditionSignals, 0); // not a player's pick: the advice list is not rebuilt
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(RowSongName(*w->LVmain->topLevelItem(3)), "New3");
}

TEST_F(MainFormDialogs, SongInformationRefreshesOnlyOnOkForTheSelectedSong) {
    int result = QDialog::Rejected;
    ModalScript script([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &musicEdit);
        return result;
    });
    w->btnCompClick();
    w->mnMusicEdit->trigger(); // no row selected
    EXPECT_EQ(script.Runs(), 0);

    // The dialog's own tests cover what it stores and writes.
    w->LVmain->topLevelItem(2)->setSelected(true);
    w->LVmain->topLevelItem(2)->setText(14, UiText("stale")); // a refresh rebuilds the row
    w->mnMusicEdit->trigger();
    EXPECT_EQ(script.Runs(), 1);
    EXPECT_EQ(musicEdit.MusicIndex, 2);
    EXPECT_EQ(w->LVmain->topLevelItem(2)->text(14), UiText("stale"));

    result = QDialog::Accepted;
    w->mnMusicEdit->trigger();
    EXPECT_EQ(w->LVmain->topLevelItem(2)->text(14), UiText(""));
}

TEST_F(MainFormDialogs, QuickExportsRunTheirKindAndAFailureLeavesTheWindowUsable) {
    namespace fs = std::filesystem;
    ScopedCurrentDir inside(w.folder.dir.Path());
    fs::create_directory("GuitarFreaksV3_Export.txt"); // a folder in the way of the text file
    ClipboardRecorder clipboard;
    QTest::mouseClick(w->btnTxtOut, Qt::LeftButton);
    ASSERT_EQ(w.folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(w.folder.boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_NE(w.folder.boxes.ShownUtf8()[0].find("を作成できません"), std::string::npos);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QTest::mouseClick(w->btnHtmlOut, Qt::LeftButton);
    EXPECT_TRUE(fs::is_regular_file("GuitarFreaksV3_Export.html"));
}
