#pragma once

#include "platform/SjisString.h"

#include <cstdint>
#include <vector>

// The clipboard lists of selected advice-list songs, decided without widgets.

// Level label of a best-chart code: "BSC", "ADV<B>", "EXT<O>", ...; "---" for
// 0 (no points) and for any code that names no chart.
SjisString BestCodeLabel(int32_t bestCode);

// Which of the three copy items was chosen: mnCopy1, mnCopy2, mnCopy3.
enum class AdviceCopyKind { Names, LevelsAndNames, PointsLevelsAndNames };

struct AdviceCopyRow {
    SjisString Points; // the row's "ポイント" cell as shown
    int32_t BestCode;  // the song's best-chart code at the time of the copy
    SjisString Name;   // the row's name cell
};

// Header line, 24 hyphens, then one line per row in the given order; every
// line ends with CR LF, the last one too.
SjisString AdviceCopyText(AdviceCopyKind kind, const std::vector<AdviceCopyRow>& rows);
