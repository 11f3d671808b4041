#include "ui/MusicEditForm.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "editions/Editions.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"
#include "ui/ByteLimitedEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
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
    }

    // Song `index` with every field set.
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
        music.Index = MusicCount;
        MusicNames.push_back(name);
        ++MusicCount;
        return music;
    }

    template <typename T> T* Find(MusicEditForm& form, const char* name) {
        T* widget = form.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::string Txt() { return ReadFileBytes(dir.File(CurrentEdition().GameName + ".txt")); }

    TempDir dir;
};

TEST_F(MusicEditFormTest, LoadFillsEveryPageAndClampsLevels) {
    TMusicList& music = AddSong(Sj("曲その1"));
    music.Level[3] = 150;
    music.Level[4] = -5;
    MusicEditForm form;
    form.LoadMusic(0);

    EXPECT_EQ(form.MusicIndex, 0);
    EXPECT_EQ(Find<ByteLimitedEdit>(form, "edName")->SjisText(), Sj("曲その1"));
    EXPECT_EQ(Find<QLineEdit>(form, "edName2")->text(), QString::fromUtf8("曲その1"));
    EXPECT_EQ(Find<QLineEdit>(form, "edName3")->text(), QString::fromUtf8("曲その1"));
    EXPECT_FALSE(Find<QLineEdit>(form, "edName2")->isEnabled());
    EXPECT_EQ(Find<ByteLimitedEdit>(form, "edBPM")->SjisText(), "120-180");
    EXPECT_EQ(Find<ByteLimitedEdit>(form, "edRyaku")->SjisText(), "short");
    EXPECT_EQ(Find<QPlainTextEdit>(form, "edMemo")->toPlainText(), "memo");
    const int expected[9] = {10, 20, 30, 100, 0, 60, 70, 80, 90};
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(form.LevelEdits[c]->value(), expected[c]) << c;
    EXPECT_EQ(form.LevelEdits[3]->objectName(), "edBBSC");
    for (int k = 0; k < FlagCount; ++k)
        EXPECT_EQ(Find<QCheckBox>(form, ("chDisp" + std::to_string(k)).c_str())->isChecked(), music.Flags[k]);
    EXPECT_FALSE(Find<QCheckBox>(form, "chDisp9")->isEnabled());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("曲情報編集"));
    EXPECT_EQ(Find<QPushButton>(form, "btnOK")->text(), QString::fromUtf8("ＯＫ"));
}

TEST_F(MusicEditFormTest, DrumEditionShowsOnlyStandardAndTouchesOnlyItsLevels) {
    Start(DrumEdition());
    TMusicList& music = AddSong("Drum");
    music.Level[5] = 77; // not a chart of this edition
    MusicEditForm form;
    form.show();
    Find<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    EXPECT_TRUE(Find<QGroupBox>(form, "gbStandard")->isVisibleTo(&form));
    EXPECT_FALSE(Find<QGroupBox>(form, "gbBass")->isVisibleTo(&form));
    EXPECT_FALSE(Find<QGroupBox>(form, "gbOpenPick")->isVisibleTo(&form));
    form.LoadMusic(0);
    form.LevelEdits[2]->setValue(55);
    form.LevelEdits[5]->setValue(1);
    QTest::mouseClick(Find<QPushButton>(form, "btnOK"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(music.Level[2], 55);
    EXPECT_EQ(music.Level[5], 77);
}

TEST_F(MusicEditFormTest, OkStoresEveryFieldInPlace) {
    TMusicList& music = AddSong("Old");
    MusicEditForm form;
    form.show();
    form.LoadMusic(0);
    auto* name = Find<ByteLimitedEdit>(form, "edName");
    name->clear();
    QTest::keyClicks(name, "New name");
    EXPECT_EQ(Find<QLineEdit>(form, "edName2")->text(), "New name");
    Find<ByteLimitedEdit>(form, "edBPM")->SetSjisText("200");
    Find<ByteLimitedEdit>(form, "edRyaku")->SetSjisText(Sj("略"));
    Find<QPlainTextEdit>(form, "edMemo")->setPlainText(QString::fromUtf8("補足"));
    form.LevelEdits[8]->setValue(99);
    Find<QCheckBox>(form, "chDisp0")->setChecked(false);
    Find<QCheckBox>(form, "chDisp6")->setChecked(true);
    QTest::mouseClick(Find<QPushButton>(form, "btnOK"), Qt::LeftButton);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(music.Name, "New name");
    EXPECT_EQ(music.Bpm, "200");
    EXPECT_EQ(music.ShortName, Sj("略"));
    EXPECT_EQ(music.Memo, Sj("補足"));
    EXPECT_EQ(music.Level[8], 99);
    EXPECT_FALSE(music.Flags[0]);
    EXPECT_TRUE(music.Flags[6]);
    EXPECT_TRUE(music.Flags[9]);     // the disabled box writes its flag back unchanged
    EXPECT_EQ(MusicNames[0], "Old"); // the pickers keep the old name until the next load
}

TEST_F(MusicEditFormTest, BlankMemoBecomesAFullWidthSpace) {
    TMusicList& music = AddSong("Song");
    for (const char* memo : {"", "  \t ", "\n"}) {
        MusicEditForm form;
        form.LoadMusic(0);
        Find<QPlainTextEdit>(form, "edMemo")->setPlainText(memo);
        form.btnOKClick();
        EXPECT_EQ(music.Memo, Sj("　")) << "'" << memo << "'";
    }
}

TEST_F(MusicEditFormTest, TextsAreSanitisedSoTheMasterListLineStaysWhole) {
    TMusicList& music = AddSong("Song");
    MusicEditForm form;
    form.LoadMusic(0);
    // Pasted text can carry TABs; the memo can carry line breaks.
    Find<ByteLimitedEdit>(form, "edName")->setText("A\tB");
    Find<ByteLimitedEdit>(form, "edBPM")->setText("1\t2");
    Find<ByteLimitedEdit>(form, "edRyaku")->setText("s\tt");
    Find<QPlainTextEdit>(form, "edMemo")->setPlainText("line1\nline2\tx");
    form.btnOKClick();
    EXPECT_EQ(music.Name, "A    B");
    EXPECT_EQ(music.Bpm, "1    2");
    EXPECT_EQ(music.ShortName, "s    t");
    EXPECT_EQ(music.Memo, "line1line2    x");
}

TEST_F(MusicEditFormTest, UntouchedTextsKeepTheirBytes) {
    TMusicList& music = AddSong("Name\x80");
    music.Memo = "memo\xFD";
    MusicEditForm form;
    form.LoadMusic(0);
    form.btnOKClick();
    EXPECT_EQ(music.Name, "Name\x80");
    EXPECT_EQ(music.Memo, "memo\xFD");
}

TEST_F(MusicEditFormTest, BlankNameRefusesOk) {
    TMusicList& music = AddSong("Song");
    MusicEditForm form;
    form.show();
    form.LoadMusic(0);
    auto* ok = Find<QPushButton>(form, "btnOK");
    auto* name = Find<ByteLimitedEdit>(form, "edName");
    for (const char* blank : {"", "   ", "\t"}) {
        name->setText(blank);
        EXPECT_FALSE(ok->isEnabled()) << "'" << blank << "'";
        form.btnOKClick();
        EXPECT_EQ(music.Name, "Song");
        EXPECT_TRUE(form.isVisible());
    }
    // A full-width space is no blank for the loader.
    name->setText(QString::fromUtf8("　"));
    EXPECT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(music.Name, Sj("　"));
}

TEST_F(MusicEditFormTest, EditsCountBytes) {
    AddSong("Song");
    MusicEditForm form;
    form.show();
    form.LoadMusic(0);
    struct {
        const char* name;
        int limit;
    } limits[] = {{"edName", 100}, {"edBPM", 10}, {"edRyaku", 20}};
    for (const auto& l : limits) {
        auto* edit = Find<ByteLimitedEdit>(form, l.name);
        EXPECT_EQ(edit->ByteLimit(), l.limit);
        edit->clear();
        QTest::keyClicks(edit, QString(l.limit + 3, 'x'));
        EXPECT_EQ(edit->SjisText().size(), static_cast<std::size_t>(l.limit)) << l.name;
    }
    auto* bpm = Find<ByteLimitedEdit>(form, "edBPM");
    bpm->clear();
    for (QChar ch : QString::fromUtf8("あいうえおか")) // two bytes each
        QTest::sendKeyEvent(QTest::Click, bpm, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(bpm->SjisText(), Sj("あいうえお"));
}

TEST_F(MusicEditFormTest, LevelBoxesReadTypedTextClamped) {
    struct {
        const char* typed;
        int32_t stored;
    } cases[] = {{"150", 100}, {"", 0}, {"-3", 0}, {"+7", 7}, {"42", 42}, {"-", 0}, {"100", 100}};
    for (const auto& c : cases)
        EXPECT_EQ(LevelFromText(c.typed), c.stored) << c.typed;

    TMusicList& music = AddSong("Song");
    MusicEditForm form;
    form.show();
    form.LoadMusic(0);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QSpinBox* box = form.LevelEdits[0];
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "150");
    EXPECT_EQ(box->text(), "150");
    QTest::keyClicks(box, "9"); // a fourth character is refused
    EXPECT_EQ(box->text(), "150");
    QTest::keyClicks(box, "a");
    EXPECT_EQ(box->text(), "150");
    form.LevelEdits[1]->setFocus(); // leaving the box brings it to the bound
    EXPECT_EQ(box->text(), "100");

    QSpinBox* empty = form.LevelEdits[2];
    empty->setFocus();
    empty->selectAll();
    QTest::keyClick(empty, Qt::Key_Delete);
    QTest::mouseClick(Find<QPushButton>(form, "btnOK"), Qt::LeftButton);
    EXPECT_EQ(music.Level[0], 100);
    EXPECT_EQ(music.Level[2], 0);
}

TEST_F(MusicEditFormTest, EnterAndEscDoNothingAndPlainEnterAddsNoLineBreak) {
    AddSong("Song");
    MusicEditForm form;
    form.show();
    form.LoadMusic(0);
    auto* name = Find<ByteLimitedEdit>(form, "edName");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(name, Qt::Key_Escape);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());

    auto* memo = Find<QPlainTextEdit>(form, "edMemo");
    memo->setPlainText("ab");
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Enter);
    EXPECT_EQ(memo->toPlainText(), "ab");
    QTest::keyClick(memo, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "ab\n");
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MusicEditFormTest, EditMusicSavesTheMasterListOnOk) {
    AddSong("First");
    AddSong("Second");
    SetDataLoadComplete(true);
    MusicEditForm form;
    ModalScript modal([](QDialog& dialog) {
        auto* bpm = dialog.findChild<ByteLimitedEdit*>("edBPM");
        bpm->setText("999");
        dialog.findChild<QPushButton*>("btnOK")->click();
        return dialog.result();
    });
    EXPECT_TRUE(form.EditMusic(1));
    EXPECT_EQ(modal.Runs(), 1);
    EXPECT_EQ(MusicTable[1].Bpm, "999");
    const std::string txt = Txt();
    EXPECT_NE(
        txt.find(
            "First\t120-"
            "180\t10\t20\t30\t40\t50\t60\t70\t80\t90\t1\t0\t1\t0\t0\t0\t0\t0\t0\t1\tshort\tmemo\t1000\r\n"),
        std::string::npos)
        << txt;
    EXPECT_NE(txt.find("Second\t999\t"), std::string::npos);
}

TEST_F(MusicEditFormTest, OkWithoutChangesStillRewritesTheFile) {
    AddSong("Only");
    SetDataLoadComplete(true);
    WriteFileBytes(dir.File("GuitarFreaksV3.txt"), "stale");
    MusicEditForm form;
    ModalScript modal([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("btnOK")->click();
        return dialog.result();
    });
    EXPECT_TRUE(form.EditMusic(0));
    EXPECT_EQ(Txt().rfind("Only\t", 0), 0u);
}

TEST_F(MusicEditFormTest, CancelChangesNothing) {
    AddSong("Song");
    SetDataLoadComplete(true);
    MusicEditForm form;
    ModalScript modal([](QDialog& dialog) {
        dialog.findChild<ByteLimitedEdit*>("edName")->setText("Changed");
        dialog.findChild<QPushButton*>("btnCancel")->click();
        return dialog.result();
    });
    EXPECT_FALSE(form.EditMusic(0));
    EXPECT_EQ(MusicTable[0].Name, "Song");
    EXPECT_FALSE(std::filesystem::exists(dir.File("GuitarFreaksV3.txt")));
}

TEST_F(MusicEditFormTest, DoesNothingWhileTheLoadIsIncomplete) {
    AddSong("Song");
    SetDataLoadComplete(false);
    MusicEditForm form;
    ModalScript modal([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("btnOK")->click();
        return dialog.result();
    });
    EXPECT_FALSE(form.EditMusic(0));
    EXPECT_EQ(modal.Runs(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("GuitarFreaksV3.txt")));
}

TEST_F(MusicEditFormTest, AFailedWriteKeepsTheNewValuesAndRaises) {
    AddSong("Song");
    SetDataLoadComplete(true);
    AppDir = dir.Dir() + "missing/";
    MusicEditForm form;
    ModalScript modal([](QDialog& dialog) {
        dialog.findChild<ByteLimitedEdit*>("edBPM")->setText("321");
        dialog.findChild<QPushButton*>("btnOK")->click();
        return dialog.result();
    });
    EXPECT_THROW(form.EditMusic(0), AppError);
    EXPECT_EQ(MusicTable[0].Bpm, "321");
}

} // namespace
