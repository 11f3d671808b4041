#pragma once

#include "data/Edition.h"
#include "export/ExportOptions.h"
#include "platform/Clock.h"
#include "platform/SjisString.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The exported document: entries written one after another, each followed by
// CR LF. An entry may itself hold CR LF (the text export's song-by-song blocks).
using ExportDocument = std::vector<SjisString>;

// The document as the file and the clipboard receive it.
std::string DocumentText(const ExportDocument& document);

enum ExportKind { ExportKindText = 0, ExportKindHtml = 1 };

// One scored song of a category, as the block writers read it.
struct ExportRow {
    SjisString Name;
    SjisString ShortName;
    int32_t BestCode = 0;
    int32_t Level = 0; // level of the best chart
    // Percentages of the best chart.
    int32_t PerfectPct = 0;
    int32_t GreatPct = 0;
    int32_t GoodPct = 0;
    int32_t PoorPct = 0;
    int32_t MissPct = 0;
    int32_t ComboPct = 0;
    int32_t Rate = 0;       // best chart's rate in whole percent, cut toward zero
    int32_t SkillPoint = 0; // best chart's points x 100
    SjisString Comment;
};

// The song name by a name choice: 0 Name, 1 ShortName, any other empty.
SjisString ExportSongName(const ExportRow& row, int choice);

// Level label by BestCode 0..12: label set 0 takes the export's own letter
// labels, 1 the colour labels both exports share ("緑", "黄B", ...); "---" for
// a code without one; empty for any other set.
using LevelLabels = std::array<SjisString, 13>;
SjisString ExportLevelLabel(int32_t bestCode, int labelSet, const LevelLabels& letters);

// The categories in output order, each with its counted top.
struct ExportCategory {
    int Category; // SongCategoryId
    int32_t Counted;
};
const std::vector<ExportCategory>& ExportCategories();
SjisString ExportCategoryTitle(int category);

// The scored songs (BestChart 0 or more) of one category of MusicTable, in
// Rank order. Expects a recalculated table.
std::vector<ExportRow> GatherCategory(int category);

// Play-rank value: PerfectPct + GreatPct, or the rate when that sum is 0.
int32_t PlayRankValue(const ExportRow& row);
// Band of a play-rank value: 1 SS (100), 2 S (95-99), 3 A (90-94), 4 B
// (85-89), 5 C and below (84 and less); 0 for 101 and above.
int PlayRankBand(int32_t value);

// The game name with blanks as "_", "_mmddhhnn" when dated, then
// "_Export.txt" or "_Export.html". No folder: the file goes to the current one.
SjisString ExportFileName(int kind, bool dated, const LocalTime& now);
// True for every name ExportFileName gives in the edition.
bool IsExportFileName(std::string_view name, const Edition& edition);

// The message shown after a successful export.
SjisString ExportConfirmation(int kind, int destination, const SjisString& fileName);

// Everything one export run produces from the recalculated table.
struct ExportOutput {
    SjisString FileName;
    std::string Text;         // the file's bytes
    bool ToClipboard = false; // the text export also goes to the clipboard
    SjisString Confirmation;
};

// Builds the document of the kind (0 text, 1 HTML) for the total (x 100),
// the options and the one time of the run.
ExportOutput BuildExport(int kind, int32_t total, const ExportOptions& options, const LocalTime& now);
