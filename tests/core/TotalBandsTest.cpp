#include "ui/TotalBands.h"
#include "tests/TestSupport.h"
#include "ui/AdviceCopy.h"

#include <gtest/gtest.h>

TEST(TotalBands, EachBandIncludesItsLowerBound) {
    const BandColor white{255, 255, 255};
    struct Case {
        int32_t tag;
        BandColor color;
    } cases[] = {
        {-100, white},
        {19999, white},
        {20000, {255, 192, 255}},
        {39999, {255, 192, 255}},
        {40000, {255, 64, 255}},
        {60000, {96, 128, 255}},
        {80000, {128, 255, 255}},
        {99999, {128, 255, 255}},
        {100000, {64, 255, 64}},
        {110000, {255, 255, 64}},
        {120000, {255, 128, 64}},
        {129999, {255, 128, 64}},
        {130000, {255, 64, 64}},
        {2147483647, {255, 64, 64}},
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
