#include "ui/MainForm.h"

#include "data/SkillCmp.h"
#include "editions/Editions.h"
#include "export/ExportForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/ModalRun.h"
#include "tests/gui/MainFormTestSupport.h"
#include "tests/net/FakeService.h"
#include "ui/ByteLimitedEdit.h"
#include "ui/ListRows.h"
#include "ui/MusicEditForm.h"
#include "ui/ProgramMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

TEST(MainFormTotal, ColourAndHintFollowTheTagOfEachNewTotal) {
    ProgramFolder folder(GuitarEdition());
    MainForm form;
    struct Case {
        int32_t total;
        QColor color;
        const char* hint;
    } cases[] = {
        {81234, QColor(128, 255, 255), "予想スキルポイント：812.34"},
        {19999, QColor(255, 255, 255), "予想スキルポイント：199.99"},
    };
    for (const Case& c : cases) {
        form.ShowTotal(c.total);
        EXPECT_EQ(form.stSkillPoint->palette().color(QPalette::Text), c.color) << c.total;
        EXPECT_EQ(form.pnlSkill->toolTip(), QString::fromUtf8(c.hint));
    }
}

// ---- clipboard copies of the advice list ----

class MainFormCopy : public ::testing::Test {
  protected:
    MainFormCopy() : folder(GuitarEdition()) {
        // Five songs; the rows stand in an order other than the table's, as after a sort.
        const char* const names[] = {"Alpha", "ベータ", "Gamma", "Delta", "Epsilon"};
        const int32_t codes[] = {8, 0, 3, 12, 1};
        for (int i = 0; i < 5; ++i) {
            TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
            song.Name = Sj(names[i]);
            song.Index = i;
            song.SkillList.BestCode = codes[i];
        }
        MusicCount = 5;
        for (int index : {3, 0, 4, 1, 2}) {
            const TMusicList& song = MusicTable[static_cast<std::size_t>(index)];
            const SjisString points = " " + std::to_string(index) + ".50";
            form.LVskill->addTopLevelItem(MakeListRow({"  " + std::to_string(index), song.Name, points},
                                                      index, song.Name, QIcon(), false));
        }
    }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows)
            form.LVskill->topLevelItem(row)->setSelected(true);
    }

    ProgramFolder folder;
    MainForm form;
    ClipboardRecorder clipboard;
};

TEST_F(MainFormCopy, EachItemListsTheSelectedRowsInOnScreenOrder) {
    Select({0, 2, 3, 4}); // Delta, Epsilon, ベータ, Gamma; Alpha between them is not selected
    MusicTable[4].SkillList.BestCode = 9; // Epsilon's best chart changed since its row was built
    const SjisString rule = "\r\n------------------------\r\n";
    const SjisString beta = Sj("ベータ");
    struct Case {
        QAction* item;
        SjisString text;
    } cases[] = {
        {form.mnCopy1, Sj("曲名") + rule + "Delta\r\nEpsilon\r\n" + beta + "\r\nGamma\r\n"},
        {form.mnCopy2, "LV\t" + Sj("曲名") + rule + "EXT<O>\tDelta\r\nEXT<B>\tEpsilon\r\n---\t" + beta +
                           "\r\nEXT\tGamma\r\n"},
        {form.mnCopy3, Sj("残SP") + "\tLV\t" + Sj("曲名") + rule +
                           " 3.50\tEXT<O>\tDelta\r\n 4.50\tEXT<B>\tEpsilon\r\n" + " 1.50\t---\t" + beta +
                           "\r\n 2.50\tEXT\tGamma\r\n"},
    };
    for (const Case& c : cases) {
        folder.boxes.Clear();
        c.item->trigger();
        EXPECT_EQ(clipboard.Text(), c.text) << c.item->objectName().toStdString();
        EXPECT_EQ(folder.boxes.ShownUtf8(),
                  std::vector<std::string>{"選択したデータをクリップボードにコピーしました！"});
        EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Notice);
    }
}

TEST_F(MainFormCopy, NothingSelectedCopiesNothing) {
    form.mnCopy3->trigger();
    EXPECT_EQ(clipboard.Sets(), 0);
    EXPECT_TRUE(folder.boxes.Shown().empty());
}

// ---- dialog buttons ----

// The main window started on three songs, with the dialogs it opens.
class MainFormDialogs : public ::testing::Test {
  protected:
    MainFormDialogs() : folder(GuitarEdition()) {
        WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10, 20, 30}),
                                             SongLine("Beta", "6", {15}), SongLine("Gamma", "7", {40})});
        WriteFileBytes(folder.Ini(), "[GuitarFreaksV3]\r\nperfect=70\r\ngreat=25\r\ncombo=15\r\nwaru=90\r\n"
                                     "[link]\r\nserver=http://example.invalid/svc/\r\n");
        form = std::make_unique<MainForm>();
        Windows().Main = form.get();
        form->FormCreate();
        exporter = std::make_unique<ExportForm>();
        exporter->FormCreate();
        Windows().Export = exporter.get();
        Windows().Property = (settings = std::make_unique<PropertyForm>()).get();
        Windows().MusicEdit = (musicEdit = std::make_unique<MusicEditForm>()).get();
        Windows().Send = (send = std::make_unique<SendForm>()).get();
        EXPECT_TRUE(folder.boxes.Shown().empty());
        form->LVmain->clear(); // a refresh shows itself by the rows coming back
    }
    ~MainFormDialogs() override {
        Windows() = ProgramWindows{};
        ServerAddress.clear();
        Guarded([this] { form->FormDestroy(); });
    }
    bool Refreshed() const { return form->LVmain->topLevelItemCount() == MusicCount; }

    ProgramFolder folder;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<ExportForm> exporter;
    std::unique_ptr<PropertyForm> settings;
    std::unique_ptr<MusicEditForm> musicEdit;
    std::unique_ptr<SendForm> send;
};

TEST_F(MainFormDialogs, SendAlwaysRefreshesAndExportNever) {
    std::vector<QDialog*> shown;
    ModalScript script([&](QDialog& dialog) {
        shown.push_back(&dialog);
        return shown.size() == 1 ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
    QTest::mouseClick(form->btnSend, Qt::LeftButton); // closed without sending
    EXPECT_TRUE(Refreshed());
    form->LVmain->clear();
    QTest::mouseClick(form->btnExport, Qt::LeftButton); // closed with OK
    EXPECT_FALSE(Refreshed());
    EXPECT_EQ(shown, (std::vector<QDialog*>{send.get(), exporter.get()}));
}

TEST_F(MainFormDialogs, SettingsAreFilledWithTheRunningValuesAndRefreshOnlyOnOk) {
    QStringList filled;
    int result = QDialog::Rejected;
    ModalScript script([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, settings.get());
        for (const char* name : {"edServer", "edPer", "edGrt", "edCmb", "edWaru"})
            filled << dialog.findChild<ByteLimitedEdit*>(name)->text();
        // Typed but not stored: the next opening shows the running values again.
        dialog.findChild<ByteLimitedEdit*>("edPer")->setText("1");
        return result;
    });
    QTest::mouseClick(form->btnOption, Qt::LeftButton);
    EXPECT_EQ(filled, QStringList({"http://example.invalid/svc/", "70", "25", "15", "90"}));
    EXPECT_FALSE(Refreshed());

    result = QDialog::Accepted;
    filled.clear();
    QTest::mouseClick(form->btnOption, Qt::LeftButton);
    EXPECT_EQ(filled, QStringList({"http://example.invalid/svc/", "70", "25", "15", "90"}));
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(SkillComputer->Perfect, 70);
}

TEST_F(MainFormDialogs, ADownloadThatReloadedTheTableDropsTheAdviceRows) {
    // An advice row of the old table, its condition still picked.
    form->LVskill->addTopLevelItem(MakeListRow({"  1", "Beta"}, 1, "Beta", QIcon(), false));
    form->cbWhere->setCurrentIndex(5);
    int conditionSignals = 0;
    QObject::connect(form->cbWhere, &QComboBox::currentIndexChanged, [&] { ++conditionSignals; });

    FakeService service;
    service.SetReply("gfv.txt",
                     FakeService::Body(SongLine("New0", "1", {10}) + "\r\n" + SongLine("Beta", "6", {15}) +
                                       "\r\n" + SongLine("New2", "8", {20}) + "\r\n" +
                                       SongLine("New3", "9", {20}) + "\r\n"));
    service.SetReply("check.txt",
                     FakeService::Body("GFV 002 2024/03/05 12:00:00 " + service.BaseUrl() + "gfv.txt\r\n"));
    folder.boxes.Answer(BoxAnswer::Yes);
    ModalScript script([&](QDialog& dialog) {
        dialog.findChild<ByteLimitedEdit*>("edURL")->setText(
            QString::fromStdString(service.BaseUrl() + "check.txt"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnGet"), Qt::LeftButton);
        return dialog.result();
    });
    QTest::mouseClick(form->btnOption, Qt::LeftButton);

    ASSERT_EQ(MusicCount, 4);
    EXPECT_EQ(form->LVskill->topLevelItemCount(), 0);
    EXPECT_EQ(form->cbWhere->currentIndex(), -1);
    EXPECT_EQ(conditionSignals, 0); // not a player's pick: the advice list is not rebuilt
    EXPECT_TRUE(Refreshed());
    EXPECT_EQ(RowSongName(*form->LVmain->topLevelItem(3)), "New3");
}

TEST_F(MainFormDialogs, SongInformationRefreshesOnlyOnOkForTheSelectedSong) {
    int result = QDialog::Rejected;
    ModalScript script([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, musicEdit.get());
        return result;
    });
    form->btnCompClick();
    form->mnMusicEdit->trigger(); // no row selected
    EXPECT_EQ(script.Runs(), 0);

    const std::string master = folder.GameFile(".txt");
    fs::remove(master);
    form->LVmain->topLevelItem(2)->setSelected(true);
    form->LVmain->topLevelItem(2)->setText(14, "stale"); // a refresh rebuilds the row
    form->mnMusicEdit->trigger();
    EXPECT_EQ(script.Runs(), 1);
    EXPECT_EQ(musicEdit->MusicIndex, 2);
    EXPECT_EQ(form->LVmain->topLevelItem(2)->text(14), "stale");
    EXPECT_FALSE(fs::exists(master));

    result = QDialog::Accepted;
    form->mnMusicEdit->trigger();
    EXPECT_EQ(script.Runs(), 2);
    EXPECT_EQ(form->LVmain->topLevelItem(2)->text(14), "");
    EXPECT_TRUE(fs::exists(master));
}

TEST_F(MainFormDialogs, AFailedQuickExportLeavesTheWindowUsable) {
    const fs::path previous = fs::current_path();
    fs::current_path(folder.dir.Path());
    // Folders in the way of both export files.
    fs::create_directory("GuitarFreaksV3_Export.txt");
    fs::create_directory("GuitarFreaksV3_Export.html");
    ClipboardRecorder clipboard;
    for (QToolButton* button : {form->btnTxtOut, form->btnHtmlOut}) {
        folder.boxes.Clear();
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(folder.boxes.Shown().size(), 1u) << button->objectName().toStdString();
        EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Error);
        EXPECT_NE(folder.boxes.ShownUtf8()[0].find("を作成できません"), std::string::npos);
        EXPECT_TRUE(form->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    fs::current_path(previous);
}

} // namespace
