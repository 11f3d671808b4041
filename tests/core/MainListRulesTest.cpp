#include "tests/TestSupport.h"
#include "ui/AdviceCopy.h"
#include "ui/AdviceRules.h"
#include "ui/BatchRules.h"
#include "ui/TotalBands.h"

#include <gtest/gtest.h>

#include <optional>

TEST(AdviceRules, RemainingPointsRoundHalfToEvenTwice) {
    struct Case {
        int32_t rate, level, remain;
    };
    // 177.5 -> 178; 94.5 -> 94; 95.5 -> 96; 106.5 -> 106; 4.5 -> 4; 7.5 -> 8; 99.5 -> 100
    for (const Case& c :
         {Case{9512, 70, 178}, Case{9450, 69, 210}, Case{9550, 69, 140}, Case{9700, 70, 106},
          Case{9700, 2, 4}, Case{9500, 2, 8}, Case{9950, 2, 0}, Case{10000, 70, 0}, Case{10100, 9, -5}})
        EXPECT_EQ(RemainingPoints(c.rate, c.level), c.remain) << c.rate << " " << c.level;
}

TEST(AdviceRules, ConditionsAtTheirBounds) {
    struct Case {
        int condition;
        int32_t rate, combo;
        bool listed;
    };
    const Case cases[] = {
        {AdviceNearTop, 9000, 100, true},  {AdviceNearTop, 8999, 0, false},
        {AdviceFullCombo, 8000, 99, true}, {AdviceFullCombo, 8000, 100, false},
        {AdviceFullCombo, 7999, 0, false}, {AdviceSRank, 7500, 0, true},
        {AdviceSRank, 7999, 0, true},      {AdviceSRank, 8000, 0, false},
        {AdviceSRank, 7499, 0, false},     {AdvicePractice, 5001, 0, true},
        {AdvicePractice, 7499, 0, true},   {AdvicePractice, 5000, 0, false},
        {AdvicePractice, 7500, 0, false},  {AdviceRemaining, 0, 0, true},
        {AdviceAllSongs, 0, 0, true},      {9, 0, 0, true}, // any other item acts as the last
    };
    TMusicList song;
    song.Level[4] = 70;
    song.SkillList.BestChart = 4;
    for (const Case& c : cases) {
        song.SkillList.Chart[4].Rate = c.rate;
        song.SkillList.Chart[4].ComboPct = c.combo;
        const AdviceVerdict verdict = JudgeAdvice(song, c.condition, 0);
        EXPECT_EQ(verdict.Match, c.listed) << c.condition << " " << c.rate << " " << c.combo;
        // Every song with a best chart gets its points, listed or not.
        EXPECT_EQ(verdict.Remain, RemainingPoints(c.rate, 70)) << c.condition << " " << c.rate;
    }
    // Item 4 compares (L + 1) / 2 x 100 with the threshold.
    EXPECT_TRUE(JudgeAdvice(song, AdviceRemaining, 3549).Match);
    EXPECT_FALSE(JudgeAdvice(song, AdviceRemaining, 3550).Match);

    // Without a best chart only the last item lists the song, with no points.
    song.SkillList.BestChart = -1;
    for (int condition = AdviceNearTop; condition <= AdviceAllSongs; ++condition) {
        EXPECT_EQ(JudgeAdvice(song, condition, 0).Match, condition == AdviceAllSongs) << condition;
        EXPECT_EQ(JudgeAdvice(song, condition, 0).Remain, 0);
    }
}

TEST(AdviceRules, RowTexts) {
    TMusicList song;
    song.Index = 7;
    song.Level = {10, 20};
    song.SkillList.Remain = 178;
    song.SkillList.Rank = 12;
    TChartResult& chart = song.SkillList.Chart[1];
    chart.PerfectPct = 80;
    chart.GreatPct = 15;
    chart.GoodPct = 3;
    chart.MissPct = 2;
    chart.ComboPct = 100;
    chart.Rate = 9450;
    chart.SkillPoint = 1134;
    const std::vector<SjisString> texts = AdviceRowTexts(song, 9);
    ASSERT_EQ(texts.size(), 49u);
    const std::vector<SjisString> first(texts.begin(), texts.begin() + 14);
    EXPECT_EQ(first,
              std::vector<SjisString>({"  7", "", " 1.78", " 12", " 10", "  0/  0/  0/  0/  0", "  0", "  0",
                                       " 0.00", " 20", " 80/ 15/  3/  0/  2", "100", " 94", "11.34"}));
    EXPECT_EQ(texts[44], "  0"); // a chart the song does not have still shows its level
    EXPECT_EQ(AdviceRowTexts(song, 3).size(), 19u);
}

// The overflow of a cell of digits is tested with the update that it stops.
TEST(BatchRules, CellRates) {
    struct Case {
        const char* utf8;
        std::optional<int32_t> rate;
    };
    for (const Case& c : {Case{"100", 10000}, Case{"1", 100}, Case{"095", 9500},
                          Case{"0000000000000095", 9500}, Case{"101", {}}, Case{"0", {}}, Case{"-5", {}},
                          Case{" 95", {}}, Case{"９５", {}}, Case{"95.5", {}}, Case{"", {}}, Case{"$5F", {}}})
        EXPECT_EQ(BatchCellRate(Sj(c.utf8)), c.rate) << c.utf8;
}

TEST(TotalBands, EachBandIncludesItsLowerBound) {
    const BandColor white{255, 255, 255}, pink{255, 192, 255}, cyan{128, 255, 255}, orange{255, 128, 64};
    const struct Case {
        int32_t tag;
        BandColor color;
    } cases[] = {
        {-100, white},           {19999, white},
        {20000, pink},           {39999, pink},
        {40000, {255, 64, 255}}, {60000, {96, 128, 255}},
        {80000, cyan},           {99999, cyan},
        {100000, {64, 255, 64}}, {110000, {255, 255, 64}},
        {120000, orange},        {129999, orange},
        {130000, {255, 64, 64}}, {2147483647, {255, 64, 64}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TotalBandColor(c.tag), c.color) << c.tag;
}

TEST(AdviceCopy, LevelLabelByBestChartCode) {
    const char* const expected[] = {"---",    "BSC",    "ADV",    "EXT",    "BSC",    "ADV",   "EXT",
                                    "BSC<B>", "ADV<B>", "EXT<B>", "BSC<O>", "ADV<O>", "EXT<O>"};
    for (int32_t code = 0; code <= 12; ++code)
        EXPECT_EQ(BestCodeLabel(code), expected[code]) << code;
    EXPECT_EQ(BestCodeLabel(13), "---");
    EXPECT_EQ(BestCodeLabel(-1), "---");
}
