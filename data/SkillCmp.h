#pragma once

#include <cfloat>
#include <cstdint>

// The formulas keep the hundredths of a rate only because the products below
// are formed with a 64-bit mantissa; plain double stores the wrong hundredth
// for about half of all rates.
static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended type");

// 32-bit sums and products that wrap on overflow, computed unsigned so that
// wrapping is defined.
constexpr int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Truncation toward zero. A NaN or a value outside the 64-bit range raises the
// invalid-operation error; the 32-bit form keeps the low 32 bits of the 64-bit
// result, as an assignment to a 32-bit field does.
int64_t TruncToInt64(long double x);
int32_t TruncToInt32(long double x);

// A double rate as fixed point: value x factor (100 for a percentage, 10000
// for a fraction), the product formed in extended precision and truncated
// without rounding to double first. So a 90.6 % whose double lies just below
// 90.6 stores 9059.
int32_t TruncScaled(double value, int32_t factor);

// The formula object: seven judgement weights and the four formulas. A new
// instance has every weight 0; start-up fills them from the settings file.
// P, G, D, O, M, C below are PERFECT, GREAT, GOOD, POOR, MISS and MAX COMBO.
class TSkillComputer {
  public:
    int32_t Perfect = 0;
    int32_t Combo = 0;
    int32_t Good = 0;
    int32_t Great = 0;
    int32_t Waru = 0; // divisor of the rate formulas
    int32_t Miss = 0;
    int32_t Poor = 0;

    // Skill points of a chart: Trunc(level x 33 x rate / 100). With the rate
    // x 100 the result is the points x 10000.
    double SkillFromRate(int32_t level, double rate) const;
    // Skill points x 100 from counts, through the weighted mean cut to a whole
    // number; does not use Waru. 0 when no note was judged.
    double SkillFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c,
                           int32_t level) const;
    // Rate in percent from judgement percentages; at or above 100 it becomes
    // 100 for a full PERFECT with a full combo and 99 otherwise.
    double RateFromPercents(double p, double g, double d, double o, double m, double c) const;
    // Rate as a fraction of 1 from counts; 0 when no note was judged; no cap.
    double RateFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c) const;
};

// The formulas on the one instance SkillComputer (DataUnit.h).
double CalcRateFromPercents(double p, double g, double d, double o, double m, double c);
// totalNotes is accepted for the callers' convenience and not used.
double CalcRateFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c,
                          int32_t totalNotes);
double CalcSkillFromRate(int32_t level, double rate);
// a / b, or 0 when b is 0.
double SafeRatio(int32_t a, int32_t b);
