#include "export/HtmlExport.h"

#include "data/Edition.h"
#include "data/NumberText.h"
#include "platform/Cp932.h"

#include <array>
#include <string>

namespace {

SjisString Cell(const SjisString& content) {
    return "<td>" + content + "</td>";
}

SjisString Decimal(int32_t value) {
    return std::to_string(value);
}

void AppendHeaderRow(ExportDocument& document, const HtmlExportOptions& options) {
    static const SjisString kName = Utf8ToSjis("<td>曲名</td>");
    static const SjisString kLevel = Utf8ToSjis("<td>レベル</td>");
    static const SjisString kGrade = Utf8ToSjis("<td>評価</td>");
    static const SjisString kCombo = Utf8ToSjis("<td>コンボ</td>");
    static const SjisString kResult = Utf8ToSjis("<td>リザルト</td>");
    static const SjisString kRate = Utf8ToSjis("<td>達成率</td>");
    static const SjisString kSkill = Utf8ToSjis("<td>スキルポイント</td>");
    static const SjisString kComment = Utf8ToSjis("<td>コメント</td>");
    document.push_back("<tr>");
    document.push_back("<td>No</td>");
    document.push_back(kName);
    if (options.LevelLabel || options.LevelNumber) document.push_back(kLevel);
    if (options.Grade) document.push_back(kGrade);
    if (options.Combo) document.push_back(kCombo);
    if (options.Result) document.push_back(kResult);
    if (options.Rate) document.push_back(kRate);
    if (options.SkillPoints) document.push_back(kSkill);
    document.push_back(kComment);
    document.push_back("</tr>");
}

// With no item chosen the cell stays in place, empty, so the columns keep lined up.
SjisString RateCell(int32_t rate, const HtmlExportOptions& options) {
    static const SjisString kUnplayed = Utf8ToSjis("未プレイ");
    if (rate == 100) {
        if (options.Rate100 == 0) return Cell("100");
        if (options.Rate100 == 1) return Cell("MAX");
        return Cell("");
    }
    if (rate == 0) {
        if (options.Rate0 == 0) return Cell("0");
        if (options.Rate0 == 1) return Cell(kUnplayed);
        return Cell("");
    }
    return Cell(Decimal(rate));
}

void AppendRow(ExportDocument& document, const ExportRow& row, int number, const HtmlExportOptions& options) {
    document.push_back("<tr>");
    document.push_back(Cell(Decimal(number)));
    // Song names are written as they are, markup included.
    document.push_back(Cell(ExportSongName(row, options.NameChoice)));
    if (options.LevelLabel || options.LevelNumber) {
        SjisString level;
        if (options.LevelLabel) level += HtmlLevelLabel(row.BestCode, options.LabelSet);
        if (options.LevelNumber) {
            // Appended piece by piece: g++ 12 at -O3 mistakes "(" + text for
            // an overlapping copy (-Wrestrict).
            level += '(';
            level += Decimal(row.Level);
            level += ')';
        }
        document.push_back(Cell(level));
    }
    if (options.Grade) document.push_back(Cell(HtmlGrade(PlayRankValue(row))));
    if (options.Combo) document.push_back(Cell(Decimal(row.ComboPct)));
    if (options.Result)
        document.push_back(Cell(Decimal(row.PerfectPct) + "/" + Decimal(row.GreatPct) + "/" +
                                Decimal(row.GoodPct) + "/" + Decimal(row.PoorPct) + "/" +
                                Decimal(row.MissPct)));
    if (options.Rate) document.push_back(RateCell(row.Rate, options));
    if (options.SkillPoints) document.push_back(Cell(HundredthsText(row.SkillPoint)));
    document.push_back(options.Comment ? "<td>" + HtmlEscapeComment(row.Comment) + " </td>" : "<td> </td>");
    document.push_back("</tr>");
}

} // namespace

SjisString HtmlLevelLabel(int32_t bestCode, int labelSet) {
    static const LevelLabels kLetters = {
        "---",      "BAS",      "ADV",      "EXT",      "BAS",      "ADV",      "EXT",
        "BAS/BASS", "ADV/BASS", "EXT/BASS", "BAS/OPEN", "ADV/OPEN", "EXT/OPEN",
    };
    return ExportLevelLabel(bestCode, labelSet, kLetters);
}

SjisString HtmlGrade(int32_t playRankValue) {
    static const std::array<const char*, 6> kGrades = {"", "SS", "S", "A", "B", "C"};
    return kGrades[PlayRankBand(playRankValue)];
}

SjisString HtmlEscapeComment(const SjisString& comment) {
    // Byte-wise is safe: '<' (0x3C) and '>' (0x3E) are never the trail byte
    // of a double-byte character (trail bytes start at 0x40).
    SjisString escaped;
    for (char c : comment) {
        if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    return escaped;
}

void BuildHtmlTable(ExportDocument& document, const std::vector<ExportRow>& rows, int32_t counted,
                    const HtmlExportOptions& options) {
    static const SjisString kCountedSongs = Utf8ToSjis("対象曲");
    static const SjisString kOtherSongs = Utf8ToSjis("非対象曲");
    document.push_back("<hr>");
    document.push_back(kCountedSongs);
    document.push_back("<table>");
    AppendHeaderRow(document, options);
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        const ExportRow& row = rows[i - 1];
        AppendRow(document, row, static_cast<int>(i), options);
        if (static_cast<int64_t>(i) == counted) {
            document.push_back("</table>");
            document.push_back("<hr>");
            document.push_back(kOtherSongs);
            document.push_back("<table>");
            if (!options.OtherSongs) break;
            AppendHeaderRow(document, options);
        }
        if (row.Rate <= 0) break; // a rate below 1 % ends the category
    }
    document.push_back("</table>");
    document.push_back("<hr>");
}

ExportDocument BuildHtmlDocument(int32_t total, const HtmlExportOptions& options, const LocalTime& now) {
    static const SjisString kSkillTable = Utf8ToSjis(" スキル表");
    static const SjisString kTotal = Utf8ToSjis("予想スキルポイント：");
    const SjisString& game = CurrentEdition().GameName;

    ExportDocument document;
    document.push_back("<html><head>");
    document.push_back("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift-jis\">");
    document.push_back("<meta name=\"GENERATOR\" content=\"Dallune HTML Exporter 1.0\">");
    document.push_back("<title>" + game + kSkillTable + "</title></head>");
    document.push_back("<body bgcolor=\"#FFFFFF\">");
    document.push_back(game + kSkillTable + " " + FormatTime(now, "yyyy/m/d"));
    document.push_back("<hr>");
    document.push_back(kTotal + HundredthsText(total));
    document.push_back("<hr>");
    bool first = true;
    for (const ExportCategory& category : ExportCategories()) {
        if (!first) document.push_back("<hr>");
        first = false;
        document.push_back(ExportCategoryTitle(category.Category));
        BuildHtmlTable(document, GatherCategory(category.Category), category.Counted, options);
    }
    document.push_back("<p><font size=\"1\">Powered by Dallune</font></p>");
    document.push_back("<!-- Powered by Dallune HTML Exporter -->");
    document.push_back("</body></html>");
    return document;
}
