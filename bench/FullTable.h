#pragma once

#include <cstdint>

// Song code of entry i of a full 501-song table: 300 existing songs, 120 new
// ones, 40 long versions and 41 non-stop orders, so every category is ranked.
inline int32_t FullTableCode(int i) {
    return i < 300 ? i : i < 420 ? 1000 + i : i < 460 ? 2000 + i : 3000 + i;
}
