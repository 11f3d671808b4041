#pragma once

#include "platform/SjisString.h"

#include <cstdint>

// What the total display shows besides its number, decided without widgets.

struct BandColor {
    int Red;
    int Green;
    int Blue;
    bool operator==(const BandColor&) const = default;
};

// Font colour of the total by its Tag (the total x 100). Each band includes its
// lower bound: 19999 is white, 20000 the next band.
BandColor TotalBandColor(int32_t tag);

// Hint of pnlSkill: "予想スキルポイント：" followed by the total's text.
SjisString TotalHint(const SjisString& totalText);
