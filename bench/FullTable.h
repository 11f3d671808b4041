#pragma once

#include "tests/TestSupport.h"

#include <cstdint>
#include <memory>

// Song code of entry i of a full 501-song table: 300 existing songs, 120 new
// ones, 40 long versions and 41 non-stop orders, so every category is ranked.
inline int32_t FullTableCode(int i) {
    return i < 300 ? i : i < 420 ? 1000 + i : i < 460 ? 2000 + i : 3000 + i;
}

// Writes the four files of a full guitar table into a fresh folder, which
// becomes AppDir: 501 songs with double-byte names, a result on every chart,
// a comment on every song and every third song a favourite.
std::unique_ptr<TempDir> WriteFullGuitarFiles();

// The one application object of the benchmarks with windows, on the
// offscreen platform.
void BenchApplication();
