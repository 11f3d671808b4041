#include "export/TextExport.h"
#include "export/ExportDocument.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

ExportRow Row(const char* name, int32_t bestCode, int32_t rate, int32_t perfect = 0, int32_t great = 0) {
    ExportRow row;
    row.Name = name;
    row.ShortName = std::string(name, 1);
    row.BestCode = bestCode;
    row.Rate = rate;
    row.PerfectPct = perfect;
    row.GreatPct = great;
    return row;
}

TextExportOptions SongBySong() {
    TextExportOptions options;
    options.Separator = 1;
    return options;
}

TEST(TextExport, LayoutsArrangeNameLabelAndRate) {
    const ExportRow row = Row("Song", 5, 95);
    struct Case {
        int layout;
        const char* entry;
    } cases[] = {
        {0, "Song(95%)ADV"}, {1, "Song ADV(95%)"}, {2, "ADV Song(95%)"}, {3, "95% Song ADV"},
        {4, "ADV(95%)Song"}, {5, "95% ADV Song"},  {6, "Song(95%)"},     {-1, ""},
    };
    for (const Case& c : cases) {
        TextExportOptions options = SongBySong();
        options.Layout = c.layout;
        EXPECT_EQ(TextEntry(row, options), std::string(c.entry) + "\r\n") << "layout " << c.layout;
    }
}

TEST(TextExport, SeparatorAndNameChoice) {
    const ExportRow row = Row("Song", 4, 80);
    TextExportOptions options;
    EXPECT_EQ(TextEntry(row, options), Sj("Song(80%)BAS、"));
    options.NameChoice = 1;
    options.Separator = 1;
    EXPECT_EQ(TextEntry(row, options), "S(80%)BAS\r\n");
    options.NameChoice = -1;
    options.Separator = -1;
    EXPECT_EQ(TextEntry(row, options), "(80%)BAS");
}

TEST(TextExport, LevelLabels) {
    struct Case {
        int32_t code;
        const char* letters;
        const char* colours;
    } cases[] = {
        {0, "---", "---"},     {1, "BAS", "緑"},     {2, "ADV", "黄"},      {3, "EXT", "赤"},
        {4, "BAS", "緑"},      {5, "ADV", "黄"},     {6, "EXT", "赤"},      {7, "BAS<B>", "緑B"},
        {8, "ADV<B>", "黄B"},  {9, "EXT<B>", "赤B"}, {10, "BAS<O>", "緑O"}, {11, "ADV<O>", "黄O"},
        {12, "EXT<O>", "赤O"}, {13, "---", "---"},   {-1, "---", "---"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextLevelLabel(c.code, 0), Sj(c.letters)) << c.code;
        EXPECT_EQ(TextLevelLabel(c.code, 1), Sj(c.colours)) << c.code;
        EXPECT_EQ(TextLevelLabel(c.code, -1), "") << c.code;
    }
}

TEST(TextExport, RatePieces) {
    struct Case {
        int32_t rate;
        int rate100;
        int rate0;
        const char* piece;
    } cases[] = {
        {100, 0, 0, "100%"},   {100, 1, 0, "MAX"}, {100, -1, 0, ""}, {99, 1, 1, "99%"}, {0, 0, 0, "0%"},
        {0, 0, 1, "未プレイ"}, {0, 0, -1, ""},     {1, 1, 1, "1%"},  {-3, 0, 0, "-3%"}, {101, 1, 1, "101%"},
    };
    for (const Case& c : cases) {
        TextExportOptions options;
        options.Rate100 = c.rate100;
        options.Rate0 = c.rate0;
        EXPECT_EQ(TextRatePiece(c.rate, options), Sj(c.piece))
            << c.rate << " " << c.rate100 << " " << c.rate0;
    }
}

ExportDocument Block(const std::vector<ExportRow>& rows, int32_t counted, const TextExportOptions& options) {
    ExportDocument document;
    BuildTextBlock(document, rows, counted, options);
    return document;
}

TEST(TextExportBlock, StopsAfterTheCountedTopUnlessOtherSongsAreWanted) {
    const std::vector<ExportRow> rows = {Row("A", 6, 98), Row("B", 5, 97), Row("C", 2, 96)};
    TextExportOptions options;
    EXPECT_EQ(Block(rows, 2, options), ExportDocument{Sj("A(98%)EXT、B(97%)ADV、")});
    options.OtherSongs = true;
    EXPECT_EQ(Block(rows, 2, options), ExportDocument{Sj("A(98%)EXT、B(97%)ADV、C(96%)ADV、")});
    options.Grouping = -1; // no grouping chosen: one block as well
    EXPECT_EQ(Block(rows, 2, options), ExportDocument{Sj("A(98%)EXT、B(97%)ADV、C(96%)ADV、")});
}

TEST(TextExportBlock, ARateOfZeroIsWrittenAndEndsTheBlock) {
    const std::vector<ExportRow> rows = {Row("A", 6, 98), Row("B", 5, 0), Row("C", 4, 90)};
    TextExportOptions options = SongBySong();
    options.Rate0 = 1;
    EXPECT_EQ(Block(rows, 35, options), ExportDocument{Sj("A(98%)EXT\r\nB(未プレイ)ADV\r\n")});
}

TEST(TextExportBlock, EmptyBlocks) {
    TextExportOptions options;
    EXPECT_EQ(Block({}, 13, options), ExportDocument{""}); // one empty line
    options.Grouping = 1;
    EXPECT_TRUE(Block({}, 13, options).empty());
    // Layout and separator without a chosen item leave only blanks behind: no band heading.
    options.Layout = -1;
    options.Separator = 1;
    EXPECT_TRUE(Block({Row("A", 6, 100)}, 13, options).empty());
}

TEST(TextExportBlock, PlayRankBandsWithHeadings) {
    const std::vector<ExportRow> rows = {
        Row("S1", 6, 100),         // no percentages: the rate decides, SS
        Row("A1", 5, 98, 60, 30),  // 90: A whatever the rate
        Row("C1", 4, 97, 50, 20),  // 70: C and below
        Row("X1", 4, 96, 80, 30),  // 110: in no band, still counted
        Row("A2", 5, 95, 70, 24),  // 94: A
        Row("B1", 6, 94, 85, 0),   // 85: B
        Row("late", 6, 93, 99, 0), // after the counted top
    };
    TextExportOptions options = SongBySong();
    options.Grouping = 1;
    EXPECT_EQ(
        Block(rows, 6, options),
        (ExportDocument{Sj("ランク SS"), "S1(100%)EXT\r\n", Sj("ランク A"), "A1(98%)ADV\r\nA2(95%)ADV\r\n",
                        Sj("ランク B"), "B1(94%)EXT\r\n", Sj("ランク C 以下"), "C1(97%)BAS\r\n"}));
}

TEST(TextExportBlock, OtherSongsJoinTheirBandsWithoutASeparator) {
    const std::vector<ExportRow> rows = {Row("A", 6, 99, 100, 0), Row("B", 2, 99, 100, 0)};
    TextExportOptions options;
    options.Grouping = 1;
    options.OtherSongs = true;
    EXPECT_EQ(Block(rows, 1, options), (ExportDocument{Sj("ランク SS"), Sj("A(99%)EXT、B(99%)ADV、")}));
}

} // namespace
