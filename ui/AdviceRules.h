#pragma once

#include "data/DataUnit.h"
#include "platform/SjisString.h"

#include <cstdint>
#include <vector>

// What the advice list lists and shows, decided without widgets.

// The conditions of cbWhere, in item order; any other item acts as AllSongs.
enum AdviceCondition : int {
    AdviceNearTop = 0,   // rate >= 90.00 %
    AdviceFullCombo = 1, // rate >= 80.00 % without a full combo
    AdviceSRank = 2,     // 75.00 % <= rate < 80.00 %
    AdvicePractice = 3,  // 50.00 % < rate < 75.00 %
    AdviceRemaining = 4, // every song whose level passes the threshold
    AdviceAllSongs = 5,
};

// A rate (x 100) as a whole percent, a half going to the even neighbour.
int64_t RoundedPercent(int32_t rate);

// Remaining points (x 100) of a best chart: the whole percents still missing
// times (level + 1) / 2, each rounded half to even. Narrowed to 32 bits as the
// song record holds it.
int32_t RemainingPoints(int32_t rate, int32_t level);

struct AdviceVerdict {
    bool Match = false;
    int32_t Remain = 0;
};

// Whether the song is listed under the condition, and the remaining points it shows.
AdviceVerdict JudgeAdvice(const TMusicList& song, int condition, int32_t threshold);

// The texts of one advice-list row in column order: ID, name, points, rank,
// then LV, RESULT, COMBO, rate and SP of each of the edition's charts.
std::vector<SjisString> AdviceRowTexts(const TMusicList& song, int chartCount);
