#include "data/DataFiles.h"

#include "data/DataUnit.h"
#include "editions/Editions.h"
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

// ---- splitter ----

struct SplitCase {
    const char* name;
    std::string text;
    int limit;
    std::size_t capacity;
    std::vector<std::string> expected; // the first fields; the rest must be empty
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

std::string Tabs(int count, const std::string& piece) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += piece + "\t";
    return s;
}

TEST_P(SplitTable, CutsFields) {
    const SplitCase& c = GetParam();
    FieldArray fields(c.capacity, "stale");
    SplitFields(c.text, '\t', fields, c.limit);
    ASSERT_EQ(fields.size(), c.capacity);
    for (std::size_t i = 0; i < c.capacity; ++i)
        EXPECT_EQ(fields[i], i < c.expected.size() ? c.expected[i] : "") << "field " << i;
}

INSTANTIATE_TEST_SUITE_P(
    DataFiles, SplitTable,
    testing::Values(SplitCase{"NoSeparator", "abc", 25, 5, {"abc"}}, SplitCase{"Empty", "", 25, 3, {""}},
                    SplitCase{"EmptyBetweenSeparators", "a\t\tb\t", 25, 6, {"a", "", "b", ""}},
                    // limit 1: two cuts, then the remainder whole
                    SplitCase{"RemainderAfterLimitPlusOneCuts", "a\tb\tc\td\te", 1, 6, {"a", "b", "c\td\te"}},
                    // fault: more pieces than the reader's array are dropped, not written past it
                    SplitCase{"PiecesBeyondArrayDropped", "a\tb\tc\td\te", 255, 3, {"a", "b", "c"}},
                    SplitCase{"RemainderBeyondArrayDropped", "a\tb\tc", 255, 2, {"a", "b"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(DataFiles, MusicSplitGivesAtMost27Fields) {
    FieldArray fields(40);
    SplitMusicLine(Tabs(30, "x") + "end", fields);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(fields[i], "x");
    EXPECT_EQ(fields[26], Tabs(4, "x") + "end");
    EXPECT_EQ(fields[27], "");
}

TEST(DataFiles, DataSplitGivesAtMost257Fields) {
    FieldArray fields(300);
    SplitDataLine(Tabs(280, "v") + "$", fields);
    EXPECT_EQ(fields[255], "v");
    EXPECT_EQ(fields[256], Tabs(24, "v") + "$");
    EXPECT_EQ(fields[257], "");
}

TEST(DataFiles, SplitChoosesTabElseComma) {
    FieldArray fields(4);
    SplitMusicLine("a,b\tc", fields);
    EXPECT_EQ(fields[0], "a,b");
    EXPECT_EQ(fields[1], "c");
    SplitDataLine("a,b", fields);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "b");
    EXPECT_EQ(fields[2], "");
}

TEST(DataFiles, ReaderArraySizes) {
    ResetData(GuitarEdition());
    EXPECT_EQ(MusicFieldCapacity(), 41);
    EXPECT_EQ(SkillFieldCapacity(), 155);
    EXPECT_EQ(CommentFieldCapacity(), 145);
    ResetData(DrumEdition());
    EXPECT_EQ(MusicFieldCapacity(), 35);
    EXPECT_EQ(SkillFieldCapacity(), 59);
    EXPECT_EQ(CommentFieldCapacity(), 49);
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

    std::string Path(const char* ext) const { return dir.File(base + ext); }
    void Write(const char* ext, const std::string& bytes) const { WriteFileBytes(Path(ext), bytes); }
    std::string Read(const char* ext) const { return ReadFileBytes(Path(ext)); }

    // A guitar master-list line: levels 1..9 plus the given offset, flags from a 10-digit string.
    static std::string GuitarSong(const std::string& name, int code,
                                  const std::string& flags = "0000000000") {
        std::string line = name + "\t150";
        for (int c = 0; c < 9; ++c)
            line += "\t" + std::to_string(c + 1);
        for (char f : flags)
            line += std::string("\t") + f;
        return line + "\tshort\tmemo\t" + std::to_string(code) + "\r\n";
    }

    // A results line in the "$" layout whose field j holds value j + offset.
    static std::string NumberedSkillLine(const std::string& name, int charts, int offset = 0) {
        std::string line = name + "\t";
        for (int j = 1; j <= 16 * charts; ++j)
            line += std::to_string(j + offset) + "\t";
        return line + "$";
    }

    std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const AppError& e) {
            return e.what();
        }
        return "(no error)";
    }

    TempDir dir;
    std::string base;
};

TEST_F(DataFilesTest, MasterListFieldsLoad) {
    Write(".txt",
          GuitarSong(Sj("ソ表能"), 1003, "1010000001") + "B\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t-5");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 2);
    const TMusicList& a = MusicTable[0];
    EXPECT_EQ(a.Name, Sj("ソ表能"));
    EXPECT_EQ(a.Bpm, "150");
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(a.Level[c], c + 1);
    std::array<bool, FlagCount> flags{true, false, true, false, false, false, false, false, false, true};
    EXPECT_EQ(a.Flags, flags);
    EXPECT_EQ(a.ShortName, "short");
    EXPECT_EQ(a.Memo, "memo");
    EXPECT_EQ(a.Code, 1003);
    EXPECT_EQ(MusicTable[1].Code, -5);
    EXPECT_EQ(MusicTable[1].Level[0], 0);
    EXPECT_EQ(MusicTable[1].Index, 1);
    EXPECT_EQ(MusicNames, (std::vector<SjisString>{Sj("ソ表能"), "B"}));
}

TEST_F(DataFilesTest, CommaLineWithoutTabs) {
    Write(".txt", "SongA,150,1,2,3,4,5,6,7,8,9,0,0,0,0,0,0,0,0,0,0,SA,memo,12\n");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 1);
    EXPECT_EQ(MusicTable[0].Name, "SongA");
    EXPECT_EQ(MusicTable[0].Bpm, "150");
    EXPECT_EQ(MusicTable[0].Level[8], 9);
    EXPECT_EQ(MusicTable[0].Flags, (std::array<bool, FlagCount>{}));
    EXPECT_EQ(MusicTable[0].Code, 12);
}

TEST_F(DataFilesTest, DrumMasterListHas18Fields) {
    Use(DrumEdition());
    Write(".txt", "D\t90\t10\t20\t30\t0\t1\t0\t0\t0\t0\t0\t0\t0\t0\tsd\tmd\t2001\textra\textra\r\n");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 1);
    EXPECT_EQ(MusicTable[0].Level[2], 30);
    EXPECT_TRUE(MusicTable[0].Flags[1]);
    EXPECT_EQ(MusicTable[0].ShortName, "sd");
    EXPECT_EQ(MusicTable[0].Memo, "md");
    EXPECT_EQ(MusicTable[0].Code, 2001);
}

TEST_F(DataFilesTest, CheckedFieldsAndBlankNames) {
    // Levels and flags that are not plain digits read as 0; "01" and "2" are no set flag.
    Write(".txt", " \t\r\n" + GuitarSong("A", 1, "2000000000") + "\n" +
                      "B\t1\tabc\t-3\t 4\t007\t5\t6\t7\t8\t9\t01\t1\t0\t0\t0\t0\t0\t0\t0\t0\ts\tm\t 12\r\n");
    LoadMusicList(base);
    ASSERT_EQ(MusicCount, 2);
    EXPECT_EQ(MusicTable[0].Name, "A");
    EXPECT_FALSE(MusicTable[0].Flags[0]);
    const TMusicList& b = MusicTable[1];
    EXPECT_EQ(b.Index, 1);
    EXPECT_EQ(b.Level[0], 0);
    EXPECT_EQ(b.Level[1], 0);
    EXPECT_EQ(b.Level[2], 0);
    EXPECT_EQ(b.Level[3], 7);
    EXPECT_FALSE(b.Flags[0]);
    EXPECT_TRUE(b.Flags[1]);
    EXPECT_EQ(b.Code, 12);
}

TEST_F(DataFilesTest, CodeConversion) {
    const struct {
        std::string code;
        int32_t value;
    } cases[] = {{"-5", -5}, {" 12", 12}, {"$10", 16}, {"0x10", 16}, {"+3", 3}};
    for (const auto& c : cases) {
        Write(".txt",
              "A\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\ts\tm\t" + c.code + "\r\n");
        LoadMusicList(base);
        ASSERT_EQ(MusicCount, 1) << c.code;
        EXPECT_EQ(MusicTable[0].Code, c.value) << c.code;
    }
}

TEST_F(DataFilesTest, BadCodeStopsLoadKeepingEarlierSongs) {
    Write(".txt", GuitarSong("A", 1) + "B\t150\t1\r\n" + GuitarSong("C", 3));
    EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), Sj("'' は整数ではありません"));
    EXPECT_EQ(MusicCount, 1);
    EXPECT_EQ(MusicNames, std::vector<SjisString>{"A"});

    Write(".txt", "A\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\ts\tm\t12 \r\n");
    EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), Sj("'12 ' は整数ではありません"));
    EXPECT_EQ(MusicCount, 0);
}

TEST_F(DataFilesTest, LevelAboveRangeStopsLoad) {
    Write(".txt", "A\t1\t99999999999\t1\t1\t1\t1\t1\t1\t1\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\ts\tm\t1\r\n");
    EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), Sj("'99999999999' は整数ではありません"));
    EXPECT_EQ(MusicCount, 0);
}

TEST_F(DataFilesTest, MissingMasterListLeavesEmptyTable) {
    MusicCount = 3;
    MusicNames = {"x", "y", "z"};
    LoadMusicList(base);
    EXPECT_EQ(MusicCount, 0);
    EXPECT_TRUE(MusicNames.empty());
}

TEST_F(DataFilesTest, UnreadableFileRaisesCannotOpen) {
    ASSERT_EQ(mkdir(Path(".txt").c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { LoadMusicList(base); }), CannotOpenMessage(Path(".txt")));
}

// Fault 1: a list longer than the table.
TEST_F(DataFilesTest, MoreThan501SongsLoadsFirst501AndReports) {
    std::string list;
    for (int i = 0; i < 503; ++i)
        list += GuitarSong("S" + std::to_string(i), i);
    Write(".txt", list);
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

TEST_F(DataFilesTest, Exactly501SongsCompleteTheLoad) {
    std::string list;
    for (int i = 0; i < 501; ++i)
        list += GuitarSong("S" + std::to_string(i), i);
    Write(".txt", list + " \r\n\r\n");
    EXPECT_TRUE(LoadAllDataFiles(base));
    EXPECT_EQ(MusicCount, 501);
}

TEST_F(DataFilesTest, ResultsLayoutPlacesEveryValue) {
    for (const Edition* edition : {&GuitarEdition(), &DrumEdition()}) {
        Use(*edition);
        const int charts = ChartCount();
        MusicCount = 1;
        MusicTable[0].Name = "A";
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
    }
}

TEST_F(DataFilesTest, LegacyResultsLine) {
    Use(DrumEdition());
    MusicCount = 1;
    MusicTable[0].Name = "A";
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
    MusicCount = 3;
    MusicTable[0].Name = "A";
    MusicTable[1].Name = "B";
    MusicTable[2].Name = "C ";
    // Earlier state that the reset step must clear or keep.
    MusicTable[1].SkillList.Chart[4].Rate = 5000;
    MusicTable[1].SkillList.Rank = 3;
    MusicTable[1].SkillList.BestChart = 4;
    MusicTable[1].SkillList.Remain = 77;
    MusicTable[1].SkillList.Match = true;

    std::string a = NumberedSkillLine("A", 9);
    a.replace(a.rfind("\t144\t"), 5, "\tx\t");            // a bad last value reads as 0
    a.replace(a.find("\t1\t"), 3, "\t-1\t");              // a negative value reads as 0
    std::string aLater = NumberedSkillLine("A", 9, 1000); // a later line of the same name wins
    std::string c = NumberedSkillLine("C ", 9) + " ";     // no marker at the very end: no values
    Write(".skill", a + "\r\n" + aLater + "\r\nUnknown\t1\t$\r\n" + c + "\r\n");
    LoadSkillData(base);

    const TSkillList& sa = MusicTable[0].SkillList;
    EXPECT_EQ(sa.Chart[0].PerfectPct, 1001);
    EXPECT_EQ(sa.Chart[8].InputMode, 1144);

    const TSkillList& sb = MusicTable[1].SkillList;
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
    MusicCount = 1;
    MusicTable[0].Name = "A";
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
    MusicCount = 1;
    MusicTable[0].Name = "A";
    Write(".skill", NumberedSkillLine("A", 3) + "\r");
    Write(".comment", "A\tnote\t\t1\r");
    LoadSkillData(base);
    LoadComments(base);
    EXPECT_EQ(MusicTable[0].SkillList.Chart[2].InputMode, 48);
    EXPECT_TRUE(MusicTable[0].Changed);
}

TEST_F(DataFilesTest, FavouritesAreTrimmedBeforeLookup) {
    MusicCount = 3;
    MusicTable[0].Name = "A";
    MusicTable[1].Name = "B ";
    MusicTable[2].Name = "A"; // a duplicate: the first entry takes the mark
    MusicTable[2].Favorite = true;
    Write(".favorite", "  A\t\r\nB \r\nnobody\r\n");
    LoadFavorites(base);
    EXPECT_TRUE(MusicTable[0].Favorite);
    EXPECT_FALSE(MusicTable[1].Favorite); // the trailing blank of its name is lost in the lookup
    EXPECT_FALSE(MusicTable[2].Favorite);
}

TEST_F(DataFilesTest, CommentsLoad) {
    MusicCount = 2;
    MusicTable[0].Name = "A";
    MusicTable[1].Name = "B";
    MusicTable[1].Comment = "old";
    MusicTable[1].Changed = true;
    Write(".comment", "A\t" + Sj("惜しい") + "\t03/14 21:05\t1\nB\t\t\t0\n");
    LoadComments(base);
    EXPECT_EQ(MusicTable[0].Comment, Sj("惜しい"));
    EXPECT_EQ(MusicTable[0].UpdateTime, "03/14 21:05");
    EXPECT_TRUE(MusicTable[0].Changed);
    EXPECT_EQ(MusicTable[1].Comment, "");
    EXPECT_FALSE(MusicTable[1].Changed);
}

TEST_F(DataFilesTest, WritersProduceExactBytes) {
    Use(DrumEdition());
    MusicCount = 2;
    TMusicList& a = MusicTable[0];
    a.Name = "A";
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
    MusicTable[1].Name = "B";
    SetDataLoadComplete(true);

    SaveMusicList(base);
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);

    EXPECT_EQ(Read(".txt"), "A\t120-180\t10\t20\t30\t1\t0\t0\t0\t0\t0\t0\t0\t0\t1\tsa\tm\t-5\r\n"
                            "B\t\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\t\t0\r\n");
    std::string skillA = "A\t" + Tabs(8, "0") + "0\t0\t0\t0\t0\t0\t9512\t7\t" + Tabs(8, "0") + Tabs(8, "0") +
                         Tabs(8, "0") + "0\t0\t0\t0\t0\t0\t500\t3\t$\r\n";
    EXPECT_EQ(Read(".skill"), skillA + "B\t" + Tabs(48, "0") + "$\r\n");
    EXPECT_EQ(Read(".favorite"), "A\r\n");
    EXPECT_EQ(Read(".comment"), "A\tc    d\t01/02 03:04\t1\r\nB\t\t\t0\r\n");
}

TEST_F(DataFilesTest, FixtureLoadsAndSavesByteForByte) {
    Use(DrumEdition());
    for (const char* ext : {".txt", ".skill", ".favorite", ".comment"})
        fs::copy_file(std::string(VOS_TEST_DATA) + "/datafiles/DrumManiaV3" + ext, Path(ext));
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

    const std::map<std::string, std::string> before = {{".txt", Read(".txt")},
                                                       {".skill", Read(".skill")},
                                                       {".favorite", Read(".favorite")},
                                                       {".comment", Read(".comment")}};
    for (const auto& [ext, bytes] : before)
        fs::remove(Path(ext.c_str()));
    SaveMusicList(base);
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);
    for (const auto& [ext, bytes] : before)
        EXPECT_EQ(Read(ext.c_str()), bytes) << ext;
}

TEST_F(DataFilesTest, GuitarTableRoundTrips) {
    std::string list;
    for (int i = 0; i < 20; ++i)
        list += GuitarSong(Sj("曲") + std::to_string(i), i * 211 - 100, "0101010101");
    Write(".txt", list);
    ASSERT_TRUE(LoadAllDataFiles(base));
    for (int i = 0; i < 20; ++i) {
        TMusicList& m = MusicTable[i];
        for (int c = 0; c < 9; ++c)
            for (int row = 0; row < 2; ++row)
                for (int pos = 0; pos < 8; ++pos)
                    m.SkillList.Chart[c].Value(row, pos) = i * 1000 + c * 20 + row * 9 + pos;
        m.Favorite = i % 3 == 0;
        m.Comment = Sj("コメント") + std::to_string(i);
        m.UpdateTime = "12/31 23:59";
        m.Changed = i % 2 == 0;
    }
    const std::array<TMusicList, MaxMusicCount> saved = MusicTable;
    SaveMusicList(base);
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);

    ResetData(GuitarEdition());
    ASSERT_TRUE(LoadAllDataFiles(base));
    ASSERT_EQ(MusicCount, 20);
    for (int i = 0; i < 20; ++i) {
        const TMusicList& was = saved[i];
        const TMusicList& now = MusicTable[i];
        EXPECT_EQ(now.Name, was.Name);
        EXPECT_EQ(now.Code, was.Code);
        EXPECT_EQ(now.Level, was.Level);
        EXPECT_EQ(now.Flags, was.Flags);
        EXPECT_EQ(now.Favorite, was.Favorite);
        EXPECT_EQ(now.Comment, was.Comment);
        EXPECT_EQ(now.UpdateTime, was.UpdateTime);
        EXPECT_EQ(now.Changed, was.Changed);
        for (int c = 0; c < 9; ++c)
            for (int row = 0; row < 2; ++row)
                for (int pos = 0; pos < 8; ++pos)
                    EXPECT_EQ(now.SkillList.Chart[c].Value(row, pos), was.SkillList.Chart[c].Value(row, pos));
    }
}

// Fault 3: a table that did not load completely is never written back.
TEST_F(DataFilesTest, IncompleteLoadBlocksEverySave) {
    const std::map<std::string, std::string> files = {{".txt", GuitarSong("A", 1) + "B\t1\r\n"},
                                                      {".skill", "player results"},
                                                      {".favorite", "favs"},
                                                      {".comment", "notes"}};
    for (const auto& [ext, bytes] : files)
        Write(ext.c_str(), bytes);

    auto saveAll = [&] {
        SaveMusicList(base);
        SaveSkillData(base);
        SaveFavorites(base);
        SaveComments(base);
    };
    auto expectUntouched = [&] {
        for (const auto& [ext, bytes] : files)
            EXPECT_EQ(Read(ext.c_str()), bytes) << ext;
    };

    EXPECT_THROW(LoadAllDataFiles(base), AppError); // stopped by the bad code of "B"
    EXPECT_FALSE(DataLoadComplete());
    saveAll();
    expectUntouched();

    // A complete load, then a reload that fails in the results file.
    Write(".txt", GuitarSong("A", 1));
    Write(".skill", "A\t99999999999\t$\r\n");
    EXPECT_THROW(LoadAllDataFiles(base), AppError);
    Write(".txt", files.at(".txt"));
    Write(".skill", files.at(".skill"));
    saveAll();
    expectUntouched();

    // Any single load clears the flag too.
    SetDataLoadComplete(true);
    LoadFavorites(base);
    EXPECT_FALSE(DataLoadComplete());
}

// A reload whose master list stops at a bad code must not leave the songs it
// read with the results, comments and changed flags of the songs that held
// their indices before.
TEST_F(DataFilesTest, FailedReloadStillMatchesPlayerFilesByName) {
    Write(".txt", GuitarSong("Old", 1) + GuitarSong("B", 2));
    Write(".skill", NumberedSkillLine("Old", 9) + "\r\n" + NumberedSkillLine("B", 9, 500) + "\r\n");
    Write(".comment", "Old\told note\t01/01 00:00\t1\r\nB\tb note\t\t0\r\n");
    Write(".favorite", "Old\r\n");
    ASSERT_TRUE(LoadAllDataFiles(base));

    Write(".txt", GuitarSong("New", 1) + GuitarSong("B", 2) + "C\t150\r\n");
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

TEST_F(DataFilesTest, MissingMasterListIsIncomplete) {
    Write(".skill", "player results");
    EXPECT_FALSE(LoadAllDataFiles(base));
    SaveSkillData(base);
    EXPECT_EQ(Read(".skill"), "player results");
}

// Fault 4: the files are replaced, never truncated in place.
TEST_F(DataFilesTest, SaveFailsNamingTheTargetAndLeavesNoTemporary) {
    Write(".txt", GuitarSong("A", 1));
    ASSERT_TRUE(LoadAllDataFiles(base));
    ASSERT_EQ(mkdir(Path(".skill").c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { SaveSkillData(base); }), CannotCreateMessage(Path(".skill")));
    SaveComments(base);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{base + ".comment", base + ".skill", base + ".txt"}));
}

// Fault 5: a later entry of the same name would overwrite the first's results at the next load.
TEST_F(DataFilesTest, DuplicateNamesWriteOnlyTheFirstEntry) {
    Use(DrumEdition());
    MusicCount = 3;
    MusicTable[0].Name = "A";
    MusicTable[1].Name = "A";
    MusicTable[2].Name = "B";
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
