#include "export/ExportDocument.h"

#include "data/DataUnit.h"
#include "data/Recalc.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <utility>

std::string DocumentText(const ExportDocument& document) {
    std::size_t size = 0;
    for (const SjisString& entry : document)
        size += entry.size() + 2;
    std::string text;
    text.reserve(size);
    for (const SjisString& entry : document) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

SjisString ExportSongName(const ExportRow& row, int choice) {
    if (choice == 0) return row.Name;
    if (choice == 1) return row.ShortName;
    return SjisString();
}

SjisString ExportLevelLabel(int32_t bestCode, int labelSet, const LevelLabels& letters) {
    // Codes 1-3 mark songs below the counted top by difficulty alone.
    static const LevelLabels kColours = {
        "---",
        Utf8ToSjis("緑"),
        Utf8ToSjis("黄"),
        Utf8ToSjis("赤"),
        Utf8ToSjis("緑"),
        Utf8ToSjis("黄"),
        Utf8ToSjis("赤"),
        Utf8ToSjis("緑B"),
        Utf8ToSjis("黄B"),
        Utf8ToSjis("赤B"),
        Utf8ToSjis("緑O"),
        Utf8ToSjis("黄O"),
        Utf8ToSjis("赤O"),
    };
    if (labelSet != 0 && labelSet != 1) return SjisString();
    if (bestCode < 1 || bestCode > 12) return "---";
    return labelSet == 0 ? letters[bestCode] : kColours[bestCode];
}

namespace {

// The counted top of a category, as the ranking uses it.
int32_t CountedTop(int category) {
    for (const CategoryRange& range : kRankedCategories)
        if (SongCategory(range.Lo) == category) return range.Counted;
    return 0;
}

} // namespace

const std::vector<ExportCategory>& ExportCategories() {
    static const std::vector<ExportCategory> categories = {
        {CategoryNew, CountedTop(CategoryNew)},
        {CategoryLong, CountedTop(CategoryLong)},
        {CategoryExisting, CountedTop(CategoryExisting)},
        {CategoryNonStop, CountedTop(CategoryNonStop)},
    };
    return categories;
}

SjisString ExportCategoryTitle(int category) {
    static const SjisString kNew = Utf8ToSjis("新曲");
    static const SjisString kLong = Utf8ToSjis("ロング曲");
    static const SjisString kExisting = Utf8ToSjis("既存曲");
    static const SjisString kNonStop = Utf8ToSjis("ノンストップオーダ");
    switch (category) {
    case CategoryNew:
        return kNew;
    case CategoryLong:
        return kLong;
    case CategoryExisting:
        return kExisting;
    case CategoryNonStop:
        return kNonStop;
    default:
        return SjisString();
    }
}

std::vector<ExportRow> GatherCategory(int category) {
    // After a recalculation the taken songs hold the ranks 1..count; sorting
    // by Rank (rather than placing each at row Rank - 1) keeps the rows free
    // of gaps even if the ranks were ever stale.
    std::vector<std::pair<int32_t, int32_t>> taken; // (Rank, table index)
    for (int32_t i = 0; i < MusicCount; ++i) {
        const TMusicList& music = MusicTable[i];
        const TSkillList& skills = music.SkillList;
        if (SongCategory(music.Code) != category) continue;
        if (skills.BestChart < 0 || skills.BestChart >= ChartCount()) continue;
        taken.emplace_back(skills.Rank, i);
    }
    std::stable_sort(taken.begin(), taken.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<ExportRow> rows;
    rows.reserve(taken.size());
    for (const auto& [rank, index] : taken) {
        const TMusicList& music = MusicTable[index];
        const TChartResult& best = music.SkillList.Chart[music.SkillList.BestChart];
        ExportRow row;
        row.Name = music.Name;
        row.ShortName = music.ShortName;
        row.BestCode = music.SkillList.BestCode;
        row.Level = music.Level[music.SkillList.BestChart];
        row.PerfectPct = best.PerfectPct;
        row.GreatPct = best.GreatPct;
        row.GoodPct = best.GoodPct;
        row.PoorPct = best.PoorPct;
        row.MissPct = best.MissPct;
        row.ComboPct = best.ComboPct;
        row.Rate = best.Rate / 100;
        row.SkillPoint = best.SkillPoint;
        row.Comment = music.Comment;
        rows.push_back(std::move(row));
    }
    return rows;
}

int32_t PlayRankValue(const ExportRow& row) {
    int64_t sum = static_cast<int64_t>(row.PerfectPct) + row.GreatPct;
    if (sum == 0) return row.Rate;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

int PlayRankBand(int32_t value) {
    if (value > 100) return 0;
    if (value == 100) return 1;
    if (value >= 95) return 2;
    if (value >= 90) return 3;
    if (value >= 85) return 4;
    return 5;
}

namespace {

SjisString ExportBaseName(const Edition& edition) {
    SjisString base = edition.GameName;
    std::replace(base.begin(), base.end(), ' ', '_');
    return base;
}

} // namespace

SjisString ExportFileName(int kind, bool dated, const LocalTime& now) {
    SjisString base = ExportBaseName(CurrentEdition());
    if (dated) {
        base += '_';
        base += FormatTime(now, "mmddhhnn");
    }
    return base + (kind == ExportKindText ? "_Export.txt" : "_Export.html");
}

bool IsExportFileName(std::string_view name, const Edition& edition) {
    const SjisString base = ExportBaseName(edition);
    if (name.substr(0, base.size()) != base) return false;
    std::string_view rest = name.substr(base.size());
    // "_mmddhhnn" of a dated export.
    constexpr std::size_t kDateSize = 9;
    if (rest.size() > kDateSize && rest[0] == '_' &&
        std::all_of(rest.begin() + 1, rest.begin() + kDateSize, [](char c) { return c >= '0' && c <= '9'; }))
        rest.remove_prefix(kDateSize);
    return rest == "_Export.txt" || rest == "_Export.html";
}

SjisString ExportConfirmation(int kind, int destination, const SjisString& fileName) {
    static const SjisString kToClipboard = Utf8ToSjis("データをクリップボードにエクスポートしました。");
    static const SjisString kToFile = Utf8ToSjis("データをエクスポートしました。");
    if (kind == ExportKindText && destination == 1) return kToClipboard;
    return kToFile + "\r\n\r\n" + fileName + "\r\n";
}

ExportOutput BuildExport(int kind, int32_t total, const ExportOptions& options, const LocalTime& now) {
    ExportOutput output;
    output.FileName = ExportFileName(kind, options.DatedFileName, now);
    if (kind == ExportKindText) {
        output.Text = DocumentText(BuildTextDocument(total, options.Text));
        output.ToClipboard = true;
    } else {
        output.Text = DocumentText(BuildHtmlDocument(total, options.Html, now));
    }
    output.Confirmation = ExportConfirmation(kind, options.Text.Destination, output.FileName);
    return output;
}
