#pragma once

#include "platform/SjisString.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Column sorting of the main window's lists. Purely textual: no column is
// parsed as a number, so numbers sort numerically only where the rows hold
// them right-aligned at a fixed width.

// Negative, zero or positive as a sorts before, with or after b: unsigned
// bytes with a-z folded to A-Z (trail bytes of double-byte characters
// included, nothing else folded), the first difference deciding, a proper prefix smaller.
int CompareListText(const SjisString& a, const SjisString& b);

// Whether a row whose sort-column text is a goes before one with b when the
// column sorts with sign (+1 ascending, -1 descending). A strict order: equal
// texts go before each other in neither direction.
bool SortsBefore(const SjisString& a, const SjisString& b, int32_t sign);

// The rows' new order: positions into keys, sorted stably by SortsBefore, so
// rows of equal text keep their order.
std::vector<std::size_t> SortedRowOrder(const std::vector<SjisString>& keys, int32_t sign);
