#include "data/Recalc.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/FloatError.h"
#include "data/SkillCmp.h"
#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// An input mode that recalculation leaves alone, so a test can give a chart
// exact points.
constexpr int32_t KeptMode = 7;

class RecalcTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(GuitarEdition()); }
    void Start(const Edition& edition) {
        ResetData(edition);
        computer = DefaultWeights();
    }

    // Appends a song as a load leaves it: Index is its table index.
    static int AddSong(int32_t code) {
        const int i = MusicCount++;
        MusicTable[i].Code = code;
        MusicTable[i].Index = i;
        MusicTable[i].SkillList.Index = i;
        return i;
    }

    static TChartResult& Chart(int song, int c) { return MusicTable[song].SkillList.Chart[c]; }

    static void GivePoints(int song, int c, int32_t points) {
        MusicTable[song].Level[c] = 50;
        Chart(song, c).InputMode = KeptMode;
        Chart(song, c).SkillPoint = points;
    }

    // A song of the given code whose best chart c has the given points.
    static int AddSongWithPoints(int32_t code, int32_t points, int c = 2) {
        const int i = AddSong(code);
        GivePoints(i, c, points);
        return i;
    }

    static const TSkillList& Skills(int song) { return MusicTable[song].SkillList; }

    DefaultFormulas formulas;
    TSkillComputer& computer = formulas.Computer;
};

TChartResult RateChart(int32_t mode, int32_t rate) {
    TChartResult chart;
    chart.InputMode = mode;
    chart.Rate = rate;
    return chart;
}

TChartResult PercentChart(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c) {
    TChartResult chart;
    chart.InputMode = InputPercents;
    chart.PerfectPct = p, chart.GreatPct = g, chart.GoodPct = d;
    chart.PoorPct = o, chart.MissPct = m, chart.ComboPct = c;
    return chart;
}

TChartResult CountChart(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c) {
    TChartResult chart;
    chart.InputMode = InputCounts;
    chart.PerfectCount = p, chart.GreatCount = g, chart.GoodCount = d;
    chart.PoorCount = o, chart.MissCount = m, chart.ComboCount = c;
    chart.TotalNotes = p + g + d + o + m;
    return chart;
}

} // namespace

TEST_F(RecalcTest, ChartByInputMode) {
    struct Case {
        const char* what;
        TChartResult chart;
        int32_t level;
        int32_t rate, points, mode;
    } cases[] = {
        {"legacy whole percent", RateChart(InputLegacy, 95), 45, 9500, 1410, InputRate},
        {"legacy above range", RateChart(InputLegacy, 101), 45, 0, 0, InputRate},
        {"rate 100.50 stays", RateChart(InputRate, 10050), 45, 10050, 1492, InputRate},
        {"rate 100.51 resets", RateChart(InputRate, 10051), 45, 0, 0, InputRate},
        {"rate 101.50 resets", RateChart(InputRate, 10150), 45, 0, 0, InputRate},
        {"rate 95.12", RateChart(InputRate, 9512), 45, 9512, 1412, InputRate},
        {"no such chart", RateChart(InputRate, 9512), 0, 9512, 0, InputRate},
        {"percentages", PercentChart(95, 5, 0, 0, 0, 100), 45, 9700, 1440, InputPercents},
        {"percentages 90.6", PercentChart(90, 10, 0, 0, 0, 83), 45, 9059, 1345, InputPercents},
        {"percentages capped", PercentChart(100, 0, 0, 0, 0, 100), 45, 10000, 1485, InputPercents},
        {"counts 94 %", CountChart(900, 100, 0, 0, 0, 1000), 45, 9399, 1395, InputCounts},
        {"counts 95.12 % use h = 95", CountChart(2400, 100, 0, 0, 0, 2190), 45, 9512, 1410, InputCounts},
        // 280 % has no exact double either: 27999.
        {"counts uncapped", CountChart(100, 0, 0, 0, 0, 1000), 45, 27999, 4158, InputCounts},
        {"counts, none judged", CountChart(0, 0, 0, 0, 0, 1000), 45, 0, 0, InputCounts},
        {"counts, no such chart", CountChart(900, 100, 0, 0, 0, 1000), 0, 9399, 0, InputCounts},
        {"unknown mode is left alone", RateChart(KeptMode, 20000), 45, 20000, 12345, KeptMode},
        // x 100 wraps instead of overflowing; the negative rate stays
        {"legacy rate wraps", RateChart(InputLegacy, 30000000), 0, -1294967296, 0, InputRate},
    };
    for (const Case& t : cases) {
        TChartResult chart = t.chart;
        chart.SkillPoint = 12345; // always recomputed
        RecalcChart(chart, t.level);
        EXPECT_EQ(chart.Rate, t.rate) << t.what;
        EXPECT_EQ(chart.SkillPoint, t.points) << t.what;
        EXPECT_EQ(chart.InputMode, t.mode) << t.what;
    }
}

TEST_F(RecalcTest, BestChartIsTheFirstWithTheMostPoints) {
    const int song = AddSong(100);
    GivePoints(song, 1, 800);
    GivePoints(song, 3, 1200);
    GivePoints(song, 6, 1200);
    GivePoints(song, 8, -5);
    const int none = AddSong(101);
    GivePoints(none, 0, 0);
    GivePoints(none, 1, -300);
    RecalcAllSkills();
    EXPECT_EQ(Skills(song).BestChart, 3);
    EXPECT_EQ(Skills(song).BestCode, 7);
    EXPECT_EQ(Skills(song).BestSkill, 1200);
    EXPECT_EQ(Skills(none).BestChart, -1);
    EXPECT_EQ(Skills(none).BestCode, 0);
    EXPECT_EQ(Skills(none).BestSkill, 0);
    EXPECT_EQ(Skills(none).Rank, 2); // ranked after any song with points
}

TEST_F(RecalcTest, RecalcWritesTheConversionsBackToTheTable) {
    const int song = AddSong(5);
    MusicTable[song].Level[4] = 45;
    Chart(song, 4) = RateChart(InputLegacy, 95);
    MusicTable[song].Level[5] = 60;
    Chart(song, 5) = RateChart(InputRate, 10051);
    EXPECT_EQ(RecalcAllSkills(), 1410);
    EXPECT_EQ(TotalSkill, 1410);
    EXPECT_EQ(Chart(song, 4).Rate, 9500);
    EXPECT_EQ(Chart(song, 4).InputMode, InputRate);
    EXPECT_EQ(Chart(song, 5).Rate, 0);
    EXPECT_EQ(Skills(song).BestCode, 8);
    // A second run finds nothing left to convert.
    EXPECT_EQ(RecalcAllSkills(), 1410);
    EXPECT_EQ(Chart(song, 4).Rate, 9500);
}

TEST_F(RecalcTest, ChartsBeyondTheEditionAreNotRead) {
    Start(DrumEdition());
    const int song = AddSong(100);
    GivePoints(song, 1, 300);
    MusicTable[song].Level[5] = 45;
    Chart(song, 5) = RateChart(InputLegacy, 95);
    RecalcAllSkills();
    EXPECT_EQ(Skills(song).BestCode, 5);
    EXPECT_EQ(Chart(song, 5).Rate, 95);
    EXPECT_EQ(Chart(song, 5).InputMode, InputLegacy);
}

TEST_F(RecalcTest, WaruZeroStopsPartWayAndKeepsTheOldTotal) {
    const int first = AddSong(10);
    MusicTable[first].Level[0] = 45;
    Chart(first, 0) = RateChart(InputLegacy, 95);
    const int second = AddSong(20);
    MusicTable[second].Level[0] = 45;
    Chart(second, 0) = CountChart(0, 0, 0, 0, 0, 50); // no judged notes: no error
    MusicTable[second].Level[1] = 45;
    Chart(second, 1) = PercentChart(95, 5, 0, 0, 0, 100);
    const int third = AddSong(30);
    MusicTable[third].Level[0] = 45;
    Chart(third, 0) = RateChart(InputLegacy, 90);

    computer.Waru = 0;
    TotalSkill = 777;
    EXPECT_EQ(ErrorOf([] { RecalcAllSkills(); }), ZeroDivideText());
    EXPECT_EQ(TotalSkill, 777);
    EXPECT_EQ(Chart(first, 0).SkillPoint, 1410);
    EXPECT_EQ(Skills(first).BestSkill, 1410);
    EXPECT_EQ(Chart(third, 0).Rate, 90); // never reached
}

// Exchange sort: 500, 300, 500, 700, 300 ends as 700, third, first, 300
// second, 300 fifth. Two long versions count, so of the tied songs the later
// one counts, the earlier not.
TEST_F(RecalcTest, RankingTiesFollowTheExchangeSort) {
    const int a = AddSongWithPoints(2000, 500, 4);
    const int b = AddSongWithPoints(2001, 300, 4);
    const int c = AddSongWithPoints(2002, 500, 4);
    const int d = AddSongWithPoints(2003, 700, 4);
    const int e = AddSongWithPoints(2004, 300, 4);
    EXPECT_EQ(RecalcAllSkills(), 1200);
    auto ranks = [&](auto field) {
        std::vector<int32_t> values;
        for (int song : {d, c, a, b, e})
            values.push_back(Skills(song).*field);
        return values;
    };
    EXPECT_EQ(ranks(&TSkillList::Rank), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ranks(&TSkillList::BestCode), (std::vector<int32_t>{8, 8, 2, 2, 2}));
}

// Songs of other categories stay in the array as fillers and move the
// 0-point songs: in table order X, filler, Z, W the sort leaves W, filler, Z, X.
TEST_F(RecalcTest, FillerEntriesTakePartInTheSort) {
    const int x = AddSong(1);
    AddSongWithPoints(1500, 100);
    const int z = AddSong(2);
    const int w = AddSongWithPoints(3, 50);
    RecalcAllSkills();
    EXPECT_EQ(Skills(w).Rank, 1);
    EXPECT_EQ(Skills(z).Rank, 2);
    EXPECT_EQ(Skills(x).Rank, 3);
}

TEST_F(RecalcTest, CategoryCountsItsTopSongsOnly) {
    struct Category {
        int32_t code;
        int counted;
    } categories[] = {{0, 35}, {1000, 13}, {2000, 2}, {3000, 3}};
    for (const Category& category : categories) {
        Start(GuitarEdition());
        std::vector<int> songs;
        int32_t expected = 0;
        // Points fall with the table index; one song more than counted, one with none.
        for (int n = 0; n <= category.counted; ++n) {
            songs.push_back(AddSongWithPoints(category.code + n, 10000 - n, 7));
            if (n < category.counted) expected += 10000 - n;
        }
        const int none = AddSong(category.code + 999);
        EXPECT_EQ(RecalcAllSkills(), expected) << category.code;
        EXPECT_EQ(Skills(songs[category.counted - 1]).BestCode, 11) << category.code; // OPEN ADV
        EXPECT_EQ(Skills(songs[category.counted]).BestCode, 2) << category.code;      // ADV + 1
        EXPECT_EQ(Skills(songs[category.counted]).Rank, category.counted + 1);
        EXPECT_EQ(Skills(none).BestCode, 0);
        EXPECT_EQ(Skills(none).Rank, category.counted + 2);
    }
}

TEST_F(RecalcTest, BestCodeInBothEditions) {
    struct Case {
        const Edition& edition;
        int chart;
        int32_t counted, uncounted, uncategorised;
    } cases[] = {
        {GuitarEdition(), 0, 4, 1, 4}, {GuitarEdition(), 5, 9, 3, 9}, {GuitarEdition(), 8, 12, 3, 12},
        {DrumEdition(), 0, 4, 1, 4},   {DrumEdition(), 2, 6, 3, 6},
    };
    for (const Case& t : cases) {
        Start(t.edition);
        // Three non-stop orders count; the fourth has the fewest points.
        int counted = 0;
        for (int n = 0; n < 4; ++n) {
            const int song = AddSongWithPoints(3000 + n, 900 - n, t.chart);
            if (n == 0) counted = song;
        }
        const int below = MusicCount - 1;
        const int negative = AddSongWithPoints(-1, 5000, t.chart);
        const int high = AddSongWithPoints(4000, 5000, t.chart);
        MusicTable[negative].SkillList.Rank = 42;

        EXPECT_EQ(RecalcAllSkills(), 900 + 899 + 898) << t.chart;
        EXPECT_EQ(Skills(counted).BestCode, t.counted) << t.chart;
        EXPECT_EQ(Skills(below).BestCode, t.uncounted) << t.chart;
        EXPECT_EQ(Skills(negative).BestCode, t.uncategorised) << t.chart;
        EXPECT_EQ(Skills(high).BestCode, t.uncategorised) << t.chart;
        EXPECT_EQ(Skills(negative).Rank, 42);
        EXPECT_EQ(Skills(high).Rank, 0);
    }
}

TEST_F(RecalcTest, TotalSumsTheFourCategories) {
    TotalSkill = 500;
    EXPECT_EQ(RecalcAllSkills(), 0); // an empty table
    EXPECT_EQ(TotalSkill, 0);
    AddSongWithPoints(999, 100);
    AddSongWithPoints(1000, 20);
    AddSong(1999); // no points: adds 0
    AddSongWithPoints(2999, 3);
    AddSongWithPoints(3999, 4000);
    AddSongWithPoints(-5, 100000);
    EXPECT_EQ(RecalcAllSkills(), 4123);
    EXPECT_EQ(TotalSkill, 4123);
}

TEST_F(RecalcTest, TotalWrapsAt32Bits) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    AddSongWithPoints(1, max);
    AddSongWithPoints(1001, max);
    EXPECT_EQ(RecalcAllSkills(), -2);
}

// Every entry of a full table takes part in the sort: ascending points end
// in descending order, the top 35 counted.
TEST_F(RecalcTest, FullTableRanksEverySong) {
    for (int i = 0; i < kMaxMusicCount; ++i)
        AddSongWithPoints(i, i + 1);
    EXPECT_EQ(RecalcAllSkills(), 35 * (467 + 501) / 2);
    for (int i = 0; i < kMaxMusicCount; ++i) {
        EXPECT_EQ(Skills(i).Rank, kMaxMusicCount - i) << i;
        EXPECT_EQ(Skills(i).BestCode, i >= kMaxMusicCount - 35 ? 6 : 3) << i;
    }
}
