#include "export/ExportDocument.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "export/ExportOptions.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "tests/TestSupport.h"
#include "ui/ProgramFiles.h"

#include <gtest/gtest.h>

namespace {

const LocalTime kDec8 = {2024, 12, 8, 15, 30, 45};

class ExportDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetData(GuitarEdition()); }

    DefaultFormulas formulas;

    // A song as a recalculation leaves it: best chart, its code, rank.
    TMusicList& Song(int32_t code, const char* name, int bestChart, int32_t bestCode, int32_t rank,
                     int32_t rate) {
        TMusicList& music = MusicTable[MusicCount];
        music.Index = MusicCount++;
        music.Code = code;
        music.Name = name;
        music.ShortName = std::string(name, 1);
        music.SkillList.BestChart = bestChart;
        music.SkillList.BestCode = bestCode;
        music.SkillList.Rank = rank;
        if (bestChart >= 0) {
            music.Level[bestChart] = 50;
            music.SkillList.Chart[bestChart].Rate = rate;
            music.SkillList.Chart[bestChart].SkillPoint = 1000;
            music.SkillList.BestSkill = 1000;
        }
        return music;
    }

    std::vector<std::string> Names(const std::vector<ExportRow>& rows) {
        std::vector<std::string> names;
        for (const ExportRow& row : rows)
            names.push_back(row.Name);
        return names;
    }
};

TEST(ExportOptions, CheckBoxValues) {
    EXPECT_EQ(BoolToFlagStr(true), "1");
    EXPECT_EQ(BoolToFlagStr(false), "0");
    EXPECT_TRUE(FlagStrToBool("1"));
    for (const char* text : {"0", "TRUE", "true", " 1", "1 ", "01", ""})
        EXPECT_FALSE(FlagStrToBool(text)) << text;
}

TEST(ExportOptions, IndexRules) {
    struct Case {
        int index, radio, dropDown;
    } cases[] = {{-7, -1, -1}, {-1, -1, -1}, {0, 0, 0}, {1, 1, 1}, {2, 1, -1}, {99, 1, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClampRadioIndex(c.index, 2), c.radio) << c.index;
        EXPECT_EQ(DropDownIndex(c.index, 2), c.dropDown) << c.index;
    }
}

TEST_F(ExportDocumentTest, FileNames) {
    EXPECT_EQ(ExportFileName(ExportKindText, false, kDec8), "GuitarFreaksV3_Export.txt");
    EXPECT_EQ(ExportFileName(ExportKindHtml, false, kDec8), "GuitarFreaksV3_Export.html");
    EXPECT_EQ(ExportFileName(ExportKindText, true, kDec8), "GuitarFreaksV3_12081530_Export.txt");
    EXPECT_EQ(ExportFileName(ExportKindHtml, true, {2025, 1, 2, 3, 4, 5}),
              "GuitarFreaksV3_01020304_Export.html");
    SetEdition(DrumEdition());
    EXPECT_EQ(ExportFileName(ExportKindText, false, kDec8), "DrumManiaV3_Export.txt");
    EXPECT_EQ(ExportFileName(ExportKindHtml, false, kDec8), "DrumManiaV3_Export.html");
    Edition blanks = GuitarEdition();
    blanks.GameName = "Guitar Freaks V3";
    SetEdition(blanks);
    EXPECT_EQ(ExportFileName(ExportKindText, false, kDec8), "Guitar_Freaks_V3_Export.txt");
}

// What the start-up sweep may clean up after: the program's own files always,
// the network log and the exports only where the program's folder is also
// the current directory (where those are written), never a look-alike.
TEST(ProgramFileNames, TheCurrentDirectoryAddsOnlyTheLogAndTheExports) {
    const Edition* guitar = &GuitarEdition();
    const Edition* drum = &DrumEdition();
    const struct Row {
        const char* name;
        bool always, inCurrentDirectory;
        const Edition* exportOf;
    } rows[] = {
        {"GuitarFreaksV3.txt", true, true, nullptr},
        {"DrumManiaV3.txt", true, true, nullptr},
        {"gfdmgd1.dat", true, true, nullptr},
        {"gfdmgd2.dat", true, true, nullptr},
        {"GuitarFreaksV3.skill", true, true, nullptr},
        {"GuitarFreaksV3.favorite", true, true, nullptr},
        {"GuitarFreaksV3.comment", true, true, nullptr},
        {"DrumManiaV3.skill", true, true, nullptr},
        {"DrumManiaV3.favorite", true, true, nullptr},
        {"DrumManiaV3.comment", true, true, nullptr},
        {"vostrane.ini", true, true, nullptr},
        {"network_log.txt", false, true, nullptr},
        {"GuitarFreaksV3_Export.txt", false, true, guitar},
        {"GuitarFreaksV3_Export.html", false, true, guitar},
        {"GuitarFreaksV3_12081530_Export.txt", false, true, guitar},
        {"DrumManiaV3_Export.txt", false, true, drum},
        {"DrumManiaV3_03050907_Export.html", false, true, drum},
        {"", false, false, nullptr},
        {"GuitarFreaksV3", false, false, nullptr},
        {".skill", false, false, nullptr},
        {"guitarfreaksv3.skill", false, false, nullptr},
        {"GuitarFreaksV3.ini", false, false, nullptr},
        {"DrumManiaV3.skill.bak", false, false, nullptr},
        {"vostrane.ini.tmp1-0", false, false, nullptr},
        {"gfdmgd3.dat", false, false, nullptr},
        {"network_log.txt~", false, false, nullptr},
        {"GuitarFreaksV3_Export.csv", false, false, nullptr},
        {"GuitarFreaksV3_1208153_Export.txt", false, false, nullptr},
        {"GuitarFreaksV3_1208153x_Export.txt", false, false, nullptr},
        {"GuitarFreaksV3_120815301_Export.txt", false, false, nullptr},
        {"Guitar_Freaks_V3_Export.txt", false, false, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsProgramFileName(row.name, false), row.always);
        EXPECT_EQ(IsProgramFileName(row.name, true), row.inCurrentDirectory);
        for (const Edition* edition : {guitar, drum})
            EXPECT_EQ(IsExportFileName(row.name, *edition), row.exportOf == edition) << edition->GameName;
    }
}

TEST(ExportConfirmation, ClipboardChoiceChangesOnlyTheTextMessage) {
    const SjisString toFile = Sj("データをエクスポートしました。\r\n\r\nX_Export.txt\r\n");
    EXPECT_EQ(ExportConfirmation(ExportKindText, 0, "X_Export.txt"), toFile);
    EXPECT_EQ(ExportConfirmation(ExportKindText, -1, "X_Export.txt"), toFile);
    EXPECT_EQ(ExportConfirmation(ExportKindText, 1, "X_Export.txt"),
              Sj("データをクリップボードにエクスポートしました。"));
    EXPECT_EQ(ExportConfirmation(ExportKindHtml, 1, "X_Export.html"),
              Sj("データをエクスポートしました。\r\n\r\nX_Export.html\r\n"));
}

TEST_F(ExportDocumentTest, GatherCopiesTheBestChartOfScoredSongsInRankOrder) {
    TMusicList& first = Song(1001, "second", 4, 8, 2, 9599);
    first.Comment = "note";
    first.Level[0] = 10; // not the best chart
    TChartResult& best = first.SkillList.Chart[4];
    best.PerfectPct = 70, best.GreatPct = 20, best.GoodPct = 5, best.PoorPct = 3, best.MissPct = 2;
    best.ComboPct = 66;
    Song(1002, "unscored", -1, 0, 3, 0);
    Song(1003, "first", 2, 6, 1, 99);
    Song(5, "existing", 0, 4, 1, 9000);
    Song(4000, "none", 0, 4, 1, 9000);
    Song(-5, "negative", 0, 4, 1, 9000);

    const std::vector<ExportRow> rows = GatherCategory(CategoryNew);
    ASSERT_EQ(Names(rows), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(rows[0].Rate, 0); // 0.99 % cuts to 0
    const ExportRow& row = rows[1];
    EXPECT_EQ(row.ShortName, "s");
    EXPECT_EQ(row.Comment, "note");
    EXPECT_EQ(std::vector<int32_t>({row.BestCode, row.Level, row.Rate, row.SkillPoint, row.PerfectPct,
                                    row.GreatPct, row.GoodPct, row.PoorPct, row.MissPct, row.ComboPct}),
              std::vector<int32_t>({8, 50, 95, 1000, 70, 20, 5, 3, 2, 66}));
    EXPECT_EQ(Names(GatherCategory(CategoryExisting)), std::vector<std::string>{"existing"});
}

TEST_F(ExportDocumentTest, TextDocument) {
    Song(1500, "New", 2, 6, 1, 9512);
    Song(5, "Old", 4, 8, 1, 10000);
    Song(4000, "Outside", 2, 6, 1, 9000);
    Song(2500, "Unplayed", -1, 0, 1, 0);
    Song(3100, "Zero", 7, 2, 1, 50);

    ExportOutput output = BuildExport(ExportKindText, 123456, ExportOptions{}, kDec8);
    EXPECT_EQ(output.FileName, "GuitarFreaksV3_Export.txt");
    EXPECT_TRUE(output.ToClipboard);
    EXPECT_EQ(output.Text, Sj("SP：1234.56\r\n"
                              "\r\n新曲\r\nNew(95%)EXT、\r\n"
                              "\r\nロング曲\r\n\r\n"
                              "\r\n既存曲\r\nOld(100%)ADV<B>、\r\n"
                              "\r\nノンストップオーダ\r\nZero(0%)ADV、\r\n"));
    EXPECT_EQ(output.Confirmation, Sj("データをエクスポートしました。\r\n\r\nGuitarFreaksV3_Export.txt\r\n"));

    ExportOptions options;
    options.Text.Grouping = 1;
    options.Text.Destination = 1;
    output = BuildExport(ExportKindText, 0, options, kDec8);
    EXPECT_EQ(output.Text, Sj("SP：0.00\r\n"
                              "\r\n新曲\r\nランク S\r\nNew(95%)EXT、\r\n"
                              "\r\nロング曲\r\n"
                              "\r\n既存曲\r\nランク SS\r\nOld(100%)ADV<B>、\r\n"
                              "\r\nノンストップオーダ\r\nランク C 以下\r\nZero(0%)ADV、\r\n"));
    EXPECT_EQ(output.Confirmation, Sj("データをクリップボードにエクスポートしました。"));
}

TEST_F(ExportDocumentTest, HtmlPageInTheDrumEdition) {
    SetEdition(DrumEdition());
    Song(1500, "New", 1, 5, 1, 9512);
    HtmlExportOptions html;
    html.LevelLabel = html.LevelNumber = html.Grade = html.Combo = html.Rate = false;
    ExportOptions options;
    options.Html = html;
    options.DatedFileName = true;
    options.Text.Destination = 1; // the HTML message names the file whatever this holds

    const ExportOutput output = BuildExport(ExportKindHtml, 5, options, {2024, 3, 5, 9, 7, 0});
    EXPECT_EQ(output.FileName, "DrumManiaV3_03050907_Export.html");
    EXPECT_FALSE(output.ToClipboard);
    EXPECT_EQ(output.Confirmation,
              Sj("データをエクスポートしました。\r\n\r\nDrumManiaV3_03050907_Export.html\r\n"));
    const std::string header = "<tr>\r\n<td>No</td>\r\n<td>曲名</td>\r\n<td>コメント</td>\r\n</tr>\r\n";
    const std::string empty = "<hr>\r\n対象曲\r\n<table>\r\n" + header + "</table>\r\n<hr>\r\n";
    EXPECT_EQ(
        output.Text,
        Sj(("<html><head>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift-jis\">\r\n"
            "<meta name=\"GENERATOR\" content=\"Dallune HTML Exporter 1.0\">\r\n"
            "<title>DrumManiaV3 スキル表</title></head>\r\n"
            "<body bgcolor=\"#FFFFFF\">\r\n"
            "DrumManiaV3 スキル表 2024/3/5\r\n"
            "<hr>\r\n予想スキルポイント：0.05\r\n<hr>\r\n"
            "新曲\r\n<hr>\r\n対象曲\r\n<table>\r\n" +
            header + "<tr>\r\n<td>1</td>\r\n<td>New</td>\r\n<td> </td>\r\n</tr>\r\n</table>\r\n<hr>\r\n" +
            "<hr>\r\nロング曲\r\n" + empty + "<hr>\r\n既存曲\r\n" + empty + "<hr>\r\nノンストップオーダ\r\n" +
            empty +
            "<p><font size=\"1\">Powered by Dallune</font></p>\r\n"
            "<!-- Powered by Dallune HTML Exporter -->\r\n"
            "</body></html>\r\n")
               .c_str()));
}

} // namespace
