#include "export/ExportForm.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "data/Unitini.h"
#include "export/RadioGroup.h"
#include "platform/Clock.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

const LocalTime kDec8 = {2024, 12, 8, 15, 30, 0};

class ExportFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetData(GuitarEdition());
        IniFileName = dir.File("vostrane.ini");
        SetFixedNow(kDec8);
        AddSong(1001, "Song", 9512);
    }
    void TearDown() override {
        SetFixedNow(std::nullopt);
        IniFileName.clear();
    }

    DefaultFormulas formulas;

    // A new song with a typed rate on its EXT chart.
    void AddSong(int32_t code, const char* name, int32_t rateX100) {
        TMusicList& music = MusicTable[MusicCount];
        music.Index = MusicCount++;
        music.Code = code;
        music.Name = name;
        music.ShortName = name;
        music.Level[2] = 60;
        music.SkillList.Chart[2].Rate = rateX100;
        music.SkillList.Chart[2].InputMode = InputRate;
    }

    void WriteIni(const char* utf8) { WriteFileBytes(dir.File("vostrane.ini"), Sj(utf8)); }
    SjisString Ini(const char* section, const char* key) { return IniReadString(section, key, "(missing)"); }

    template <typename T> T* Find(const char* name) {
        T* control = form.findChild<T*>(UiText(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QCheckBox* Check(const char* name) { return Find<QCheckBox>(name); }
    RadioGroup* Radio(const char* name) { return Find<RadioGroup>(name); }
    std::string File(const char* name) { return ReadFileBytes(dir.File(name)); }

    TempDir dir;
    ScopedCurrentDir inside{dir.Path()}; // exports go to the current folder
    MessageBoxScript boxes;
    ClipboardRecorder clipboard;
    ExportForm form;
};

TEST_F(ExportFormTest, DefaultsWithoutSettings) {
    EXPECT_EQ(Combo("ComboBox3")->currentIndex(), -1); // until the settings are applied
    form.FormCreate();
    for (const char* name : {"cbRow1", "CheckBox1"}) { // the counted songs are always exported
        EXPECT_TRUE(Check(name)->isChecked()) << name;
        EXPECT_FALSE(Check(name)->isEnabled()) << name;
    }
    EXPECT_EQ(Find<QTabWidget>("pagExport")->currentIndex(), 0);

    // Every other control's default shows in what it writes back, in the
    // order of the settings table (a fresh file shows that order).
    form.FormDestroy();
    EXPECT_EQ(File("vostrane.ini"), "[ExportText]\r\nsw1=0\r\nsw3=0\r\nsw4=0\r\nsw5=0\r\nsw6=0\r\nsw7=0\r\n"
                                    "sw8=0\r\nsw9=0\r\nsw10=0\r\n\r\n"
                                    "[ExportHtml]\r\nsw1=1\r\nsw2=1\r\nsw3=1\r\nsw4=1\r\nsw5=0\r\nsw6=1\r\n"
                                    "sw7=0\r\nsw8=0\r\nsw9=0\r\nsw10=0\r\nsw11=0\r\nsw12=0\r\nsw13=0\r\n\r\n"
                                    "[Export]\r\nsw0=0\r\n");
}

TEST_F(ExportFormTest, StoredValuesAreRestoredAndWrittenBack) {
    // Every key with a value other than its default, in table order.
    const std::string stored = "[ExportText]\r\nsw1=1\r\nsw3=1\r\nsw4=1\r\nsw5=1\r\nsw6=5\r\nsw7=1\r\n"
                               "sw8=1\r\nsw9=1\r\nsw10=1\r\n\r\n"
                               "[ExportHtml]\r\nsw1=0\r\nsw2=0\r\nsw3=0\r\nsw4=0\r\nsw5=1\r\nsw6=0\r\n"
                               "sw7=1\r\nsw8=1\r\nsw9=1\r\nsw10=1\r\nsw11=1\r\nsw12=1\r\nsw13=1\r\n\r\n"
                               "[Export]\r\nsw0=1\r\n";
    WriteIni(stored.c_str());
    form.FormCreate();
    EXPECT_EQ(Radio("rgText1")->ItemIndex(), 1);
    EXPECT_EQ(Combo("ComboBox3")->currentIndex(), 5);
    EXPECT_TRUE(Check("cbItem6")->isChecked());
    EXPECT_FALSE(Check("cbItem7")->isChecked());
    EXPECT_EQ(Radio("rgHtml4")->ItemIndex(), 1);
    EXPECT_TRUE(Check("chYmOut")->isChecked());

    fs::remove(dir.File("vostrane.ini"));
    form.FormDestroy();
    EXPECT_EQ(File("vostrane.ini"), stored);
}

TEST_F(ExportFormTest, StoredIndicesAreClampedOrDropped) {
    WriteIni("[ExportText]\r\nsw1=5\r\nsw4=-1\r\nsw6=7\r\n"
             "[ExportHtml]\r\nsw1=TRUE\r\nsw9= 1\r\nsw10=-7\r\nsw11=2\r\n");
    form.FormCreate();
    EXPECT_EQ(Radio("rgText1")->ItemIndex(), 1); // beyond the last item: the last
    EXPECT_EQ(Combo("ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(Combo("ComboBox3")->currentIndex(), -1); // outside the items: none
    EXPECT_FALSE(Check("cbItem2")->isChecked());       // only "1" ticks
    EXPECT_EQ(Radio("rgHtml1")->ItemIndex(), -1);      // below -1: none
    EXPECT_EQ(Radio("rgHtml2")->ItemIndex(), 1);

    form.FormDestroy();
    EXPECT_EQ(Ini("ExportText", "sw1"), "1");
    EXPECT_EQ(Ini("ExportText", "sw6"), "-1");
    EXPECT_EQ(Ini("ExportHtml", "sw1"), "0");
    EXPECT_EQ(Ini("ExportHtml", "sw10"), "-1");
}

TEST_F(ExportFormTest, ABadStoredValueStopsReadingTheRest) {
    WriteIni("[ExportText]\r\nsw4=1\r\nsw5=abc\r\nsw6=3\r\n[ExportHtml]\r\nsw5=1\r\n[Export]\r\nsw0=1\r\n");
    Guarded([&] { form.FormCreate(); });
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"'abc' は整数ではありません."});
    EXPECT_EQ(Combo("ComboBox1")->currentIndex(), 1);  // read before the bad key
    EXPECT_EQ(Combo("ComboBox2")->currentIndex(), -1); // initial states from here on
    EXPECT_EQ(Combo("ComboBox3")->currentIndex(), -1);
    EXPECT_FALSE(Check("cbItem6")->isChecked());
    EXPECT_TRUE(Check("cbItem7")->isChecked());
    EXPECT_FALSE(Check("chYmOut")->isChecked());

    // An empty stored index is no integer either.
    boxes.Clear();
    WriteIni("[ExportText]\r\nsw1=\r\n");
    ExportForm other;
    Guarded([&] { other.FormCreate(); });
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"'' は整数ではありません."});
}

TEST_F(ExportFormTest, TextExportGoesToItsFileAndTheClipboard) {
    AddSong(5000, "Outside", 9512);
    form.FormCreate();
    form.ExportSkillList(0);

    const std::string text = File("GuitarFreaksV3_Export.txt");
    EXPECT_EQ(text.rfind(Sj("SP："), 0), 0u);
    EXPECT_NE(text.find(Sj("新曲\r\nSong(95%)EXT、\r\n")), std::string::npos);
    EXPECT_EQ(text.find("Outside"), std::string::npos);
    EXPECT_EQ(clipboard.Text(), text);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{
                                     "データをエクスポートしました。\r\n\r\nGuitarFreaksV3_Export.txt\r\n"});

    // "クリップボード" changes only the message.
    Radio("rgText1")->SetItemIndex(1);
    boxes.Clear();
    fs::remove(dir.File("GuitarFreaksV3_Export.txt"));
    form.ExportSkillList(0);
    EXPECT_TRUE(fs::exists(dir.File("GuitarFreaksV3_Export.txt")));
    EXPECT_EQ(clipboard.Sets(), 2);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{"データをクリップボードにエクスポートしました。"});
}

TEST_F(ExportFormTest, QuickExportUsesTheStoredOptions) {
    WriteIni("[ExportText]\r\nsw5=1\r\nsw6=3\r\n[Export]\r\nsw0=1\r\n");
    form.FormCreate();
    form.ExportSkillList(0); // the dialog was never shown
    EXPECT_NE(File("GuitarFreaksV3_12081530_Export.txt").find("\r\n95% Song EXT\r\n\r\n"), std::string::npos);
}

TEST_F(ExportFormTest, OptionsChangedBeforeClosingAreKept) {
    form.FormCreate();
    ModalScript script([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(UiText("ComboBox3"))->setCurrentIndex(6);
        dialog.findChild<QPushButton*>(UiText("btnCancel"))->click();
        return dialog.result();
    });
    EXPECT_EQ(RunModal(form), QDialog::Rejected);

    form.ExportSkillList(0);
    EXPECT_NE(File("GuitarFreaksV3_Export.txt").find(Sj("Song(95%)、")), std::string::npos);
    form.FormDestroy();
    EXPECT_EQ(Ini("ExportText", "sw6"), "6");
}

TEST_F(ExportFormTest, ExportButtonExportsTheShownPageAndCloses) {
    form.FormCreate();
    bool busyDuringExport = false;
    ModalScript script([&](QDialog& dialog) {
        dialog.findChild<QTabWidget*>(UiText("pagExport"))->setCurrentIndex(1);
        // Runs while "出力" lets pending events through before the export.
        QTimer::singleShot(0, [&] {
            busyDuringExport = !dialog.isEnabled() && QApplication::overrideCursor() != nullptr &&
                               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        dialog.findChild<QPushButton*>(UiText("btnExport"))->click();
        return dialog.result();
    });
    EXPECT_EQ(RunModal(form), QDialog::Accepted);
    EXPECT_TRUE(busyDuringExport);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_NE(File("GuitarFreaksV3_Export.html").find("<td>Song</td>"), std::string::npos);
    EXPECT_EQ(clipboard.Sets(), 0);
    EXPECT_EQ(boxes.ShownUtf8(), std::vector<std::string>{
                                     "データをエクスポートしました。\r\n\r\nGuitarFreaksV3_Export.html\r\n"});
}

TEST_F(ExportFormTest, AFileThatCannotBeCreatedLeavesTheDialogOpenAndUsable) {
    form.FormCreate();
    fs::create_directory(dir.File("GuitarFreaksV3_Export.txt")); // blocks the file even for root
    form.setResult(QDialog::Rejected);

    Find<QPushButton>("btnExport")->click();
    EXPECT_EQ(boxes.ShownUtf8(),
              std::vector<std::string>{"ファイル GuitarFreaksV3_Export.txt を作成できません."});
    EXPECT_EQ(boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_EQ(clipboard.Sets(), 0);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    fs::remove(dir.File("GuitarFreaksV3_Export.txt"));
    boxes.Clear();
    Find<QPushButton>("btnExport")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(clipboard.Sets(), 1);
}

// A write that fails after the file was created (a full disk) is an error,
// never followed by the success message.
TEST_F(ExportFormTest, AWriteErrorAfterCreationIsReportedAsAnError) {
    form.FormCreate();

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
    setrlimit(RLIMIT_FSIZE, &small);
    Guarded([&] { form.ExportSkillList(0); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(boxes.ShownUtf8(),
              std::vector<std::string>{"ファイル GuitarFreaksV3_Export.txt を作成できません."});
    EXPECT_EQ(clipboard.Sets(), 0);
    EXPECT_FALSE(fs::exists(dir.File("GuitarFreaksV3_Export.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 0); // no leftovers
}

} // namespace
