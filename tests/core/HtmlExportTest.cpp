#include "export/HtmlExport.h"
#include "export/ExportDocument.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

ExportRow Row(const char* name, int32_t rate) {
    ExportRow row;
    row.Name = name;
    row.ShortName = std::string("s") + name;
    row.BestCode = 6;
    row.Level = 55;
    row.PerfectPct = 80;
    row.GreatPct = 12;
    row.GoodPct = 3;
    row.PoorPct = 2;
    row.MissPct = 1;
    row.ComboPct = 77;
    row.Rate = rate;
    row.SkillPoint = 4321;
    row.Comment = "c";
    return row;
}

HtmlExportOptions Bare() {
    HtmlExportOptions options;
    options.LevelLabel = options.LevelNumber = options.Grade = options.Combo = options.Rate = false;
    return options;
}

ExportDocument Document(const std::vector<ExportRow>& rows, int32_t counted,
                        const HtmlExportOptions& options) {
    ExportDocument document;
    BuildHtmlTable(document, rows, counted, options);
    return document;
}

// The table's entries joined with "|", to compare with a whole expected table.
std::string Table(const std::vector<ExportRow>& rows, int32_t counted, const HtmlExportOptions& options) {
    std::string joined;
    for (const SjisString& entry : Document(rows, counted, options))
        joined += entry + "|";
    return joined;
}

// Header row and one comment-only row of a bare table, in UTF-8.
const std::string kBareHeader = "<tr>|<td>No</td>|<td>曲名</td>|<td>コメント</td>|</tr>|";
std::string BareRow(int no, const char* name) {
    return "<tr>|<td>" + std::to_string(no) + "</td>|<td>" + name + "</td>|<td> </td>|</tr>|";
}

// The one extra cell of a single row in a bare table with one more column:
// 3 lines before the header, 6 header lines, then "<tr>", No and the name.
SjisString OneCell(const ExportRow& row, const HtmlExportOptions& options) {
    return Document({row}, 13, options).at(12);
}

TEST(HtmlExport, AllColumnsInOrder) {
    HtmlExportOptions options;
    options.Result = options.SkillPoints = options.Comment = true;
    EXPECT_EQ(
        Table({Row("A", 95)}, 13, options),
        Sj("<hr>|対象曲|<table>|<tr>|<td>No</td>|<td>曲名</td>|<td>レベル</td>|<td>評価</td>|"
           "<td>コンボ</td>|<td>リザルト</td>|<td>達成率</td>|<td>スキルポイント</td>|<td>コメント</td>|"
           "</tr>|<tr>|<td>1</td>|<td>A</td>|<td>EXT(55)</td>|<td>A</td>|<td>77</td>|"
           "<td>80/12/3/2/1</td>|<td>95</td>|<td>43.21</td>|<td>c </td>|</tr>|</table>|<hr>|"));
}

TEST(HtmlExport, BareTableHasNumberNameAndAnEmptyCommentCell) {
    HtmlExportOptions options = Bare();
    options.NameChoice = 1;
    EXPECT_EQ(Table({Row("A", 95)}, 13, options),
              Sj(("<hr>|対象曲|<table>|" + kBareHeader + BareRow(1, "sA") + "</table>|<hr>|").c_str()));
    // An empty category has the header row only.
    EXPECT_EQ(Table({}, 2, Bare()), Sj(("<hr>|対象曲|<table>|" + kBareHeader + "</table>|<hr>|").c_str()));
}

TEST(HtmlExport, LevelCell) {
    struct Case {
        bool label;
        bool number;
        int labelSet;
        int32_t code;
        const char* cell;
    } cases[] = {
        {true, true, 0, 6, "<td>EXT(55)</td>"}, {true, false, 0, 6, "<td>EXT</td>"},
        {false, true, 0, 6, "<td>(55)</td>"},   {true, true, 1, 12, "<td>赤O(55)</td>"},
        {true, true, -1, 6, "<td>(55)</td>"},   {true, false, 0, 0, "<td>---</td>"},
    };
    for (const Case& c : cases) {
        HtmlExportOptions options = Bare();
        options.LevelLabel = c.label;
        options.LevelNumber = c.number;
        options.LabelSet = c.labelSet;
        ExportRow row = Row("A", 95);
        row.BestCode = c.code;
        EXPECT_EQ(OneCell(row, options), Sj(c.cell));
    }
}

TEST(HtmlExport, LevelLabelsDifferFromTheTextExport) {
    struct Case {
        int32_t code;
        const char* letters;
        const char* colours;
    } cases[] = {
        {0, "---", "---"},       {1, "BAS", "緑"},       {2, "ADV", "黄"},        {3, "EXT", "赤"},
        {4, "BAS", "緑"},        {5, "ADV", "黄"},       {6, "EXT", "赤"},        {7, "BAS/BASS", "緑B"},
        {8, "ADV/BASS", "黄B"},  {9, "EXT/BASS", "赤B"}, {10, "BAS/OPEN", "緑O"}, {11, "ADV/OPEN", "黄O"},
        {12, "EXT/OPEN", "赤O"}, {13, "---", "---"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HtmlLevelLabel(c.code, 0), Sj(c.letters)) << c.code;
        EXPECT_EQ(HtmlLevelLabel(c.code, 1), Sj(c.colours)) << c.code;
    }
}

TEST(HtmlExport, GradeCell) {
    struct Case {
        int32_t perfect, great, rate;
        const char* cell;
    } cases[] = {
        {0, 0, 100, "<td>SS</td>"}, {90, 10, 50, "<td>SS</td>"}, {90, 9, 99, "<td>S</td>"},
        {80, 15, 99, "<td>S</td>"}, {60, 30, 99, "<td>A</td>"},  {60, 34, 99, "<td>A</td>"},
        {85, 0, 99, "<td>B</td>"},  {84, 0, 99, "<td>C</td>"},   {0, 0, 0, "<td>C</td>"},
        {90, 11, 99, "<td></td>"},
    };
    for (const Case& c : cases) {
        HtmlExportOptions options = Bare();
        options.Grade = true;
        ExportRow row = Row("A", c.rate);
        row.PerfectPct = c.perfect;
        row.GreatPct = c.great;
        EXPECT_EQ(OneCell(row, options), c.cell) << c.perfect << "+" << c.great;
    }
}

TEST(HtmlExport, RateCell) {
    struct Case {
        int32_t rate;
        int rate100, rate0;
        const char* cell;
    } cases[] = {
        {100, 0, 0, "<td>100</td>"}, {100, 1, 0, "<td>MAX</td>"}, {100, -1, 0, "<td></td>"},
        {99, 1, 1, "<td>99</td>"},   {0, 0, 0, "<td>0</td>"},     {0, 1, 1, "<td>未プレイ</td>"},
        {0, 0, -1, "<td></td>"},     {1, 1, 1, "<td>1</td>"},
    };
    for (const Case& c : cases) {
        HtmlExportOptions options = Bare();
        options.Rate = true;
        options.Rate100 = c.rate100;
        options.Rate0 = c.rate0;
        EXPECT_EQ(OneCell(Row("A", c.rate), options), Sj(c.cell)) << c.rate;
    }
}

TEST(HtmlExport, CommentEscapesOnlyAngleBrackets) {
    HtmlExportOptions options = Bare();
    options.Comment = true;
    ExportRow row = Row("<b>&\"", 95);
    row.Comment = Sj("a<b>&\"c ソ表<>");
    ExportDocument table = Document({row}, 13, options);
    EXPECT_EQ(table[10], "<td><b>&\"</td>"); // names are written as they are
    EXPECT_EQ(table[11], Sj("<td>a&lt;b&gt;&\"c ソ表&lt;&gt; </td>"));
}

TEST(HtmlExport, OtherSongsAfterTheCountedTop) {
    const std::string counted = "<hr>|対象曲|<table>|" + kBareHeader + BareRow(1, "A");
    // Without other songs: an empty "非対象曲" table after the counted top.
    EXPECT_EQ(Table({Row("A", 99), Row("B", 98)}, 1, Bare()),
              Sj((counted + "</table>|<hr>|非対象曲|<table>|</table>|<hr>|").c_str()));

    // With them: the header again, numbering going on.
    HtmlExportOptions options = Bare();
    options.OtherSongs = true;
    EXPECT_EQ(
        Table({Row("A", 99), Row("B", 98)}, 1, options),
        Sj((counted + "</table>|<hr>|非対象曲|<table>|" + kBareHeader + BareRow(2, "B") + "</table>|<hr>|")
               .c_str()));
    // Exactly the counted top still splits.
    const std::string emptyOthers = "<hr>|非対象曲|<table>|" + kBareHeader + "</table>|<hr>|";
    EXPECT_TRUE(Table({Row("A", 99), Row("B", 98)}, 2, options).ends_with(Sj(emptyOthers.c_str())));

    // A rate of 0 ends the table, after its split.
    std::string table = Table({Row("A", 99), Row("B", 0), Row("C", 97)}, 2, options);
    EXPECT_EQ(table.find("<td>C</td>"), std::string::npos);
    EXPECT_TRUE(table.ends_with(Sj(emptyOthers.c_str())));
    EXPECT_EQ(Table({Row("A", 0), Row("B", 97)}, 35, Bare()).find("<td>B</td>"), std::string::npos);
}

} // namespace
