#include "data/SkillCmp.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/FloatError.h"
#include "data/Rounding.h"
#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class SkillCmpTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetData(GuitarEdition()); }

    DefaultFormulas formulas;
    TSkillComputer& computer = formulas.Computer;
};

// The message of the AppError that fn raises, or "" when it returns.
template <typename Fn> SjisString ErrorOf(Fn fn) {
    try {
        fn();
    } catch (const AppError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST_F(SkillCmpTest, RateFromPercents) {
    struct Case {
        int32_t perfectWeight;
        double p, g, d, o, m, c;
        double rate;
    } cases[] = {
        {80, 100, 0, 0, 0, 0, 100, 100.0},
        {80, 100, 0, 0, 0, 0, 99, 99.8},
        {80, 95, 5, 0, 0, 0, 100, 97.0},
        {80, 0, 0, 0, 0, 0, 0, 0.0},
        // Weights summing above the divisor: capped at 100 only for a full PERFECT and full combo.
        {90, 100, 0, 0, 0, 0, 100, 100.0}, // 110
        {90, 99, 1, 0, 0, 0, 100, 99.0},   // 109.3
        {90, 100, 0, 0, 0, 0, 50, 99.0},   // exactly 100 without a full combo
    };
    for (const Case& t : cases) {
        computer.Perfect = t.perfectWeight;
        EXPECT_EQ(computer.RateFromPercents(t.p, t.g, t.d, t.o, t.m, t.c), t.rate)
            << t.perfectWeight << ": " << t.p << " " << t.g << " " << t.c;
        EXPECT_EQ(CalcRateFromPercents(t.p, t.g, t.d, t.o, t.m, t.c), t.rate);
    }
}

TEST_F(SkillCmpTest, RateFromCountsIsAnUncappedFraction) {
    EXPECT_EQ(computer.RateFromCounts(0, 0, 0, 0, 0, 500), 0.0); // no judged notes
    EXPECT_EQ(computer.RateFromCounts(900, 100, 0, 0, 0, 1000), 0.94);
    EXPECT_EQ(computer.RateFromCounts(100, 0, 0, 0, 0, 1000), 2.8); // (8000 + 20000) / 100 / 100
    // MAX COMBO weighs in but is not a judged note.
    EXPECT_EQ(computer.RateFromCounts(0, 0, 0, 0, 10, 10), 0.2);
    // The total notes argument is not used.
    const double expected = computer.RateFromCounts(500, 30, 3, 0, 2, 535);
    for (int32_t total : {0, 535, -7, std::numeric_limits<int32_t>::max()})
        EXPECT_EQ(CalcRateFromCounts(500, 30, 3, 0, 2, 535, total), expected) << total;
}

TEST_F(SkillCmpTest, SkillFormulas) {
    EXPECT_EQ(computer.SkillFromRate(45, 9512), 141253.0);
    EXPECT_EQ(CalcSkillFromRate(45, 9512), 141253.0);
    EXPECT_EQ(computer.SkillFromRate(45, 95.12), 1412.0);
    EXPECT_EQ(computer.SkillFromRate(0, 9512), 0.0);
    EXPECT_EQ(computer.SkillFromRate(45, -9512), -141253.0); // toward zero

    EXPECT_EQ(computer.SkillFromCounts(900, 100, 0, 0, 0, 1000, 45), 1395.0); // h = 94; 1395.9
    EXPECT_EQ(computer.SkillFromCounts(0, 0, 0, 0, 0, 1000, 45), 0.0);
    // 95.12 % by counts: the counts formula cuts h to 95, the rate path keeps the hundredths.
    EXPECT_EQ(computer.SkillFromCounts(2400, 100, 0, 0, 0, 2190, 45), 1410.0);
    EXPECT_EQ(computer.SkillFromRate(45, 100 * computer.RateFromCounts(2400, 100, 0, 0, 0, 2190)), 1412.0);
}

TEST_F(SkillCmpTest, SafeRatio) {
    EXPECT_EQ(SafeRatio(1, 3), static_cast<double>(1.0L / 3));
    EXPECT_NEAR(SafeRatio(1, 3), 0.3333, 1e-4);
    EXPECT_EQ(SafeRatio(5, 0), 0.0);
    EXPECT_EQ(SafeRatio(0, 0), 0.0);
    EXPECT_EQ(SafeRatio(-6, 4), -1.5);
}

// A double rate becomes fixed point through an extended product truncated
// without rounding to double: a double just below a hundredth stores one less.
TEST_F(SkillCmpTest, TruncScaledKeepsTheExtendedProduct) {
    struct Case {
        double value;
        int32_t factor;
        int32_t fixed;
    } cases[] = {
        {computer.RateFromPercents(90, 10, 0, 0, 0, 83), 100, 9059},     // weighted sum 9060
        {computer.RateFromCounts(900, 100, 0, 0, 0, 1000), 10000, 9399}, // exactly 94 %
        {95.2, 100, 9520},
        {SafeRatio(29, 100), 100, 28},
        {100.0, 100, 10000},
        {0.9999, 10000, 9999},
        {-90.6, 100, -9059} // toward zero
    };
    for (const Case& t : cases)
        EXPECT_EQ(TruncScaled(t.value, t.factor), t.fixed) << t.value;

    // The same product rounded to double first would give the hundredth above.
    EXPECT_EQ(static_cast<int32_t>(90.6 * 100.0), 9060);
}

TEST_F(SkillCmpTest, TruncToInt32WrapsAndRefusesWhatCannotBeTruncated) {
    EXPECT_EQ(TruncToInt32(-1.9L), -1);
    EXPECT_EQ(TruncToInt32(0x1p32L + 5.5L), 5);
    EXPECT_EQ(TruncToInt32(0x1p31L), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TruncToInt64(-0x1p63L), std::numeric_limits<int64_t>::min());
    for (long double bad : {std::numeric_limits<long double>::quiet_NaN(), 0x1p63L, -0x1p64L,
                            std::numeric_limits<long double>::infinity()})
        EXPECT_EQ(ErrorOf([&] { TruncToInt32(bad); }), InvalidOpText());
}

TEST_F(SkillCmpTest, WaruZeroRaisesThePlatformsFloatingPointErrors) {
    EXPECT_EQ(ZeroDivideText(), Utf8ToSjis("0 による浮動小数点数除算"));
    EXPECT_EQ(InvalidOpText(), Utf8ToSjis("不正な浮動小数点数演算命令"));
    computer.Waru = 0;

    EXPECT_EQ(ErrorOf([&] { computer.RateFromPercents(95, 5, 0, 0, 0, 100); }), ZeroDivideText());
    EXPECT_EQ(ErrorOf([&] { CalcRateFromPercents(0, 0, 0, 0, 0, 0); }), InvalidOpText());
    EXPECT_EQ(ErrorOf([&] { computer.RateFromCounts(900, 100, 0, 0, 0, 1000); }), ZeroDivideText());
    // Judged notes whose weights are all 0: 0 / 0.
    EXPECT_EQ(ErrorOf([&] { CalcRateFromCounts(0, 0, 7, 0, 0, 0, 7); }), InvalidOpText());
    // No judged notes is no error.
    EXPECT_EQ(computer.RateFromCounts(0, 0, 0, 0, 0, 100), 0.0);
}

TEST_F(SkillCmpTest, IntegerSumsAndProductsWrapAt32Bits) {
    // 30,000,000 x 80 wraps to 2,400,000,000 - 2^32.
    const int32_t wrapped = static_cast<int32_t>(2400000000LL - 4294967296LL);
    EXPECT_EQ(computer.RateFromCounts(30000000, 0, 0, 0, 0, 0),
              static_cast<double>(static_cast<long double>(wrapped) / 30000000 / 100));
    EXPECT_LT(computer.RateFromCounts(30000000, 0, 0, 0, 0, 0), 0.0);

    // level x 33 wraps: 70,000,000 x 33 = 2,310,000,000 - 2^32 = -1,984,967,296.
    EXPECT_EQ(computer.SkillFromRate(70000000, 100), -1984967296.0);

    // Judged notes wrapping to -1 with a weighted sum of INT32_MIN: h = 2^31, which a
    // 32-bit division could not hold.
    computer = TSkillComputer{};
    computer.Perfect = 1;
    const int32_t min = std::numeric_limits<int32_t>::min();
    const int32_t max = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(computer.SkillFromCounts(min, max, 0, 0, 0, 0, 1), 708669603.0); // 33 x 2^31 / 100

    EXPECT_EQ(WrapAdd(max, 1), min);
    EXPECT_EQ(WrapMul(min, -1), min);
}

TEST(RoundHalfEven, RationalQuotients) {
    struct Case {
        int64_t num, den, rounded;
    } cases[] = {
        {10050, 100, 100}, {10051, 100, 101},   {10150, 100, 102},   {10149, 100, 101},   {9450, 100, 94},
        {9550, 100, 96},   {-10050, 100, -100}, {-10150, 100, -102}, {-10051, 100, -101}, {1, 3, 0},
        {2, 3, 1},         {-2, 3, -1},         {0, 7, 0},           {5, 2, 2},           {7, 2, 4},
    };
    for (const Case& t : cases)
        EXPECT_EQ(RoundHalfEven(t.num, t.den), t.rounded) << t.num << "/" << t.den;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min(), kMax = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(RoundHalfEven(kMin, 2), kMin / 2);
    EXPECT_EQ(RoundHalfEven(kMax, kMax), 1);
    // Just below and just above a half of the largest denominator.
    EXPECT_EQ(RoundHalfEven(kMax / 2, kMax), 0);
    EXPECT_EQ(RoundHalfEven(kMax / 2 + 1, kMax), 1);
}

TEST(RoundHalfEven, FloatingValues) {
    struct Case {
        long double x;
        int64_t rounded;
    } cases[] = {
        {94.5L, 94}, {95.5L, 96},  {177.5L, 178}, {106.5L, 106},  {0.5L, 0}, {-0.5L, 0},
        {-1.5L, -2}, {2.4999L, 2}, {2.5001L, 3},  {-2.5001L, -3}, {0.0L, 0}, {1e18L, 1000000000000000000LL},
    };
    for (const Case& t : cases)
        EXPECT_EQ(RoundHalfEven(t.x), t.rounded) << static_cast<double>(t.x);

    EXPECT_THROW(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN()), AppError);
    EXPECT_THROW(RoundHalfEven(0x1p63L), AppError);
}
