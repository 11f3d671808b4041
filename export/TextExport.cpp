#include "export/TextExport.h"

#include "data/NumberText.h"
#include "data/TextHelpers.h"
#include "platform/Cp932.h"

#include <array>
#include <string>

SjisString TextLevelLabel(int32_t bestCode, int labelSet) {
    static const LevelLabels kLetters = {
        "---",    "BAS",    "ADV",    "EXT",    "BAS",    "ADV",    "EXT",
        "BAS<B>", "ADV<B>", "EXT<B>", "BAS<O>", "ADV<O>", "EXT<O>",
    };
    return ExportLevelLabel(bestCode, labelSet, kLetters);
}

SjisString TextRatePiece(int32_t rate, const TextExportOptions& options) {
    static const SjisString kUnplayed = Utf8ToSjis("未プレイ");
    // ASCII digits and "%", not the full-width characters of the choices' captions.
    if (rate == 100) {
        if (options.Rate100 == 0) return "100%";
        if (options.Rate100 == 1) return "MAX";
        return SjisString();
    }
    if (rate == 0) {
        if (options.Rate0 == 0) return "0%";
        if (options.Rate0 == 1) return kUnplayed;
        return SjisString();
    }
    return std::to_string(rate) + "%";
}

SjisString TextEntry(const ExportRow& row, const TextExportOptions& options) {
    static const SjisString kComma = Utf8ToSjis("、");
    const SjisString name = ExportSongName(row, options.NameChoice);
    const SjisString label = TextLevelLabel(row.BestCode, options.LabelSet);
    const SjisString rate = TextRatePiece(row.Rate, options);

    SjisString entry;
    switch (options.Layout) {
    case 0:
        entry = name + "(" + rate + ")" + label;
        break;
    case 1:
        entry = name + " " + label + "(" + rate + ")";
        break;
    case 2:
        entry = label + " " + name + "(" + rate + ")";
        break;
    case 3:
        entry = rate + " " + name + " " + label;
        break;
    case 4:
        entry = label + "(" + rate + ")" + name;
        break;
    case 5:
        entry = rate + " " + label + " " + name;
        break;
    case 6:
        entry = name + "(" + rate + ")";
        break;
    default:
        break;
    }
    if (options.Separator == 0) entry += kComma;
    if (options.Separator == 1) entry += "\r\n";
    return entry;
}

void BuildTextBlock(ExportDocument& document, const std::vector<ExportRow>& rows, int32_t counted,
                    const TextExportOptions& options) {
    static const std::array<SjisString, 5> kHeadings = {
        Utf8ToSjis("ランク SS"), Utf8ToSjis("ランク S"),      Utf8ToSjis("ランク A"),
        Utf8ToSjis("ランク B"),  Utf8ToSjis("ランク C 以下"),
    };
    const bool grouped = options.Grouping == 1;
    std::array<SjisString, 5> bands; // SS, S, A, B, C and below

    for (std::size_t j = 1; j <= rows.size(); ++j) {
        const ExportRow& row = rows[j - 1];
        const SjisString entry = TextEntry(row, options);
        if (!grouped) {
            bands[0] += entry;
        } else if (int band = PlayRankBand(PlayRankValue(row)); band > 0) {
            bands[band - 1] += entry;
        }
        if (static_cast<int64_t>(j) == counted && !options.OtherSongs) break;
        if (row.Rate <= 0) break; // a rate below 1 % ends the category
    }

    if (!grouped) {
        document.push_back(bands[0]); // an empty block still leaves its empty line
        return;
    }
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (TrimText(bands[b]).empty()) continue;
        document.push_back(kHeadings[b]);
        document.push_back(bands[b]);
    }
}

ExportDocument BuildTextDocument(int32_t total, const TextExportOptions& options) {
    static const SjisString kTotal = Utf8ToSjis("SP：");
    ExportDocument document;
    document.push_back(kTotal + HundredthsText(total));
    for (const ExportCategory& category : ExportCategories()) {
        document.push_back(SjisString());
        document.push_back(ExportCategoryTitle(category.Category));
        BuildTextBlock(document, GatherCategory(category.Category), category.Counted, options);
    }
    return document;
}
