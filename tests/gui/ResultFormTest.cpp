#include "ui/ResultForm.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "data/Unitini.h"
#include "platform/Clock.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"
#include "ui/NumericField.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace {

class ResultFormTest : public ::testing::Test {
  public:
    void SetUp() override { Start(GuitarEdition()); }
    void TearDown() override {
        IniFileName.clear();
        SetFixedNow(std::nullopt);
    }

    // A fresh table of two songs, Alpha (level 45) and Beta (80), and no dialog yet.
    void Start(const Edition& edition) {
        form.reset();
        ResetData(edition);
        computer = DefaultWeights();
        IniFileName = dir.Dir() + "vostrane.ini";
        SetFixedNow(LocalTime{2024, 3, 7, 9, 5, 0});
        for (const char* name : {"Alpha", "Beta"}) {
            TMusicList& music = MusicTable[MusicCount];
            music.Name = name;
            music.Index = MusicCount;
            music.Level.fill(MusicCount == 0 ? 45 : 80);
            MusicNames.push_back(name);
            ++MusicCount;
        }
    }

    // The created dialog, as start-up leaves it.
    ResultForm& Form() {
        if (!form) {
            form = std::make_unique<ResultForm>();
            form->FormCreate();
        }
        return *form;
    }

    // Opens a chart; `act` plays the player's part while the dialog is up and
    // the dialog closes with whatever the player's keys and buttons chose.
    bool Edit(int32_t song, int32_t difficulty, int32_t mode, const std::function<void()>& act) {
        ModalScript script([&](QDialog& dialog) {
            dialog.setResult(QDialog::Rejected);
            act();
            return dialog.result();
        });
        return Form().EditResult(song, difficulty, mode);
    }

    NumericField* N(int i) { return Form().findChild<NumericField*>(UiText("edN%1").arg(i)); }
    NumericField* R(int i) { return Form().findChild<NumericField*>(UiText("edR%1").arg(i)); }
    template <typename T = QWidget> T* Get(const char* name) { return Form().findChild<T*>(UiText(name)); }
    QString Text(const char* label) { return Get<QLabel>(label)->text(); }
    QPushButton* Ok() { return Get<QPushButton>("btnOk"); }
    void ClickOk() { QTest::mouseClick(Ok(), Qt::LeftButton); }
    bool Shown(const char* marker) { return !Get(marker)->isHidden(); }
    void Tick(const char* box, bool on) { Get<QAbstractButton>(box)->setChecked(on); }

    static void Type(NumericField* field, const char* text) {
        field->selectAll();
        QTest::keyClicks(field, UiText(text));
    }
    void TypeCounts(const std::array<const char*, 6>& counts) {
        for (int i = 0; i < 6; ++i)
            Type(N(i + 1), counts[i]);
    }

    TempDir dir;
    DefaultFormulas formulas;
    TSkillComputer& computer = formulas.Computer;
    std::unique_ptr<ResultForm> form;
};

TEST_F(ResultFormTest, CreationFollowsTheEditionAndTheSettings) {
    EXPECT_EQ(Get<QComboBox>("cbMusicList")->count(), 2);
    EXPECT_EQ(Get<QComboBox>("cbMode")->itemText(2), UiText("OPEN PICK"));
    EXPECT_EQ(Get<QToolButton>("btnOptAuto")->text(), UiText("LIGHT"));
    EXPECT_TRUE(Get<QCheckBox>("cbUpdateFlg")->isChecked());
    EXPECT_FALSE(Get<QToolButton>("btnOptAuto")->isChecked());
    EXPECT_TRUE(Ok()->isEnabled());
    Tick("cbUpdateFlg", false);
    Tick("btnOptAuto", true);
    Form().FormDestroy();
    EXPECT_EQ(IniReadString("result", "upcheck", ""), "FALSE");
    EXPECT_EQ(IniReadString("result", "auto", ""), "TRUE");

    Start(DrumEdition());
    IniWriteString("result", "upcheck", "0");
    IniWriteString("result", "auto", "true");
    EXPECT_EQ(Get<QComboBox>("cbMode")->count(), 1);
    EXPECT_EQ(Get<QToolButton>("btnOptAuto")->text(), UiText("AUTO"));
    EXPECT_FALSE(Get<QCheckBox>("cbUpdateFlg")->isChecked());
    EXPECT_TRUE(Get<QToolButton>("btnOptAuto")->isChecked());
    MusicTable[0].Level = {21, 22, 23};
    Edit(0, 1, 2, [&] { // no OPEN PICK here: STANDARD
        EXPECT_EQ(Get<QComboBox>("cbMode")->currentIndex(), 0);
        EXPECT_EQ(Text("lvLvPt"), UiText("22"));
    });
}

TEST_F(ResultFormTest, LoadsTheChartAndCancelStoresNothing) {
    TMusicList& beta = MusicTable[1];
    TChartResult& chart = beta.SkillList.Chart[5]; // BASS EXTREME
    chart = {91, 5, 2, 1, 1, 97, 0, 9512, 2511, 910, 50, 20, 10, 10, 970, InputCounts, 1000, 0};
    beta.UpdateTime = "01/02 03:04";
    beta.Comment = Sj("難しい");

    bool accepted = Edit(1, 2, 1, [&] {
        EXPECT_EQ(Text("lvLvPt"), UiText("80"));
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(R(i)->Value(), chart.Value(0, i - 1)) << i;
            EXPECT_EQ(N(i)->Value(), chart.Value(1, i - 1)) << i;
        }
        EXPECT_EQ(R(7)->Value(), 95);
        EXPECT_EQ(N(7)->Value(), 1000);
        EXPECT_EQ(Text("lvSkill"), UiText("25.11"));
        EXPECT_EQ(Text("laUpDown"), UiText("---"));
        EXPECT_TRUE(Shown("shpBox2"));
        EXPECT_FALSE(Shown("shpBox1") || Shown("shpBox3"));
        EXPECT_EQ(Text("pnlUpdateYMHN"), UiText("01/02 03:04"));
        EXPECT_EQ(Get<QLineEdit>("edComment")->text(), QString::fromUtf8("難しい"));
        Type(N(1), "999"); // then cancelled
        QTest::mouseClick(Get<QPushButton>("btnCancel"), Qt::LeftButton);
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(chart.PerfectCount, 910);
    EXPECT_EQ(beta.UpdateTime, "01/02 03:04");
    EXPECT_FALSE(beta.Changed);
}

TEST_F(ResultFormTest, DifficultyMinusOneOpensOnBasic) {
    MusicTable[0].Level = {11, 12, 13, 14, 15, 16, 17, 18, 19};
    Edit(0, -1, 2, [&] {
        EXPECT_EQ(Get<QComboBox>("cbLevel")->currentIndex(), 0);
        EXPECT_EQ(Text("lvLvPt"), UiText("17"));
    });
}

TEST_F(ResultFormTest, CountsTypedAreStoredWithTheirShares) {
    bool accepted = Edit(0, 2, 0, [&] {
        TypeCounts({"500", "30", "3", "0", "2", "535"});
        EXPECT_EQ(Text("lvSkill"), UiText("14.23"));
        EXPECT_EQ(Text("laUpDown"), UiText("+14.23"));
        const QLabel* delta = Get<QLabel>("laUpDown");
        EXPECT_EQ(delta->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(delta->font().bold());
        EXPECT_EQ(R(7)->Value(), 95);
        Type(R(1), "50");
        EXPECT_TRUE(Shown("shpBox1"));
        // Clicking into a count recomputes the shares and switches back to counts.
        QTest::mouseClick(N(3)->lineEdit(), Qt::LeftButton);
        EXPECT_EQ(R(1)->Value(), 93);
        EXPECT_FALSE(Shown("shpBox1") || Shown("shpBox3"));
        EXPECT_TRUE(Shown("shpBox2"));
        ClickOk();
    });
    ASSERT_TRUE(accepted);
    const TMusicList& alpha = MusicTable[0];
    const TChartResult& chart = alpha.SkillList.Chart[2];
    const int32_t expected[2][6] = {{93, 6, 1, 0, 0, 100}, {500, 30, 3, 0, 2, 535}};
    for (int row = 0; row < 2; ++row)
        for (int pos = 0; pos < 6; ++pos)
            EXPECT_EQ(chart.Value(row, pos), expected[row][pos]) << row << pos;
    EXPECT_EQ(chart.TotalNotes, 535);
    EXPECT_EQ(chart.Rate, 9588);
    EXPECT_EQ(chart.InputMode, InputCounts);
    EXPECT_EQ(chart.SkillPoint, 0); // left to the caller's recalculation
    EXPECT_EQ(alpha.UpdateTime, "03/07 09:05");
    EXPECT_TRUE(alpha.Changed);
}

TEST_F(ResultFormTest, PercentagesAndTheRateMarkTheirColumn) {
    const TChartResult& chart = MusicTable[0].SkillList.Chart[0];
    Tick("cbUpdateFlg", false);
    ASSERT_TRUE(Edit(0, 0, 0, [&] {
        Type(R(1), "95");
        Type(R(6), "100");
        EXPECT_TRUE(Shown("shpBox1"));
        EXPECT_FALSE(Shown("shpBox2") || Shown("shpBox3"));
        ClickOk();
    }));
    EXPECT_EQ(chart.InputMode, InputPercents);
    EXPECT_EQ(chart.Rate, 9600);

    Tick("btnOptAuto", true);
    ASSERT_TRUE(Edit(0, 0, 0, [&] {
        Type(R(7), "80");
        EXPECT_EQ(R(7)->lineEdit()->text(), UiText("50")); // capped, not halved
        EXPECT_TRUE(Shown("shpBox3"));
        EXPECT_FALSE(Shown("shpBox1") || Shown("shpBox2"));
        ClickOk();
    }));
    EXPECT_EQ(chart.InputMode, InputRate);
    EXPECT_EQ(chart.Rate, 5000);
}

// A marker's frame runs over bare window only: through no caption beside
// the fields (the 【 】 of the percentages) and along no field's edge.
TEST_F(ResultFormTest, InputMarkersRunClearOfFieldsAndCaptions) {
    ResultForm& dialog = Form();
    const QImage bare = dialog.grab().toImage(); // the markers are hidden at creation
    const QRgb window = dialog.palette().color(QPalette::Window).rgb();
    for (const char* marker : {"shpBox1", "shpBox2", "shpBox3"}) {
        const QRect frame = Get(marker)->geometry();
        const QRect inside = frame.adjusted(2, 2, -2, -2);
        int drawnOver = 0;
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x)
                if (!inside.contains(x, y) && bare.pixel(x, y) != window) ++drawnOver;
        EXPECT_EQ(drawnOver, 0) << marker;
    }
}

TEST_F(ResultFormTest, OnlyARiseEnablesOkWhileTheBoxIsTicked) {
    TChartResult& chart = MusicTable[1].SkillList.Chart[0];
    chart.Rate = 9512;
    chart.SkillPoint = 2511;
    chart.InputMode = InputRate;
    QSignalSpy accepted(&Form(), &QDialog::accepted);
    Edit(1, 0, 0, [&] {
        // Clicking the rate recomputes from the whole percent shown.
        QTest::mouseClick(R(7)->lineEdit(), Qt::LeftButton);
        EXPECT_EQ(Text("lvSkill"), UiText("25.08"));
        EXPECT_EQ(Text("laUpDown"), UiText("-0.03"));
        EXPECT_EQ(Get<QLabel>("laUpDown")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_FALSE(Ok()->isEnabled());
        QTest::keyClick(R(7), Qt::Key_Return);
        EXPECT_EQ(accepted.count(), 0);
        // Unticking changes nothing until the next edit.
        QTest::mouseClick(Get<QCheckBox>("cbUpdateFlg"), Qt::LeftButton);
        EXPECT_FALSE(Ok()->isEnabled());
        Type(R(7), "94");
        EXPECT_TRUE(Ok()->isEnabled());
        QTest::mouseClick(Get<QCheckBox>("cbUpdateFlg"), Qt::LeftButton);
        Type(R(7), "95");
        EXPECT_FALSE(Ok()->isEnabled());
        QTest::keyClick(R(7), Qt::Key_Escape);
    });
    // Loading another chart leaves OK as the last edit left it.
    Edit(0, 0, 0, [&] { EXPECT_FALSE(Ok()->isEnabled()); });
}

TEST_F(ResultFormTest, EnterAndKeypadEnterAcceptEscCancels) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        MusicTable[0].Changed = false;
        EXPECT_TRUE(Edit(0, 0, 0, [&] { QTest::keyClick(Get("cbMusicList"), key); }));
        EXPECT_TRUE(MusicTable[0].Changed);
    }
    MusicTable[0].Changed = false;
    EXPECT_FALSE(Edit(0, 0, 0, [&] { QTest::keyClick(Get("edComment"), Qt::Key_Escape); }));
    EXPECT_FALSE(MusicTable[0].Changed);
}

TEST_F(ResultFormTest, EnterBeforeTheFieldsAreCorrectedStoresValuesInRange) {
    // A real modal run: the dialog closes before the fields correct their text.
    Tick("cbUpdateFlg", false);
    QTimer::singleShot(0, &Form(), [&] {
        N(2)->setFocus();
        Type(N(2), "-5");
        R(1)->setFocus();
        Type(R(1), "150");
        EXPECT_EQ(R(1)->lineEdit()->text(), UiText("150"));
        QTest::keyClick(R(1), Qt::Key_Return);
    });
    ASSERT_TRUE(Form().EditResult(0, 0, 0));
    const TChartResult& chart = MusicTable[0].SkillList.Chart[0];
    EXPECT_EQ(chart.PerfectPct, 100);
    EXPECT_EQ(chart.GreatCount, 0);
    EXPECT_EQ(chart.Rate, 8000); // 100 % PERFECT alone
    EXPECT_EQ(chart.InputMode, InputPercents);
}

TEST_F(ResultFormTest, CommentRefusesUnencodableCharactersAndIsStoredFlat) {
    ASSERT_TRUE(Edit(0, 0, 0, [&] {
        QInputMethodEvent typed;
        typed.setCommitString(QString::fromUtf8("良い한曲"));
        QApplication::sendEvent(Get("edComment"), &typed);
        ClickOk();
    }));
    EXPECT_EQ(MusicTable[0].Comment, Sj("良い曲"));

    // A stored comment with line breaks and TABs, at the limit.
    MusicTable[0].Comment = "a\tb\r\nc" + std::string(94, 'x');
    ASSERT_TRUE(Edit(0, 0, 0, [&] { ClickOk(); }));
    EXPECT_EQ(MusicTable[0].Comment, "a    b c" + std::string(94, 'x') + " ");
}

TEST_F(ResultFormTest, OkWithoutChangeStoresTheSameResultAgain) {
    TChartResult& chart = MusicTable[0].SkillList.Chart[1];
    chart = {90, 8, 1, 0, 1, 95, 7, 9420, 1395, 900, 80, 10, 0, 10, 950, InputPercents, 1000, 33};
    const TChartResult before = chart;
    ASSERT_TRUE(Edit(0, 1, 0, [&] { ClickOk(); }));
    for (int pos = 0; pos < 9; ++pos) {
        EXPECT_EQ(chart.Value(0, pos), before.Value(0, pos)) << pos;
        EXPECT_EQ(chart.Value(1, pos), before.Value(1, pos)) << pos;
    }
    EXPECT_EQ(MusicTable[0].UpdateTime, "03/07 09:05");
    EXPECT_TRUE(MusicTable[0].Changed);

    Tick("btnOptAuto", true);
    ASSERT_TRUE(Edit(0, 1, 0, [&] { ClickOk(); }));
    EXPECT_EQ(chart.InputMode, InputRate);
}

TEST_F(ResultFormTest, ResultGoesToTheSongPickedInTheDialog) {
    Tick("cbUpdateFlg", false);
    ASSERT_TRUE(Edit(0, 0, 0, [&] {
        QTest::keyClick(Get("cbMusicList"), Qt::Key_Down); // the player picks Beta
        EXPECT_EQ(Text("lvLvPt"), UiText("80"));
        Type(R(7), "90");
        ClickOk();
    }));
    EXPECT_FALSE(MusicTable[0].Changed);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].Rate, 0);
    EXPECT_TRUE(MusicTable[1].Changed);
    EXPECT_EQ(MusicTable[1].SkillList.Chart[0].Rate, 9000);
}

TEST_F(ResultFormTest, SongIndexOutsideTheTableStoresNothing) {
    EXPECT_FALSE(Edit(5, 0, 0, [&] {
        EXPECT_EQ(Get<QComboBox>("cbMusicList")->currentIndex(), -1);
        ClickOk();
    }));
    EXPECT_FALSE(MusicTable[0].Changed || MusicTable[1].Changed || MusicTable[5].Changed);
}

TEST_F(ResultFormTest, ChartOfLevelZeroGivesNoPoints) {
    MusicTable[0].Level[0] = 0;
    Edit(0, 0, 0, [&] {
        EXPECT_EQ(Text("lvLvPt"), UiText("0"));
        Type(R(1), "100");
        Type(R(6), "100");
        EXPECT_EQ(R(7)->Value(), 100);
        EXPECT_EQ(Text("lvSkill"), UiText("0.00"));
        EXPECT_EQ(Text("laUpDown"), UiText("---"));
        EXPECT_FALSE(Ok()->isEnabled());
    });
}

// One wheel notch over a control, delivered as the platform delivers it: to
// the window under the pointer, as a spontaneous event, which Qt also lets
// move the focus to a control that takes it from the wheel.
void Wheel(QWidget* over, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* window = over->window();
    const QPointF at = over->mapTo(window, QPointF(over->width() / 2.0, over->height() / 2.0));
    QWheelEvent event(at, window->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window->windowHandle(), &event);
}

TEST_F(ResultFormTest, WheelActsOnTheFocusedControlNeverOnTheOneUnderThePointer) {
    Edit(0, 0, 0, [&] {
        Form().show();
        QApplication::setActiveWindow(&Form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
        QComboBox* songs = Get<QComboBox>("cbMusicList");
        QComboBox* level = Get<QComboBox>("cbLevel");
        QSignalSpy activated(songs, &QComboBox::activated);

        // A percentage focused: stepped over a picker, with Shift x10 and Ctrl x100, clamped.
        Type(R(1), "37");
        R(1)->setFocus();
        Wheel(songs, 120, Qt::ControlModifier);
        EXPECT_EQ(R(1)->Value(), 100);
        EXPECT_EQ(R(7)->Value(), 80); // recomputed as if typed
        Wheel(R(1), -120, Qt::ShiftModifier);
        EXPECT_EQ(R(1)->Value(), 90);
        EXPECT_EQ(songs->currentIndex(), 0);
        EXPECT_EQ(activated.count(), 0);

        // A count focused: a notch over another field or over the difficulty
        // picker steps the count; nothing else changes and the focus stays.
        Type(N(2), "5");
        N(2)->setFocus();
        Wheel(R(4), 120);
        EXPECT_EQ(N(2)->Value(), 6);
        EXPECT_EQ(R(4)->Value(), 0);
        EXPECT_TRUE(Shown("shpBox2") && !Shown("shpBox1"));
        Wheel(level, -120);
        EXPECT_EQ(N(2)->Value(), 5);
        EXPECT_EQ(level->currentIndex(), 0);
        EXPECT_TRUE(N(2)->hasFocus());

        // The comment focused: the wheel changes no value wherever it is.
        Get("edComment")->setFocus();
        for (QWidget* over : std::initializer_list<QWidget*>{level, R(4), N(2), songs})
            Wheel(over, -120);
        EXPECT_EQ(level->currentIndex(), 0);
        EXPECT_EQ(R(4)->Value(), 0);
        EXPECT_EQ(N(2)->Value(), 5);
        EXPECT_EQ(songs->currentIndex(), 0);
        EXPECT_TRUE(Get("edComment")->hasFocus());

        // A focused picker takes the wheel wherever the pointer is.
        level->setFocus();
        Wheel(R(4), -120);
        EXPECT_EQ(level->currentIndex(), 1);
        EXPECT_EQ(R(4)->Value(), 0);
        Form().hide();
    });
}

TEST_F(ResultFormTest, WaruZeroLeavesTheRateAtZeroWithoutAMessage) {
    computer.Waru = 0;
    MessageBoxScript boxes;
    Edit(0, 0, 0, [&] {
        Type(R(7), "60");
        Type(R(1), "90");
        EXPECT_EQ(R(7)->Value(), 0);
        EXPECT_TRUE(Shown("shpBox3")); // the failed computation switched nothing
        Type(N(1), "100");
        EXPECT_EQ(R(1)->Value(), 100); // the shares were still computed
        EXPECT_EQ(R(7)->Value(), 0);
    });
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
