#include "ui/MusicEditForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MusicEditFormTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(GuitarEdition()); }

    void Start(const Edition& edition) {
        ResetData(edition);
        AppDir = dir.Dir();
        form = std::make_unique<MusicEditForm>();
    }

    TMusicList& AddSong(const std::string& name) {
        TMusicList& music = MusicTable[MusicCount];
        music.Name = name;
        music.Bpm = "120-180";
        music.ShortName = "short";
        music.Memo = "memo";
        music.Code = 1000 + MusicCount;
        for (int c = 0; c < ChartCount(); ++c)
            music.Level[c] = 10 * (c + 1);
        music.Flags = {true, false, true, false, false, false, false, false, false, true};
        music.Index = MusicCount++;
        MusicNames.push_back(name);
        return music;
    }

    template <typename T = ByteLimitedEdit> T* Find(const char* name) {
        T* widget = form->findChild<T*>(UiText(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("edMemo"); }
    QCheckBox* Flag(int k) { return Find<QCheckBox>(("chDisp" + std::to_string(k)).c_str()); }
    void ClickOk() { QTest::mouseClick(Find<QPushButton>("btnOK"), Qt::LeftButton); }
    std::string Txt() { return ReadFileBytes(dir.File(CurrentEdition().GameName + ".txt")); }

    TempDir dir;
    std::unique_ptr<MusicEditForm> form;
};

TEST_F(MusicEditFormTest, LoadFillsEveryPageAndClampsLevels) {
    TMusicList& music = AddSong(Sj("曲その1"));
    music.Level[3] = 150;
    music.Level[4] = -5;
    form->LoadMusic(0);

    EXPECT_EQ(form->MusicIndex, 0);
    EXPECT_EQ(Find("edName")->SjisText(), Sj("曲その1"));
    for (const char* copy : {"edName2", "edName3"}) {
        EXPECT_EQ(Find<QLineEdit>(copy)->text(), QString::fromUtf8("曲その1"));
        EXPECT_FALSE(Find<QLineEdit>(copy)->isEnabled());
    }
    EXPECT_EQ(Find("edBPM")->SjisText(), "120-180");
    EXPECT_EQ(Find("edRyaku")->SjisText(), "short");
    EXPECT_EQ(Memo()->toPlainText(), UiText("memo"));
    const int expected[9] = {10, 20, 30, 100, 0, 60, 70, 80, 90};
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(form->LevelEdits[c]->value(), expected[c]) << c;
    EXPECT_EQ(form->LevelEdits[3]->objectName(), UiText("edBBSC"));
    for (int k = 0; k < kFlagCount; ++k)
        EXPECT_EQ(Flag(k)->isChecked(), music.Flags[k]) << k;
    EXPECT_FALSE(Flag(9)->isEnabled());
    // The edits count Shift-JIS bytes.
    EXPECT_EQ(Find("edName")->ByteLimit(), 100);
    EXPECT_EQ(Find("edBPM")->ByteLimit(), 10);
    EXPECT_EQ(Find("edRyaku")->ByteLimit(), 20);
}

TEST_F(MusicEditFormTest, DrumEditionShowsOnlyStandardAndTouchesOnlyItsLevels) {
    Start(DrumEdition());
    TMusicList& music = AddSong("Drum");
    music.Level[5] = 77; // not a chart of this edition
    form->show();
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    EXPECT_TRUE(Find<QGroupBox>("gbStandard")->isVisibleTo(form.get()));
    EXPECT_FALSE(Find<QGroupBox>("gbBass")->isVisibleTo(form.get()));
    EXPECT_FALSE(Find<QGroupBox>("gbOpenPick")->isVisibleTo(form.get()));
    form->LoadMusic(0);
    form->LevelEdits[2]->setValue(55);
    form->LevelEdits[5]->setValue(1);
    ClickOk();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(music.Level[2], 55);
    EXPECT_EQ(music.Level[5], 77);
}

TEST_F(MusicEditFormTest, MemoStaysOneFieldAndABlankOneBecomesAFullWidthSpace) {
    TMusicList& music = AddSong("Song");
    struct {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"", "　"}, {"  \t ", "　"}, {"\n", "　"}, {"line1\nline2\tx", "line1line2    x"}, {"補足", "補足"}};
    for (const auto& c : cases) {
        form->LoadMusic(0);
        Memo()->setPlainText(QString::fromUtf8(c.typed));
        form->btnOKClick();
        EXPECT_EQ(music.Memo, Sj(c.stored)) << "'" << c.typed << "'";
    }
}

TEST_F(MusicEditFormTest, UntouchedTextsKeepTheirBytes) {
    TMusicList& music = AddSong("Name\x80");
    music.Memo = "memo\xFD";
    form->LoadMusic(0);
    form->btnOKClick();
    EXPECT_EQ(music.Name, "Name\x80");
    EXPECT_EQ(music.Memo, "memo\xFD");
}

TEST_F(MusicEditFormTest, ABlankNameRefusesOk) {
    TMusicList& music = AddSong("Song");
    form->show();
    form->LoadMusic(0);
    auto* ok = Find<QPushButton>("btnOK");
    for (const char* blank : {"", "   ", "\t"}) {
        Find("edName")->setText(UiText(blank));
        EXPECT_FALSE(ok->isEnabled()) << "'" << blank << "'";
        form->btnOKClick();
        EXPECT_EQ(music.Name, "Song");
        EXPECT_TRUE(form->isVisible());
    }
    // A full-width space is no blank for the loader.
    Find("edName")->setText(QString::fromUtf8("　"));
    ClickOk();
    EXPECT_EQ(music.Name, Sj("　"));
}

TEST_F(MusicEditFormTest, LevelBoxesTakeThreeDigitsOrSignsAndClampOnLeaving) {
    struct {
        const char* typed;
        int32_t stored;
    } cases[] = {{"150", 100}, {"", 0}, {"-3", 0}, {"+7", 7}, {"42", 42}, {"-", 0}, {"100", 100}};
    for (const auto& c : cases)
        EXPECT_EQ(LevelFromText(UiText(c.typed)), c.stored) << c.typed;

    TMusicList& music = AddSong("Song");
    form->show();
    form->LoadMusic(0);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QSpinBox* box = form->LevelEdits[0];
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, UiText("1509a")); // a fourth character and a letter are refused
    EXPECT_EQ(box->text(), UiText("150"));
    form->LevelEdits[2]->setFocus(); // leaving the box brings it to the bound
    EXPECT_EQ(box->text(), UiText("100"));
    form->LevelEdits[2]->selectAll();
    QTest::keyClick(form->LevelEdits[2], Qt::Key_Delete);
    ClickOk();
    EXPECT_EQ(music.Level[0], 100);
    EXPECT_EQ(music.Level[2], 0); // a box left empty stores 0
}

TEST_F(MusicEditFormTest, EnterAndEscDoNothingAndPlainEnterAddsNoLineBreak) {
    AddSong("Song");
    form->show();
    form->LoadMusic(0);
    Find("edName")->setFocus();
    QTest::keyClick(Find("edName"), Qt::Key_Return);
    QTest::keyClick(Find("edName"), Qt::Key_Escape);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());

    Memo()->setPlainText(UiText("ab"));
    Memo()->setFocus();
    Memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(Memo(), Qt::Key_Return);
    QTest::keyClick(Memo(), Qt::Key_Enter);
    EXPECT_EQ(Memo()->toPlainText(), UiText("ab"));
    QTest::keyClick(Memo(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Memo()->toPlainText(), UiText("ab\n"));
    EXPECT_TRUE(form->isVisible());
}

// OK stores every field in place and rewrites the whole master list at once.
TEST_F(MusicEditFormTest, EditMusicStoresAndSavesOnlyOnOk) {
    AddSong("First");
    AddSong("Second");
    struct {
        bool loaded; // a partial table is never written
        const char* button;
        bool saved;
        int runs;
    } cases[] = {{true, "btnCancel", false, 1}, {false, "btnOK", false, 0}, {true, "btnOK", true, 1}};
    for (const auto& c : cases) {
        WriteFileBytes(dir.File("GuitarFreaksV3.txt"), "stale");
        SetDataLoadComplete(c.loaded);
        ModalScript modal([&](QDialog&) {
            Find("edName")->setText(UiText("New\tname")); // pasted text can carry TABs
            Find("edBPM")->setText(UiText("1\t2"));
            Find("edRyaku")->SetSjisText(Sj("略"));
            form->LevelEdits[8]->setValue(99);
            Flag(0)->setChecked(false);
            Flag(6)->setChecked(true);
            Find<QPushButton>(c.button)->click();
            return form->result();
        });
        EXPECT_EQ(form->EditMusic(1), c.saved) << c.button;
        EXPECT_EQ(modal.Runs(), c.runs);
        EXPECT_EQ(MusicTable[1].Bpm, c.saved ? "1    2" : "120-180");
        if (!c.saved) {
            EXPECT_EQ(Txt(), "stale");
        }
    }
    // The disabled box writes its flag back unchanged.
    EXPECT_EQ(Txt(),
              "First\t120-"
              "180\t10\t20\t30\t40\t50\t60\t70\t80\t90\t1\t0\t1\t0\t0\t0\t0\t0\t0\t1\tshort\tmemo\t1000\r\n"
              "New    name\t1    2\t10\t20\t30\t40\t50\t60\t70\t80\t99\t0\t0\t1\t0\t0\t0\t1\t0\t0\t1\t" +
                  Sj("略") + "\tmemo\t1001\r\n");
    EXPECT_EQ(MusicNames[1], "Second"); // the pickers keep the old name until the next load
}

TEST_F(MusicEditFormTest, AFailedWriteKeepsTheNewValuesAndRaises) {
    AddSong("Song");
    SetDataLoadComplete(true);
    AppDir = dir.Dir() + "missing/";
    ModalScript modal([](QDialog& dialog) {
        dialog.findChild<ByteLimitedEdit*>(UiText("edBPM"))->setText(UiText("321"));
        dialog.findChild<QPushButton*>(UiText("btnOK"))->click();
        return dialog.result();
    });
    EXPECT_THROW(form->EditMusic(0), AppError);
    EXPECT_EQ(MusicTable[0].Bpm, "321");
}

} // namespace
