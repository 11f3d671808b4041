#include "data/DataFiles.h"

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/AtomicFile.h"
#include "tests/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::string Tabs(int count, const std::string& piece) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += piece + "\t";
    return s;
}

TEST(DataFiles, SplitFieldsKeepsToItsLimitAndArray) {
    const struct {
        std::string text;
        int limit;
        std::size_t capacity;
        std::vector<std::string> expected; // the first fields; the rest must be empty
    } cases[] = {
        {"abc", 25, 5, {"abc"}},
        {"", 25, 3, {""}},
        {"a\t\tb\t", 25, 6, {"a", "", "b", ""}},
        {"a\tb\tc\td\te", 1, 6, {"a", "b", "c\td\te"}}, // limit 1: two cuts, then the remainder whole
        // fault: more pieces than the reader's array are dropped, not written past it
        {"a\tb\tc\td\te", 255, 3, {"a", "b", "c"}},
        {"a\tb\tc", 255, 2, {"a", "b"}},
    };
    for (const auto& c : cases) {
        FieldArray fields(c.capacity, "stale");
        SplitFields(c.text, '\t', fields, c.limit);
        ASSERT_EQ(fields.size(), c.capacity);
        for (std::size_t i = 0; i < c.capacity; ++i)
            EXPECT_EQ(fields[i], i < c.expected.size() ? c.expected[i] : "") << c.text << " field " << i;
    }
}

TEST(DataFiles, LineSplittersCutAt27And257FieldsAtTabElseComma) {
    FieldArray fields(300);
    SplitMusicLine(Tabs(30, "x") + "end", fields);
    EXPECT_EQ(fields[25], "x");
    EXPECT_EQ(fields[26], Tabs(4, "x") + "end");
    EXPECT_EQ(fields[27], "");
    SplitDataLine(Tabs(280, "v") + "$", fields);
    EXPECT_EQ(fields[255], "v");
    EXPECT_EQ(fields[256], Tabs(24, "v") + "$");
    EXPECT_EQ(fields[257], "");
    SplitMusicLine("a,b\tc", fields);
    EXPECT_EQ(fields[0], "a,b");
    SplitDataLine("a,b", fields);
    EXPECT_EQ(fields[1], "b");
    EXPECT_EQ(fields[2], "");
}

// ---- files ----

class DataFilesTest : public testing::Test {
  protected:
    void Use(const Edition& edition) {
        ResetData(edition);
        base = edition.GameName;
    }
    void SetUp() override {
        Use(GuitarEdition());
        AppDir = dir.Dir();
    }
    void TearDown() override { AppDir.clear(); }

    std::string Path(const std::string& ext) const { return dir.File(base + ext); }
    void Write(const std::string& ext, const std::string& bytes) const { WriteFileBytes(Path(ext), bytes); }
    std::string Read(const std::string& ext) const { return ReadFileBytes(Path(ext)); }

    // Songs as a loaded master list leaves them: names only.
    static void Songs(std::initializer_list<const char*> names) {
        for (const char* name : names)
            MusicTable[MusicCount++].Name = name;
    }
    void SaveAll() const {
        SaveMusicList(base);
        SaveSkillData(base);
        SaveFavorites(base);
        SaveComments(base);
    }
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A guitar master-list line: levels 1..9, flags from a 10-digit string.
    static std::string GuitarSong(const std::string& name, const std::string& code,
                                  const std::string& flags = "0000000000") {
        std::string line = name + "\t150";
        for (int c = 0; c < 9; ++c)
            line += "\t" + std::to_string(c + 1);
        for (char f : flags)
            line += std::string("\t") + f;
        return line + "\tshort\tmemo\t" + code + "\r\n";
    }

    // A results line in the "$" layout whose field j holds value j + offset.
    static std::string NumberedSkillLine(const std::string& name, int charts, int offset = 0) {
        std::string line = name + "\t";
        for (int j = 1; j <= 16 * charts; ++j)
            line += std::to_string(j + offset) + "\t";
        return line + "$";
    }

    TempDir dir;
    std::string base;
};

TEST_F(DataFilesTest, MasterListFieldsLoad) {
    // A TAB line, a comma line, and a line of empty fields up to its code.
    Write(".txt", GuitarSong(Sj("ソ表能"), "1003", "1010000001") +
                      "B,150,1,2,3,4,5,6,7,8,9,0,0,0,0,0,0,0,0,0,0,SB,mb,$10\n" + "C" +
                      std::string(23, '\t') + "-5");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 3);
    const TMusicList& a = MusicTable[0];
    EXPECT_EQ(a.Name, Sj("ソ表能"));
    EXPECT_EQ(a.Bpm, "150");
    EXPECT_EQ(a.Level, (std::array<int32_t, kMaxChartCount>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(a.Flags, (std::array<bool, kFlagCount>{true, false, true, false, false, false, false, false,
                                                     false, true}));
    EXPECT_EQ(a.ShortName, "short");
    EXPECT_EQ(a.Memo, "memo");
    EXPECT_EQ(a.Code, 1003);
    EXPECT_EQ(MusicTable[1].Level[8], 9);
    EXPECT_EQ(MusicTable[1].Flags, (std::array<bool, kFlagCount>{}));
    EXPECT_EQ(MusicTable[1].ShortName, "SB");
    EXPECT_EQ(MusicTable[1].Code, 16);
    EXPECT_EQ(MusicTable[2].Code, -5);
    EXPECT_EQ(MusicTable[2].Level[0], 0);
    EXPECT_EQ(MusicTable[2].Index, 2);
    EXPECT_EQ(MusicNames, (std::vector<SjisString>{Sj("ソ表能"), "B", "C"}));

    SetDataLoadComplete(true);
    SaveMusicList(base); // a TAB line comes back as it was
    EXPECT_TRUE(Read(".txt").starts_with(GuitarSong(Sj("ソ表能"), "1003", "1010000001")));
}

TEST_F(DataFilesTest, CheckedFieldsAndBlankNames) {
    // Levels and flags that are not plain digits read as 0; "01" and "2" are no set flag.
    Write(".txt", " \t\r\n" + GuitarSong("A", "1", "2000000000") + "\n" +
                      "B\t1\tabc\t-3\t 4\t007\t5\t6\t7\t8\t9\t01\t1\t0\t0\t0\t0\t0\t0\t0\t0\ts\tm\t 12\r\n");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 2);
    EXPECT_EQ(MusicTable[0].Name, "A");
    EXPECT_FALSE(MusicTable[0].Flags[0]);
    const TMusicList& b = MusicTable[1];
    EXPECT_EQ(b.Index, 1);
    EXPECT_EQ(b.Level, (std::array<int32_t, kMaxChartCount>{0, 0, 0, 7, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(b.Flags[0]);
    EXPECT_TRUE(b.Flags[1]);
    EXPECT_EQ(b.Code, 12);
}

TEST_F(DataFilesTest, NonIntegerStopsTheLoadKeepingEarlierSongs) {
    std::string bigLevel = GuitarSong("A", "1");
    bigLevel.replace(bigLevel.find("\t1\t"), 3, "\t99999999999\t");
    const struct {
        std::string list;
        const char* message;
        std::vector<SjisString> loaded;
    } cases[] = {
        {GuitarSong("A", "1") + "B\t150\t1\r\n" + GuitarSong("C", "3"), "'' は整数ではありません", {"A"}},
        {GuitarSong("A", "12 "), "'12 ' は整数ではありません", {}},
        {bigLevel, "'99999999999' は整数ではありません", {}},
    };
    for (const auto& c : cases) {
        Write(".txt", c.list);
        EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), Sj(c.message));
        EXPECT_EQ(MusicCount, static_cast<int32_t>(c.loaded.size())) << c.message;
        EXPECT_EQ(MusicNames, c.loaded) << c.message;
    }
}

TEST_F(DataFilesTest, MissingMasterListEmptiesTheTableAndAnUnreadableOneRaises) {
    Songs({"x", "y"});
    MusicNames = {"x", "y"};
    LoadMusicList(base);
    EXPECT_EQ(MusicCount, 0);
    EXPECT_TRUE(MusicNames.empty());

    ASSERT_EQ(mkdir(Path(".txt").c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), CannotOpenMessage(Path(".txt")));
}

// Fault 1: a list longer than the table loads its first 501 songs and reports it.
TEST_F(DataFilesTest, SongListHoldsAtMost501Songs) {
    std::string list;
    for (int i = 0; i < 501; ++i)
        list += GuitarSong("S" + std::to_string(i), std::to_string(i));
    Write(".txt", list + " \r\n\r\n");
    EXPECT_TRUE(LoadAllDataFiles(base));
    EXPECT_EQ(MusicCount, 501);

    Write(".txt", list + GuitarSong("S501", "501") + GuitarSong("S502", "502"));
    Write(".skill", NumberedSkillLine("S500", 9) + "\r\n");
    Write(".comment", "keep me");
    EXPECT_EQ(ErrorOf([&] { LoadAllDataFiles(base); }),
              Sj("曲リストが501曲を超えています。502曲目以降は読み込まれません。"));
    EXPECT_EQ(MusicCount, 501);
    EXPECT_EQ(MusicNames.back(), "S500");
    EXPECT_EQ(MusicTable[500].SkillList.Index, 500); // the other files still loaded
    EXPECT_FALSE(DataLoadComplete());
    SaveComments(base);
    EXPECT_EQ(Read(".comment"), "keep me");
}

TEST_F(DataFilesTest, ResultsLayoutPlacesEveryValue) {
    for (const Edition* edition : {&GuitarEdition(), &DrumEdition()}) {
        Use(*edition);
        const int charts = ChartCount();
        Songs({"A"});
        Write(".skill", NumberedSkillLine("A", charts) + "\r\n");
        LoadSkillData(base);
        const TSkillList& skill = MusicTable[0].SkillList;
        EXPECT_EQ(skill.Name, "A");
        EXPECT_EQ(skill.Index, 0);
        const int pos[8] = {0, 1, 2, 3, 4, 5, 7, 6};
        for (int row = 0; row < 2; ++row)
            for (int c = 0; c < charts; ++c)
                for (int k = 0; k < 8; ++k)
                    EXPECT_EQ(skill.Chart[c].Value(row, pos[k]), 1 + row * 8 * charts + 8 * c + k)
                        << edition->GameName << " row " << row << " chart " << c << " k " << k;
        EXPECT_EQ(skill.Chart[0].Rate, 7);
        EXPECT_EQ(skill.Chart[0].Reserved, 8);
        EXPECT_EQ(skill.Chart[0].TotalNotes, 8 * charts + 7);
        EXPECT_EQ(skill.Chart[0].InputMode, 8 * charts + 8);
        EXPECT_EQ(skill.Chart[0].SkillPoint, 0);

        SetDataLoadComplete(true);
        SaveSkillData(base); // and the writer puts every value back in its place
        EXPECT_EQ(Read(".skill"), NumberedSkillLine("A", charts) + "\r\n");
    }
}

TEST_F(DataFilesTest, LegacyResultsLine) {
    Use(DrumEdition());
    Songs({"A"});
    // 42 values: row 0 then row 1, seven per chart, then "#".
    std::string line = "A\t";
    for (int j = 1; j <= 42; ++j)
        line += std::to_string(j) + "\t";
    Write(".skill", line + "#\n");
    LoadSkillData(base);
    const int pos[7] = {0, 1, 2, 3, 4, 5, 7};
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < 3; ++c) {
            const TChartResult& chart = MusicTable[0].SkillList.Chart[c];
            for (int k = 0; k < 7; ++k)
                EXPECT_EQ(chart.Value(row, pos[k]), 1 + row * 21 + 7 * c + k);
            EXPECT_EQ(chart.Reserved, 0);
            EXPECT_EQ(chart.InputMode, InputLegacy);
        }
    EXPECT_EQ(MusicTable[0].SkillList.Chart[1].Rate, 14); // a whole percent until recalculation
}

TEST_F(DataFilesTest, ResultsLineRules) {
    Songs({"A", "B", "C "});
    // Earlier state that the reset step must clear or keep.
    TSkillList& sb = MusicTable[1].SkillList;
    sb.Chart[4].Rate = 5000;
    sb.Rank = 3;
    sb.BestChart = 4;
    sb.Remain = 77;
    sb.Match = true;

    std::string a = NumberedSkillLine("A", 9);
    a.replace(a.rfind("\t144\t"), 5, "\tx\t");            // a bad last value reads as 0
    a.replace(a.find("\t1\t"), 3, "\t-1\t");              // a negative value reads as 0
    std::string aLater = NumberedSkillLine("A", 9, 1000); // a later line of the same name wins
    std::string c = NumberedSkillLine("C ", 9) + " ";     // no marker at the very end: no values
    Write(".skill", a + "\r\n" + aLater + "\r\nUnknown\t1\t$\r\n" + c + "\r\n");
    LoadSkillData(base);

    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].PerfectPct, 1001);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[8].InputMode, 1144);
    EXPECT_EQ(sb.Name, "");
    EXPECT_EQ(sb.Index, -1);
    EXPECT_EQ(sb.Chart[4].Rate, 0);
    EXPECT_EQ(sb.Rank, 0);
    EXPECT_EQ(sb.BestChart, 4);
    EXPECT_EQ(sb.Remain, 77);
    EXPECT_TRUE(sb.Match);
    const TSkillList& sc = MusicTable[2].SkillList;
    EXPECT_EQ(sc.Name, "C ");
    EXPECT_EQ(sc.Index, 2);
    EXPECT_EQ(sc.Chart[0].PerfectPct, 0);

    Write(".skill", a + "\r\n");
    LoadSkillData(base);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].PerfectPct, 0);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[8].InputMode, 0);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[8].TotalNotes, 143);
}

// Fault 2: a results or comment line longer than the reader's array.
TEST_F(DataFilesTest, OverlongLinesDropExtraFields) {
    Songs({"A"});
    std::string skill = NumberedSkillLine("A", 9);
    skill.pop_back(); // the "$"
    Write(".skill", skill + Tabs(150, "9") + "$\r\n");
    Write(".comment", "A\tnote\t01/02 03:04\t1\t" + Tabs(200, "z") + "\r\n");
    LoadSkillData(base);
    LoadComments(base);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[8].InputMode, 144);
    EXPECT_EQ(MusicTable[0].Comment, "note");
    EXPECT_TRUE(MusicTable[0].Changed);
}

// A last line without LF still loses its CR: the marker and the last field read as written.
TEST_F(DataFilesTest, LastLineWithoutLfLosesItsCr) {
    Use(DrumEdition());
    Songs({"A"});
    Write(".skill", NumberedSkillLine("A", 3) + "\r");
    Write(".comment", "A\tnote\t\t1\r");
    LoadSkillData(base);
    LoadComments(base);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[2].InputMode, 48);
    EXPECT_TRUE(MusicTable[0].Changed);
}

TEST_F(DataFilesTest, FavouritesAndComments) {
    Songs({"A", "B ", "A", "C"}); // the first of a repeated name takes the mark
    MusicTable[2].Favorite = true;
    MusicTable[3].Comment = "old";
    MusicTable[3].Changed = true;
    Write(".favorite", "  A\t\r\nB \r\nnobody\r\n");
    Write(".comment", "A\t" + Sj("惜しい") + "\t03/14 21:05\t1\nC\t\t\t0\n");
    LoadFavorites(base);
    LoadComments(base);
    EXPECT_TRUE(MusicTable[0].Favorite);
    EXPECT_FALSE(MusicTable[1].Favorite); // the trailing blank of its name is lost in the lookup
    EXPECT_FALSE(MusicTable[2].Favorite);
    EXPECT_EQ(MusicTable[0].Comment, Sj("惜しい"));
    EXPECT_EQ(MusicTable[0].UpdateTime, "03/14 21:05");
    EXPECT_TRUE(MusicTable[0].Changed);
    EXPECT_EQ(MusicTable[3].Comment, "");
    EXPECT_FALSE(MusicTable[3].Changed);
}

TEST_F(DataFilesTest, WritersProduceExactBytes) {
    Use(DrumEdition());
    Songs({"A", "B"});
    TMusicList& a = MusicTable[0];
    a.Bpm = "120-180";
    a.Level = {10, 20, 30};
    a.Flags[0] = a.Flags[9] = true;
    a.ShortName = "sa";
    a.Memo = "m";
    a.Code = -5;
    a.Favorite = true;
    a.Comment = "c\td";
    a.UpdateTime = "01/02 03:04";
    a.Changed = true;
    a.SkillList.Chart[1].Rate = 9512;
    a.SkillList.Chart[1].Reserved = 7;
    a.SkillList.Chart[1].SkillPoint = 1234; // never stored
    a.SkillList.Chart[2].InputMode = 3;
    a.SkillList.Chart[2].TotalNotes = 500;
    a.SkillList.Chart[2].RecvValue = 99; // never stored
    SetDataLoadComplete(true);
    SaveAll();

    EXPECT_EQ(Read(".txt"), "A\t120-180\t10\t20\t30\t1\t0\t0\t0\t0\t0\t0\t0\t0\t1\tsa\tm\t-5\r\n"
                            "B\t\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\t\t0\r\n");
    std::string skillA = "A\t" + Tabs(8, "0") + "0\t0\t0\t0\t0\t0\t9512\t7\t" + Tabs(24, "0") +
                         "0\t0\t0\t0\t0\t0\t500\t3\t$\r\n";
    EXPECT_EQ(Read(".skill"), skillA + "B\t" + Tabs(48, "0") + "$\r\n");
    EXPECT_EQ(Read(".favorite"), "A\r\n");
    EXPECT_EQ(Read(".comment"), "A\tc    d\t01/02 03:04\t1\r\nB\t\t\t0\r\n");
}

TEST_F(DataFilesTest, FixtureLoadsAndSavesByteForByte) {
    Use(DrumEdition());
    std::map<std::string, std::string> before;
    for (const char* ext : {".txt", ".skill", ".favorite", ".comment"}) {
        fs::copy_file(std::string(VOS_TEST_DATA) + "/datafiles/DrumManiaV3" + ext, Path(ext));
        before[ext] = Read(ext);
    }
    ASSERT_TRUE(LoadAllDataFiles(base));
    ASSERT_EQ(MusicCount, 3);
    EXPECT_EQ(MusicTable[0].Name, Sj("ソ表能"));
    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].Rate, 9512);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].InputMode, 2);
    EXPECT_EQ(MusicTable[0].Comment, Sj("フルコン目前"));
    EXPECT_EQ(MusicTable[1].SkillList.Chart[1].TotalNotes, 500);
    EXPECT_TRUE(MusicTable[1].Favorite);
    EXPECT_TRUE(MusicTable[2].Favorite);
    EXPECT_EQ(MusicTable[2].Code, -5);

    for (const auto& [ext, bytes] : before)
        fs::remove(Path(ext));
    SaveAll();
    for (const auto& [ext, bytes] : before)
        EXPECT_EQ(Read(ext), bytes) << ext;
}

// Fault 3: a table that did not load completely is never written back.
TEST_F(DataFilesTest, IncompleteLoadBlocksEverySave) {
    std::map<std::string, std::string> files = {{".txt", GuitarSong("A", "1") + "B\t1\r\n"},
                                                {".skill", "player results"},
                                                {".favorite", "favs"},
                                                {".comment", "notes"}};
    auto writeFiles = [&] {
        for (const auto& [ext, bytes] : files)
            Write(ext, bytes);
    };
    auto saveAllThenExpectUntouched = [&](const char* when) {
        SaveAll();
        for (const auto& [ext, bytes] : files)
            EXPECT_EQ(Read(ext), bytes) << when << " " << ext;
    };

    writeFiles();
    EXPECT_THROW(LoadAllDataFiles(base), AppError); // stopped by the bad code of "B"
    EXPECT_FALSE(DataLoadComplete());
    saveAllThenExpectUntouched("bad code");

    Write(".txt", GuitarSong("A", "1"));
    Write(".skill", "A\t1\t$\r\n");
    ASSERT_TRUE(LoadAllDataFiles(base));
    Write(".skill", "A\t99999999999\t$\r\n");
    EXPECT_THROW(LoadAllDataFiles(base), AppError);
    writeFiles();
    saveAllThenExpectUntouched("failed reload");

    files.erase(".txt");
    fs::remove(Path(".txt"));
    EXPECT_FALSE(LoadAllDataFiles(base));
    saveAllThenExpectUntouched("missing list");
    EXPECT_FALSE(fs::exists(Path(".txt")));

    // A player file that is no plain file (a named pipe) fails the load at
    // once, like an unreadable one.
    Write(".txt", GuitarSong("A", "1"));
    fs::remove(Path(".comment"));
    ASSERT_EQ(mkfifo(Path(".comment").c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { LoadAllDataFiles(base); }), CannotOpenMessage(Path(".comment")));
    EXPECT_FALSE(DataLoadComplete());

    // So does a link into a folder that is not there (a sync drive not
    // mounted): its results must not be replaced by an empty table's.
    fs::remove(Path(".comment"));
    fs::create_symlink(dir.File("unmounted/notes.comment"), Path(".comment"));
    EXPECT_EQ(ErrorOf([&] { LoadAllDataFiles(base); }), CannotOpenMessage(Path(".comment")));
    EXPECT_FALSE(DataLoadComplete());
    EXPECT_EQ(ErrorOf([&] { SaveComments(base); }), "(no error)");
    EXPECT_TRUE(fs::is_symlink(Path(".comment")));
    EXPECT_FALSE(fs::exists(dir.Path() / "unmounted"));

    // Any single load clears the flag too.
    SetDataLoadComplete(true);
    LoadFavorites(base);
    EXPECT_FALSE(DataLoadComplete());
}

// A reload whose master list stops at a bad code must not leave the songs it
// read with the results, comments and changed flags of the songs that held
// their indices before.
TEST_F(DataFilesTest, FailedReloadStillMatchesPlayerFilesByName) {
    Write(".txt", GuitarSong("Old", "1") + GuitarSong("B", "2"));
    Write(".skill", NumberedSkillLine("Old", 9) + "\r\n" + NumberedSkillLine("B", 9, 500) + "\r\n");
    Write(".comment", "Old\told note\t01/01 00:00\t1\r\nB\tb note\t\t0\r\n");
    Write(".favorite", "Old\r\n");
    ASSERT_TRUE(LoadAllDataFiles(base));

    Write(".txt", GuitarSong("New", "1") + GuitarSong("B", "2") + "C\t150\r\n");
    EXPECT_EQ(ErrorOf([&] { LoadAllDataFiles(base); }), Sj("'' は整数ではありません"));
    EXPECT_FALSE(DataLoadComplete());
    ASSERT_EQ(MusicCount, 2);
    const TMusicList& fresh = MusicTable[0];
    EXPECT_EQ(fresh.Name, "New");
    EXPECT_EQ(fresh.SkillList.Index, -1);
    EXPECT_EQ(fresh.SkillList.Chart[0].PerfectPct, 0);
    EXPECT_EQ(fresh.Comment, "");
    EXPECT_FALSE(fresh.Changed);
    EXPECT_FALSE(fresh.Favorite);
    EXPECT_EQ(MusicTable[1].SkillList.Chart[0].PerfectPct, 501);
    EXPECT_EQ(MusicTable[1].Comment, "b note");
}

// Fault 4: the files are replaced, never truncated in place.
TEST_F(DataFilesTest, SaveFailsNamingTheTargetAndLeavesNoTemporary) {
    Write(".txt", GuitarSong("A", "1"));
    ASSERT_TRUE(LoadAllDataFiles(base));
    ASSERT_EQ(mkdir(Path(".skill").c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { SaveSkillData(base); }), CannotCreateMessage(Path(".skill")));
    SaveComments(base);
    EXPECT_EQ(Listing(), (std::vector<std::string>{base + ".comment", base + ".skill", base + ".txt"}));
}

// Fault 5: a later entry of the same name would overwrite the first's results at the next load.
TEST_F(DataFilesTest, DuplicateNamesWriteOnlyTheFirstEntry) {
    Use(DrumEdition());
    Songs({"A", "A", "B"});
    MusicTable[0].SkillList.Chart[0].Rate = 9000;
    MusicTable[1].SkillList.Chart[0].Rate = 1;
    MusicTable[0].Comment = "first";
    MusicTable[1].Comment = "second";
    SetDataLoadComplete(true);
    SaveSkillData(base);
    SaveComments(base);
    EXPECT_EQ(Read(".comment"), "A\tfirst\t\t0\r\nB\t\t\t0\r\n");
    LoadSkillData(base);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[0].Rate, 9000);
    EXPECT_EQ(MusicTable[1].SkillList.Index, -1);
    EXPECT_EQ(MusicTable[2].SkillList.Index, 2);
}

} // namespace
