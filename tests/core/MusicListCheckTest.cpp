#include "data/MusicListCheck.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A master-list line of the layout: name, BPM, levels, ten flags, short name, memo, code.
std::string SongLine(const Edition& layout, const std::string& name, const std::string& code,
                     const std::string& level = "1") {
    std::string line = name + "\t150";
    for (int c = 0; c < layout.ChartCount; ++c)
        line += "\t" + level;
    for (int k = 0; k < kFlagCount; ++k)
        line += "\t0";
    return line + "\tshort\tmemo\t" + code;
}

std::string Songs(const Edition& layout, int count) {
    std::string list;
    for (int i = 0; i < count; ++i)
        list += SongLine(layout, "Song" + std::to_string(i), std::to_string(i)) + "\r\n";
    return list;
}

// A downloaded list may replace the file only when the reader of its game
// would load it completely, so the check and the reader must agree.
TEST(MusicListCheck, AcceptsExactlyWhatTheReaderLoadsCompletely) {
    const Edition& g = GuitarEdition();
    const Edition& d = DrumEdition();
    const std::string commaLine = "B,150,1,2,3,4,5,6,7,8,9,0,0,0,0,0,0,0,0,0,0,S,M,-4";
    struct {
        const Edition& layout;
        std::string list;
        int songs; // -1: the check raises
    } cases[] = {
        {g, Songs(g, 3), 3},
        {d, Songs(d, 2), 2},
        {g, Songs(d, 2), -1}, // a drum list has no code where the guitar layout has it
        {g, "", 0},
        {d, "\r\n  \r\n", 0},
        {d, Songs(d, kMaxMusicCount), kMaxMusicCount},
        {d, Songs(d, kMaxMusicCount + 1), kMaxMusicCount + 1},
        // Blank names are skipped, LF alone ends a line, a line without TAB splits at ",".
        {g, SongLine(g, "A", "1") + "\n" + SongLine(g, "  ", "x") + "\n" + commaLine + "\n", 2},
        {g, SongLine(g, "A", "1", "x"), 1}, // a level that is not plain digits reads as 0
        {g, SongLine(g, "A", "1", "99999999999"), -1},
        {d, Songs(d, 1) + SongLine(d, "Bad", "abc"), -1},
        {d, SongLine(d, "Last", "7") + "\r", 1}, // a last line with CR and no LF
        {d, "<html><body>Not Found</body></html>", -1},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string label = c.layout.GameName + " " + c.list.substr(0, 40);
        if (c.songs < 0)
            EXPECT_THROW(CountMusicListSongs(c.list, c.layout), AppError) << label;
        else
            EXPECT_EQ(CountMusicListSongs(c.list, c.layout), c.songs) << label;

        ResetData(c.layout);
        AppDir = dir.Dir();
        WriteFileBytes(dir.File(c.layout.GameName + ".txt"), c.list);
        bool loaded = false;
        try {
            loaded = LoadAllDataFiles(c.layout.GameName);
        } catch (const AppError&) {
        }
        EXPECT_EQ(IsUsableMusicList(c.list, c.layout), loaded) << label;
        EXPECT_EQ(loaded, c.songs >= 1 && c.songs <= kMaxMusicCount) << label;
    }
}

TEST(MusicListCheck, LeavesTheLiveTableAlone) {
    ResetData(GuitarEdition());
    MusicTable[0].Name = "Live";
    MusicCount = 1;
    MusicNames = {"Live"};
    EXPECT_TRUE(IsUsableMusicList(Songs(DrumEdition(), 5), DrumEdition()));
    EXPECT_FALSE(
        IsUsableMusicList(Songs(GuitarEdition(), 2) + SongLine(GuitarEdition(), "X", ""), GuitarEdition()));
    EXPECT_EQ(MusicCount, 1);
    EXPECT_EQ(MusicTable[1].Name, "");
    EXPECT_EQ(MusicNames, std::vector<SjisString>{"Live"});
    EXPECT_EQ(CurrentEdition().GameName, "GuitarFreaksV3");
}

} // namespace
