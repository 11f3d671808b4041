#include "data/SkillCmp.h"

#include "data/DataUnit.h"
#include "data/FloatError.h"

#include <cassert>

int64_t TruncToInt64(long double x) {
    if (!(x >= -0x1p63L && x < 0x1p63L)) RaiseInvalidOp();
    return static_cast<int64_t>(x);
}

int32_t TruncToInt32(long double x) {
    return static_cast<int32_t>(static_cast<uint32_t>(TruncToInt64(x)));
}

int32_t TruncScaled(double value, int32_t factor) {
    return TruncToInt32(static_cast<long double>(value) * factor);
}

namespace {

// Division by a zero Waru: the error the platform would raise for s / 0.
[[noreturn]] void RaiseWaruZero(bool sumIsZero) {
    if (sumIsZero) RaiseInvalidOp();
    RaiseZeroDivide();
}

} // namespace

double TSkillComputer::RateFromPercents(double p, double g, double d, double o, double m, double c) const {
    using L = long double;
    const L s = Perfect * L(p) + Great * L(g) + Good * L(d) + Poor * L(o) + Miss * L(m) + Combo * L(c);
    if (Waru == 0) RaiseWaruZero(s == 0);
    const double r = static_cast<double>(s / Waru);
    if (r < 100) return r;
    return p == 100 && c == 100 ? 100.0 : 99.0;
}

namespace {

int32_t JudgedNotes(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m) {
    return WrapAdd(WrapAdd(WrapAdd(WrapAdd(p, g), d), o), m);
}

int32_t WeightedSum(const TSkillComputer& w, int32_t p, int32_t g, int32_t d, int32_t o, int32_t m,
                    int32_t c) {
    int32_t s = WrapMul(w.Perfect, p);
    s = WrapAdd(s, WrapMul(w.Great, g));
    s = WrapAdd(s, WrapMul(w.Good, d));
    s = WrapAdd(s, WrapMul(w.Poor, o));
    s = WrapAdd(s, WrapMul(w.Miss, m));
    return WrapAdd(s, WrapMul(w.Combo, c));
}

} // namespace

double TSkillComputer::RateFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m,
                                      int32_t c) const {
    const int32_t n = JudgedNotes(p, g, d, o, m);
    if (n == 0) return 0.0;
    const int32_t s = WeightedSum(*this, p, g, d, o, m, c);
    if (Waru == 0) RaiseWaruZero(s == 0);
    return static_cast<double>(static_cast<long double>(s) / n / Waru);
}

double TSkillComputer::SkillFromRate(int32_t level, double rate) const {
    const int32_t a = WrapMul(level, 33);
    const double x = static_cast<double>(a * static_cast<long double>(rate) / 100);
    return static_cast<double>(TruncToInt64(static_cast<long double>(x)));
}

double TSkillComputer::SkillFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c,
                                       int32_t level) const {
    const int32_t n = JudgedNotes(p, g, d, o, m);
    if (n == 0) return 0.0;
    // Integer division equals the truncated extended quotient for 32-bit
    // operands; done in 64 bits so that INT32_MIN / -1 is defined.
    const int64_t h = int64_t{WeightedSum(*this, p, g, d, o, m, c)} / n;
    // |level x 33| and |h| are at most 2^31, so the product fits.
    const int64_t product = int64_t{WrapMul(level, 33)} * h;
    const double x = static_cast<double>(static_cast<long double>(product) / 100);
    return static_cast<double>(TruncToInt64(static_cast<long double>(x)));
}

double CalcRateFromPercents(double p, double g, double d, double o, double m, double c) {
    assert(SkillComputer != nullptr);
    return SkillComputer->RateFromPercents(p, g, d, o, m, c);
}

double CalcRateFromCounts(int32_t p, int32_t g, int32_t d, int32_t o, int32_t m, int32_t c,
                          int32_t /*totalNotes*/) {
    assert(SkillComputer != nullptr);
    return SkillComputer->RateFromCounts(p, g, d, o, m, c);
}

double CalcSkillFromRate(int32_t level, double rate) {
    assert(SkillComputer != nullptr);
    return SkillComputer->SkillFromRate(level, rate);
}

double SafeRatio(int32_t a, int32_t b) {
    if (b == 0) return 0.0;
    return static_cast<double>(static_cast<long double>(a) / b);
}
