#include "data/MusicListCheck.h"

#include "data/AppError.h"
#include "data/DataUnit.h"
#include "editions/Editions.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A master-list line of the layout: name, BPM, levels, ten flags, short name, memo, code.
std::string SongLine(const Edition& layout, const std::string& name, const std::string& code) {
    std::string line = name + "\t150";
    for (int c = 0; c < layout.ChartCount; ++c)
        line += "\t" + std::to_string(c + 1);
    for (int k = 0; k < FlagCount; ++k)
        line += "\t0";
    return line + "\tshort\tmemo\t" + code + "\r\n";
}

std::string Songs(const Edition& layout, int count) {
    std::string list;
    for (int i = 0; i < count; ++i)
        list += SongLine(layout, "Song" + std::to_string(i), std::to_string(i));
    return list;
}

TEST(MusicListCheck, ReadsEachGameWithItsOwnLayout) {
    EXPECT_EQ(CountMusicListSongs(Songs(GuitarEdition(), 3), GuitarEdition()), 3);
    EXPECT_EQ(CountMusicListSongs(Songs(DrumEdition(), 2), DrumEdition()), 2);
    // A drum list has no code where the guitar layout expects it.
    EXPECT_THROW(CountMusicListSongs(Songs(DrumEdition(), 2), GuitarEdition()), AppError);
    EXPECT_FALSE(IsUsableMusicList(Songs(DrumEdition(), 2), GuitarEdition()));
}

TEST(MusicListCheck, FollowsTheReadersLineRules) {
    const Edition& g = GuitarEdition();
    // Blank names are skipped, LF alone ends a line, a line without TAB splits at ",".
    std::string list = SongLine(g, "A", "1") + SongLine(g, "  ", "x") +
                       "B,150,1,2,3,4,5,6,7,8,9,0,0,0,0,0,0,0,0,0,0,S,M,-4\n";
    EXPECT_EQ(CountMusicListSongs(list, g), 2);
    // Levels that are not plain digits read as 0; one too large for 32 bits fails.
    EXPECT_EQ(CountMusicListSongs(SongLine(g, "A", "1").replace(6, 1, "x"), g), 1);
    std::string huge = "A\t150\t99999999999";
    for (int i = 0; i < 8 + FlagCount; ++i)
        huge += "\t0";
    EXPECT_THROW(CountMusicListSongs(huge + "\ts\tm\t1", g), AppError);
}

TEST(MusicListCheck, UsableListsHoldOneTo501Songs) {
    const Edition& d = DrumEdition();
    struct {
        std::string list;
        bool usable;
    } cases[] = {
        {"", false},
        {"\r\n\r\n", false},
        {Songs(d, 1), true},
        {Songs(d, MaxMusicCount), true},
        {Songs(d, MaxMusicCount + 1), false},
        {Songs(d, 1) + SongLine(d, "Bad", "abc"), false},
        {"<html><body>Not Found</body></html>", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUsableMusicList(c.list, d), c.usable) << c.list.size();
}

TEST(MusicListCheck, LeavesTheLiveTableAlone) {
    ResetData(GuitarEdition());
    MusicTable[0].Name = "Live";
    MusicCount = 1;
    MusicNames = {"Live"};
    EXPECT_TRUE(IsUsableMusicList(Songs(GuitarEdition(), 5), GuitarEdition()));
    EXPECT_FALSE(
        IsUsableMusicList(Songs(GuitarEdition(), 2) + SongLine(GuitarEdition(), "X", ""), GuitarEdition()));
    EXPECT_EQ(MusicCount, 1);
    EXPECT_EQ(MusicTable[0].Name, "Live");
    EXPECT_EQ(MusicTable[1].Name, "");
    EXPECT_EQ(MusicNames, std::vector<SjisString>{"Live"});
    EXPECT_EQ(CurrentEdition().GameName, "GuitarFreaksV3");
}

} // namespace
