#include "ui/ProgramMain.h"
#include "data/Edition.h"
#include "export/ExportForm.h"
#include "net/AccForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/AtomicFile.h"
#include "platform/InstanceLock.h"
#include "tests/gui/MainFormTestSupport.h"
#include "ui/MainForm.h"
#include "ui/MusicEditForm.h"
#include "ui/ResultForm.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

WindowFactory Recorded(std::vector<std::string>& log, const std::string& name, bool failingDestroy = false) {
    return [&log, name, failingDestroy] {
        auto window = std::make_unique<QWidget>();
        log.push_back("create " + name);
        QObject::connect(window.get(), &QObject::destroyed,
                         [&log, name] { log.push_back("delete " + name); });
        return CreatedWindow{std::move(window), [&log, name, failingDestroy] {
                                 log.push_back("destroy " + name);
                                 if (failingDestroy) throw std::runtime_error("cannot save");
                             }};
    };
}

// Which window each factory of an order publishes.
std::vector<std::string> PublishedOrder(const std::vector<WindowFactory>& order, WindowSet& windows) {
    std::vector<std::string> names;
    for (const WindowFactory& factory : order) {
        const ProgramWindows before = Windows();
        windows.Create({factory});
        const ProgramWindows& after = Windows();
        if (after.Main != before.Main) names.push_back("Main");
        if (after.Export != before.Export) names.push_back("Export");
        if (after.Result != before.Result) names.push_back("Result");
        if (after.Property != before.Property) names.push_back("Property");
        if (after.MusicEdit != before.MusicEdit) names.push_back("MusicEdit");
        if (after.Send != before.Send) names.push_back("Send");
        if (after.Acc != before.Acc) names.push_back("Acc");
    }
    return names;
}

} // namespace

TEST(WindowSet, DestroysInReverseOrderThenDeletes) {
    MessageBoxScript boxes;
    std::vector<std::string> log;
    {
        WindowSet windows;
        windows.Create({Recorded(log, "A"), Recorded(log, "B", true), Recorded(log, "C")});
        EXPECT_EQ(log, (std::vector<std::string>{"create A", "create B", "create C"}));
        windows.Destroy();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"create A", "create B", "create C", "destroy C", "destroy B",
                                             "destroy A", "delete C", "delete B", "delete A"}));
    // A failing destruction handler is reported and the next one still runs.
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "cannot save.");
}

TEST(ProgramWindowsOrder, EachEditionCreatesItsOrder) {
    struct Case {
        const Edition* edition;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {&GuitarEdition(), {"Main", "Export", "Result", "Property", "MusicEdit", "Send", "Acc"}},
        {&DrumEdition(), {"Main", "Result", "Export", "MusicEdit", "Property", "Send", "Acc"}},
    };
    for (const Case& c : cases) {
        ProgramFolder folder(*c.edition);
        WindowSet windows;
        EXPECT_EQ(PublishedOrder(CreationOrder(*c.edition), windows), c.order) << c.edition->GameName;
        EXPECT_EQ(windows.First(), Windows().Main);
        windows.Destroy();
        EXPECT_EQ(Windows().Main, nullptr);
        EXPECT_EQ(Windows().Acc, nullptr);
    }
}

TEST(ProgramWindowsOrder, TheDialogsWriteTheirSettingsBeforeTheMainWindow) {
    // A new section goes to the end of the settings file, so the file shows
    // the order in which the destruction handlers ran.
    struct Case {
        const Edition* edition;
        std::vector<const char*> sections;
    };
    const Case cases[] = {
        {&GuitarEdition(), {"[result]", "[ExportText]", "[config]", "[batch]"}},
        {&DrumEdition(), {"[ExportText]", "[result]", "[config]", "[batch]"}},
    };
    for (const Case& c : cases) {
        ProgramFolder folder(*c.edition);
        WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10})});
        {
            WindowSet windows;
            windows.Create(CreationOrder(*c.edition));
            EXPECT_TRUE(folder.boxes.Shown().empty());
            EXPECT_EQ(MusicNames, std::vector<SjisString>{"Alpha"});
            // What the start-up check weighs: every window's keys, none written.
            const std::vector<ProfileWrite> exitSettings = ExitSettingsNow();
            EXPECT_FALSE(std::filesystem::exists(folder.Ini()));
            for (const char* section : {"result", "ExportText", "config", "batch"})
                EXPECT_TRUE(std::any_of(exitSettings.begin(), exitSettings.end(),
                                        [&](const ProfileWrite& write) { return write.Section == section; }))
                    << section;
            windows.Destroy();
        }
        EXPECT_TRUE(folder.boxes.Shown().empty());
        const std::string ini = ReadFileBytes(folder.Ini());
        std::size_t last = 0;
        for (const char* section : c.sections) {
            const std::size_t at = ini.find(section);
            ASSERT_NE(at, std::string::npos) << section;
            EXPECT_GE(at, last) << section;
            last = at;
        }
        EXPECT_TRUE(std::filesystem::exists(folder.GameFile(".skill")));
        EXPECT_EQ(SkillComputer, nullptr);

        ReleaseProgramData();
        EXPECT_TRUE(AppDir.empty());
        EXPECT_TRUE(IniFileName.empty());
        EXPECT_EQ(MusicCount, 0);
        EXPECT_TRUE(MusicTable[0].Name.empty());
    }
}

// Every window's settings at exit go out in one write: a settings file that
// cannot be written (here a folder stands in its place) is reported once,
// not once a key, and the player's files are still saved.
TEST(ProgramWindowsOrder, AnExitThatCannotWriteTheSettingsShowsOneBox) {
    ProgramFolder folder(GuitarEdition());
    WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10})});
    InstallIniFailureNotice();
    {
        WindowSet windows;
        windows.Create(CreationOrder(GuitarEdition()));
        ASSERT_TRUE(std::filesystem::create_directory(folder.Ini()));
        windows.Destroy();
    }
    EXPECT_EQ(folder.boxes.ShownUtf8(), std::vector<std::string>{"書込みに失敗しました\r" + folder.Ini()});
    EXPECT_TRUE(std::filesystem::exists(folder.GameFile(".skill")));
    ReleaseProgramData();
}

namespace {

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A second copy of an edition in one folder would undo the first one's
// results at exit: it says so and touches nothing there. A killed first copy
// leaves no claim behind, and the other edition starts beside it.
TEST(ProgramStart, ASecondCopyInTheFolderIsRefusedAndWritesNothing) {
    ProgramFolder folder(GuitarEdition());
    WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10})});
    // What the sweep would remove: a temporary of a writer that has ended.
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    WriteFileBytes(folder.File("vostrane.ini.tmp" + std::to_string(ended) + "-0"), "left by a kill");
    const std::vector<std::string> before = FolderListing(folder.dir.Path());

    HoldingChild first([&] { return (new InstanceLock("vostrane", folder.dir.Dir(), "GFV3"))->Held(); });
    ASSERT_TRUE(first.Took());
    // The very name earlier builds claim, so that their copies and this one still see each other.
    struct stat st {};
    ASSERT_EQ(stat(folder.dir.Dir().c_str(), &st), 0);
    const std::string claimed =
        " @vostrane/" + std::to_string(st.st_dev) + "/" + std::to_string(st.st_ino) + "/GFV3\n";
    EXPECT_NE(ReadFileBytes("/proc/net/unix").find(claimed), std::string::npos) << claimed;

    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(folder.boxes.ShownUtf8(),
              std::vector<std::string>{"ギタフリのPelorin.NET は既に起動しています。"});
    ASSERT_EQ(folder.boxes.Shown().size(), 1u);
    EXPECT_EQ(folder.boxes.Shown()[0].Kind, BoxKind::Information);
    EXPECT_EQ(Windows().Main, nullptr);
    EXPECT_EQ(FolderListing(folder.dir.Path()), before);
    EXPECT_TRUE(InstanceLock("vostrane", folder.dir.Dir(), "DMV3").Held());
    TempDir elsewhere;
    EXPECT_TRUE(InstanceLock("vostrane", elsewhere.Dir(), "GFV3").Held());

    first.Kill();
    const InstanceLock again("vostrane", folder.dir.Dir(), "GFV3");
    EXPECT_TRUE(again.Held());
    EXPECT_FALSE(again.AlreadyRunning());
}

// The player hears at start, not after an evening of entries, what the exit
// could not save; the probes are the writers' own, so as another user a
// read-only folder or file counts even where root could write.
TEST(ProgramStart, WarnsOnceTheWindowIsUpWhatTheExitCannotSave) {
    namespace fs = std::filesystem;
    using Prepare = std::function<void(const std::string& play, const std::string& elsewhere)>;
    const auto readOnly = [](const char* name) {
        return [name](const std::string& play, const std::string&) {
            ASSERT_EQ(chmod((play + name).c_str(), 0444), 0);
        };
    };
    struct Case {
        const char* name;
        bool loadComplete;
        mode_t folderMode;
        Prepare prepare;   // after the four files are made, open to everyone
        const char* shown; // "<path>" stands for the path named; nullptr: no box
        const char* path;  // "" the folder, else the file named
    };
    const char* const kBoth = "<path> に書き込めません。\r\n入力した結果と設定は終了時に保存されません。";
    const char* const kResults = "<path> に書き込めません。\r\n入力した結果は終了時に保存されません。";
    const char* const kSettings = "<path> に書き込めません。\r\n設定は終了時に保存されません。";
    const Case cases[] = {
        {"Writable", true, 0777, {}, nullptr, ""},
        {"ReadOnlyFolder", true, 0555, {}, kBoth, ""},
        {"ReadOnlyResults", true, 0777, readOnly("GuitarFreaksV3.favorite"), kResults,
         "GuitarFreaksV3.favorite"},
        {"ReadOnlySettings", true, 0777, readOnly("vostrane.ini"), kSettings, "vostrane.ini"},
        {"IncompleteLoadReadOnlyFolder", false, 0555, {}, kSettings, ""},
        {"IncompleteLoadReadOnlyResults", false, 0777, readOnly("GuitarFreaksV3.skill"), nullptr, ""},
        // The player files are saved through their links; only the settings are lost.
        {"ReadOnlyFolderResultsLinkedOut", true, 0555,
         [](const std::string& play, const std::string& elsewhere) {
             for (const char* extension : {".skill", ".favorite", ".comment"}) {
                 const std::string name = std::string("GuitarFreaksV3") + extension;
                 fs::rename(play + name, elsewhere + name);
                 fs::create_symlink(elsewhere + name, play + name);
             }
         },
         kSettings, ""},
        // What the settings writer reads first must be readable.
        {"SettingsWriteOnly", true, 0777,
         [](const std::string& play, const std::string&) {
             ASSERT_EQ(chmod((play + "vostrane.ini").c_str(), 0222), 0);
         },
         kSettings, "vostrane.ini"},
        {"SettingsLinkLoop", true, 0777,
         [](const std::string& play, const std::string&) {
             fs::remove(play + "vostrane.ini");
             fs::create_symlink("vostrane.ini", play + "vostrane.ini");
         },
         kSettings, "vostrane.ini"},
        {"SettingsAboveWhatTheReaderTakes", true, 0777,
         [](const std::string& play, const std::string&) {
             fs::resize_file(play + "vostrane.ini", kLocalFileLimit + 1);
         },
         kSettings, "vostrane.ini"},
    };
    for (const Case& c : cases) {
        ProgramFolder folder(GuitarEdition());
        const fs::path play = folder.dir.Path() / "play";
        const fs::path elsewhere = folder.dir.Path() / "sync";
        ASSERT_TRUE(fs::create_directory(play));
        ASSERT_TRUE(fs::create_directory(elsewhere));
        ASSERT_EQ(chmod(elsewhere.c_str(), 0777), 0);
        AppDir = play.string() + "/";
        IniFileName = AppDir + "vostrane.ini";
        for (const char* name :
             {"GuitarFreaksV3.skill", "GuitarFreaksV3.favorite", "GuitarFreaksV3.comment", "vostrane.ini"}) {
            WriteFileBytes(AppDir + name, "");
            ASSERT_EQ(chmod((AppDir + name).c_str(), 0666), 0);
        }
        if (c.prepare) c.prepare(AppDir, elsewhere.string() + "/");
        ASSERT_EQ(chmod(play.c_str(), c.folderMode), 0);
        SetDataLoadComplete(c.loadComplete);
        {
            UnprivilegedScope unprivileged(folder.dir);
            WarnWhenExitCannotSave();
        }
        ASSERT_EQ(chmod(play.c_str(), 0755), 0);
        std::vector<std::string> expected;
        if (c.shown != nullptr) {
            std::string text = c.shown;
            const std::string path = *c.path == '\0' ? play.string() : AppDir + c.path;
            text.replace(text.find("<path>"), 6, path);
            expected.push_back(text);
        }
        EXPECT_EQ(folder.boxes.ShownUtf8(), expected) << c.name;
        for (const ShownBox& box : folder.boxes.Shown())
            EXPECT_EQ(box.Kind, BoxKind::Warning) << c.name;
    }
}
