#include "ui/SongListRules.h"

#include <gtest/gtest.h>

TEST(SongListRules, BestChartToOpenByCode) {
    struct Case {
        int32_t Code, Difficulty, PlayMode;
    };
    const Case cases[] = {
        {0, -1, 0},                       // no points: no difficulty chosen
        {1, 0, 0},  {2, 1, 0}, {3, 2, 0}, // outside the counted top: STANDARD of the difficulty
        {4, 0, 0},  {6, 2, 0}, {7, 0, 1}, {8, 1, 1}, {9, 2, 1}, {10, 0, 2}, {11, 1, 2}, {12, 2, 2},
    };
    for (const Case& c : cases) {
        const ChartToOpen chart = BestChartToOpen(c.Code);
        EXPECT_EQ(chart.Difficulty, c.Difficulty) << c.Code;
        EXPECT_EQ(chart.PlayMode, c.PlayMode) << c.Code;
    }
    EXPECT_EQ(MenuItemDifficulty(1), 0);
    EXPECT_EQ(MenuItemDifficulty(3), 2);
}
