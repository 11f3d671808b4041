#pragma once

#include "platform/SjisString.h"

#include <cstdint>
#include <optional>

// What the batch update stores, decided without widgets.

// The rate (x 100) a rate cell asks for: its whole percent 1 to 100 times 100.
// A cell that is not all ASCII digits, or reads 0 or above 100, is passed over
// (nullopt). Digits beyond 32 bits raise "'%s' は整数ではありません".
std::optional<int32_t> BatchCellRate(const SjisString& text);

// Whether a cell's rate replaces the stored one; with the only-if-raised box
// ticked it must be greater.
bool BatchStoresRate(int32_t rate, int32_t storedRate, bool onlyIfRaised);

// The first loaded song (table order) of exactly that name, or -1.
int32_t FirstSongNamed(const SjisString& name);
