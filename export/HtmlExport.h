#pragma once

#include "export/ExportDocument.h"
#include "export/ExportOptions.h"
#include "platform/Clock.h"
#include "platform/SjisString.h"

#include <cstdint>
#include <vector>

// The HTML export: a fixed head, the dated title line, the expected total,
// one table per category and a fixed footer, one line per entry.

// Level label of the HTML export ("BAS/BASS", "緑B", ...); "---" for a code
// without one; empty when no label set is chosen.
SjisString HtmlLevelLabel(int32_t bestCode, int labelSet);

// Grade of a play-rank value: "SS", "S", "A", "B", "C"; empty above 100.
SjisString HtmlGrade(int32_t playRankValue);

// A comment for its cell: "<" as "&lt;" and ">" as "&gt;"; nothing else changes.
SjisString HtmlEscapeComment(const SjisString& comment);

// Appends one category's table (with the "非対象曲" split after the counted top).
void BuildHtmlTable(ExportDocument& document, const std::vector<ExportRow>& rows, int32_t counted,
                    const HtmlExportOptions& options);

// The whole page from the recalculated table, its total (x 100) and the date of the run.
ExportDocument BuildHtmlDocument(int32_t total, const HtmlExportOptions& options, const LocalTime& now);
