// The shipped example master lists load cleanly in their edition and cover
// every category, songs of no category, and Japanese and ASCII names.
#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "tests/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

void CheckExample(const Edition& edition, const char* file) {
    ResetData(edition);
    TempDir dir;
    std::filesystem::copy_file(std::string(VOS_TEST_DATA) + "/../../examples/" + file, dir.File(file));
    AppDir = dir.Dir();
    EXPECT_TRUE(LoadAllDataFiles(edition.GameName));
    EXPECT_GE(MusicCount, 55);
    EXPECT_LE(MusicCount, 70);

    std::set<int> categories;
    int japanese = 0;
    int ascii = 0;
    for (int i = 0; i < MusicCount; ++i) {
        const TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
        categories.insert(SongCategory(song.Code));
        bool wide = false;
        for (char c : song.Name)
            wide = wide || static_cast<unsigned char>(c) >= 0x80;
        ++(wide ? japanese : ascii);
        for (int c = 0; c < edition.ChartCount; ++c)
            EXPECT_LE(song.Level[static_cast<std::size_t>(c)], 99);
    }
    EXPECT_EQ(categories,
              (std::set<int>{CategoryNone, CategoryExisting, CategoryNew, CategoryLong, CategoryNonStop}));
    EXPECT_GE(japanese, 10);
    EXPECT_GE(ascii, 10);
    // CR LF line ends, as the program writes its files.
    const std::string bytes = ReadFileBytes(dir.File(file));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    SetDataLoadComplete(false);
}

} // namespace

TEST(ExampleLists, GuitarListLoads) {
    CheckExample(GuitarEdition(), "GuitarFreaksV3.txt");
}
TEST(ExampleLists, DrumListLoads) {
    CheckExample(DrumEdition(), "DrumManiaV3.txt");
}
