#pragma once

#include "export/ExportDocument.h"
#include "export/ExportOptions.h"
#include "platform/SjisString.h"

#include <cstdint>
#include <vector>

// The text export: "SP：" and the total, then per category an empty entry,
// its title and its block of songs.

// Level label of the text export ("BAS<B>", "緑B", ...); "---" for a code
// without one; empty when no label set is chosen.
SjisString TextLevelLabel(int32_t bestCode, int labelSet);

// Rate piece for a rate in whole percent: "95%", "100%"/"MAX", "0%"/"未プレイ".
SjisString TextRatePiece(int32_t rate, const TextExportOptions& options);

// One song's entry: the layout applied to its name, label and rate, followed
// by the separator.
SjisString TextEntry(const ExportRow& row, const TextExportOptions& options);

// Appends one category's block. `counted` is the category's counted top: the
// block stops after it unless the other songs are wanted, and always after a
// song whose rate is 0 or below.
void BuildTextBlock(ExportDocument& document, const std::vector<ExportRow>& rows, int32_t counted,
                    const TextExportOptions& options);

// The whole text document from the recalculated table and its total (x 100).
ExportDocument BuildTextDocument(int32_t total, const TextExportOptions& options);
