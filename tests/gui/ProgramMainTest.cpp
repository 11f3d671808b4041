#include "ui/ProgramMain.h"
#include "data/Edition.h"
#include "export/ExportForm.h"
#include "net/AccForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "tests/gui/MainFormTestSupport.h"
#include "ui/MainForm.h"
#include "ui/MusicEditForm.h"
#include "ui/ResultForm.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
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
