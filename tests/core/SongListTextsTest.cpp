#include "ui/SongListTexts.h"
#include "data/NumberText.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

TEST(NumberText, PrintsWithAPointWhateverTheLocale) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{25.11, "25.11"}, Case{0.0, "0.00"}, Case{9.5, "9.50"}, Case{-0.5, "-0.50"},
                          Case{1234.56, "1234.56"}, Case{0.005, "0.01"}})
        EXPECT_EQ(FormatFixed2(c.value), c.text) << c.value;
}

TEST(NumberText, HundredthsAreExact) {
    EXPECT_EQ(HundredthsText(123456), "1234.56");
    EXPECT_EQ(HundredthsText(0), "0.00");
    EXPECT_EQ(HundredthsText(7), "0.07");
    EXPECT_EQ(HundredthsText(-5), "-0.05");
    EXPECT_EQ(HundredthsText(-2147483647 - 1), "-21474836.48");
}

TEST(NumberText, ThreeWideIntegerAlwaysWritesTheDigit) {
    EXPECT_EQ(FormatInt3(0), "  0");
    EXPECT_EQ(FormatInt3(95), " 95");
    EXPECT_EQ(FormatInt3(100), "100");
    EXPECT_EQ(FormatInt3(-5), " -5");
    EXPECT_EQ(FormatInt3(12345), "12345");
}

TEST(SongListTexts, InformationTextByGroupAndBestCode) {
    struct Case {
        int32_t code;
        int32_t bestCode;
        const char* utf8;
    };
    const Case cases[] = {
        {1234, 0, "　　　   ---"},
        {1234, 2, "  NEW　 ----   ADV"},
        {1234, 8, "  NEW BASS     ADV"},
        {1000, 4, "  NEW STANDARD BAS"},
        {1999, 12, "  NEW OPENPICK EXT"},
        {2000, 1, " LONG 　----   BAS"},
        {2500, 9, " LONG BASS     EXT"},
        {3000, 3, "NONSTOP 　----   EXT"},
        {3999, 10, "NONSTOP OPENPICK BAS"},
        {0, 1, "EXIST 　----   BAS"},
        {999, 6, "EXIST STANDARD EXT"},
        {-5, 5, "EXIST STANDARD ADV"}, // a negative quotient is the EXIST group
        {-1500, 5, "EXIST STANDARD ADV"},
        {4500, 11, "EXIST OPENPICK ADV"},
        {4500, 13, "　　　   ---"},
        {4500, -1, "　　　   ---"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InformationText(c.code, c.bestCode), Sj(c.utf8)) << c.code << " " << c.bestCode;
}

TEST(SongListTexts, InformationTextsHaveTheirByteLengths) {
    for (int32_t best = 1; best <= 12; ++best) {
        EXPECT_EQ(InformationText(1000, best).size(), 18u);
        EXPECT_EQ(InformationText(2000, best).size(), 18u);
        EXPECT_EQ(InformationText(3000, best).size(), 20u);
        EXPECT_EQ(InformationText(0, best).size(), 18u);
    }
    EXPECT_EQ(InformationText(0, 0).size(), 12u);
}

TEST(SongListTexts, ColumnTexts) {
    EXPECT_EQ(RowKeyText(7), "  7");
    EXPECT_EQ(RowKeyText(500), "500");
    EXPECT_EQ(LevelText(0), "--");
    EXPECT_EQ(LevelText(65), "65");
    EXPECT_EQ(SkillColumnText(0), " 0.00");
    EXPECT_EQ(SkillColumnText(950), " 9.50");
    EXPECT_EQ(SkillColumnText(2354), "23.54");
    EXPECT_EQ(SkillColumnText(12345), "23.45"); // longer than five: its last five characters
    EXPECT_EQ(WholePercentText(9512), "95");
    EXPECT_EQ(WholePercentText(10000), "100");
    EXPECT_EQ(WholePercentText(0), "0");
    EXPECT_EQ(WholePercentText(-150), "-1");
    EXPECT_EQ(ShownCountText(3, 61), Sj(" 該当件数：3/61"));
}

TEST(SongListTexts, DisplayRule) {
    auto song = [](std::initializer_list<int> flags, bool favorite) {
        TMusicList s;
        for (int f : flags)
            s.Flags[static_cast<std::size_t>(f)] = true;
        s.Favorite = favorite;
        return s;
    };
    DisplayToggles none;
    none.All = false;
    DisplayToggles all;
    DisplayToggles fav = none;
    fav.Favorite = true;
    DisplayToggles normal = none;
    normal.Normal = true;
    DisplayToggles kind5 = none;
    kind5.Kind[5] = true;

    struct Case {
        TMusicList song;
        DisplayToggles toggles;
        bool shown;
        const char* what;
    };
    const Case cases[] = {
        {song({}, false), all, true, "all shows every song"},
        {song({}, false), none, false, "no toggle shows nothing"},
        {song({}, true), fav, true, "favourite"},
        {song({5}, false), fav, false, "not a favourite"},
        {song({}, false), normal, true, "no flag is normal"},
        {song({9}, false), normal, true, "flag 9 alone still counts as normal"},
        {song({0}, false), normal, false, "a kind flag is not normal"},
        {song({5}, false), kind5, true, "its kind toggle"},
        {song({5, 9}, false), kind5, true, "its kind toggle with flag 9"},
        {song({6}, false), kind5, false, "another kind toggle"},
        {song({9}, false), kind5, false, "flag 9 takes part in no kind rule"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSongShown(c.song, c.toggles), c.shown) << c.what;
}
