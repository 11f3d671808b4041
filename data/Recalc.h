#pragma once

#include "data/DataUnit.h"

#include <cstdint>

// A song category's code range and how many of its top songs count.
struct CategoryRange {
    int32_t Lo;
    int32_t Hi;
    int32_t Counted;
};

// In the order RecalcAllSkills ranks them; the counted tops add up to 53 songs.
inline constexpr CategoryRange kRankedCategories[4] = {
    {0, 999, 35},     // existing songs
    {1000, 1999, 13}, // new songs
    {2000, 2999, 2},  // long versions
    {3000, 3999, 3},  // non-stop orders
};

// Recomputes one chart's Rate and SkillPoint from its stored result by its
// InputMode: 0 (legacy) becomes 1 with the rate x 100; a typed rate above
// 100.50 % is reset to 0; an unknown mode leaves the chart untouched.
void RecalcChart(TChartResult& chart, int32_t level);

// Sets BestCode, BestSkill and BestChart from the charts' SkillPoint; on equal
// points the lower chart index wins.
void PickBestChart(TSkillList& skills);

// Recomputes every chart of songs 0..MusicCount-1, picks each song's best
// chart, ranks the four categories and stores the counted sum (points x 100)
// in TotalSkill, which it returns. A floating-point error (Waru 0) leaves
// with the songs before it already updated and TotalSkill unchanged.
int32_t RecalcAllSkills();

// One category's ranking step of RecalcAllSkills: sets Rank of its songs,
// turns BestCode of songs with points below the counted top into the
// difficulty + 1, and returns the sum of the counted songs' BestSkill.
// Expects each song's Index to be its table index, as a load leaves it.
int32_t RankCategory(int32_t lo, int32_t hi, int32_t counted);
