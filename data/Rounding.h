#pragma once

#include "data/FloatError.h"

#include <cmath>
#include <cstdint>

// Rounding to the nearest integer with a half going to the even neighbour
// (94.5 -> 94, 95.5 -> 96, 177.5 -> 178). Decided in integer code, so it never
// depends on the FPU's rounding mode; std::round would send halves away from 0.

// The exact quotient num / den, rounded; den must be above 0.
constexpr int64_t RoundHalfEven(int64_t num, int64_t den) {
    int64_t q = num / den;
    const int64_t r = num % den; // the sign of num; |r| < den, so -r cannot overflow
    const int64_t below = r < 0 ? -r : r;
    const int64_t above = den - below;
    if (below > above || (below == above && q % 2 != 0)) q += r < 0 ? -1 : 1;
    return q;
}

// A floating value, rounded. NaN, infinities and values outside the 64-bit
// range raise the invalid-operation error.
inline int64_t RoundHalfEven(long double x) {
    if (!(x >= -0x1p63L && x < 0x1p63L)) RaiseInvalidOp();
    const long double whole = std::trunc(x);
    const long double frac = std::fabs(x - whole); // exact
    int64_t q = static_cast<int64_t>(whole);
    // At 2^62 and above a long double holds no fraction, so q +/- 1 stays in range.
    if (frac > 0.5L || (frac == 0.5L && q % 2 != 0)) q += x < 0 ? -1 : 1;
    return q;
}
