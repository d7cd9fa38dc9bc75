// The power-of-ten table against exact big-integer powers, and the steps of
// ScaleByPowerOfTen.
#include <gtest/gtest.h>

#include "extended_test_support.h"
#include "power_of_ten.h"
#include "small_bignum.h"

using namespace numtext_test;

namespace {

// The extended value nearest to 10^exponent, from exact arithmetic.
ExtendedReal NearestPowerOfTen(int exponent)
{
    const SmallBignum::Rounded r = SmallBignum::PowerOfTen(exponent).RoundTo64Bits();
    return Bits(false, static_cast<uint16_t>(16383 + r.exponent), r.sig);
}

TEST(PowerOfTenTable, BinaryEntriesAreNearestToTheExactPowers)
{
    for (int j = 0; j < POWER_OF_TEN_BINARY_COUNT; ++j) {
        const int exponent = 8 << j;
        SCOPED_TRACE("10^" + std::to_string(exponent));
        EXPECT_BITS(POWER_OF_TEN_BINARY[j], NearestPowerOfTen(exponent));
    }
    EXPECT_BITS(POWER_OF_TEN_4096, NearestPowerOfTen(4096));
    // 10^8 and 10^16 need no rounding, 10^32 does.
    EXPECT_TRUE(SmallBignum::PowerOfTen(16).FitsIn64Bits());
    EXPECT_FALSE(SmallBignum::PowerOfTen(32).FitsIn64Bits());
}

#if defined(__i386__) || defined(__x86_64__)
// The compiler rounds decimal literals correctly, so where long double is
// the x87 format its literals are a second, independent reference.
TEST(PowerOfTenTable, MatchesTheCompilersLongDoubleLiterals)
{
    if (!HOST_HAS_X87_LONG_DOUBLE) GTEST_SKIP() << "long double is not the x87 80-bit format";
    const long double literals[] = {1e8L, 1e16L, 1e32L, 1e64L, 1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L};
    for (int j = 0; j < POWER_OF_TEN_BINARY_COUNT; ++j) {
        SCOPED_TRACE("10^" + std::to_string(8 << j));
        EXPECT_BITS(POWER_OF_TEN_BINARY[j], FromLongDouble(literals[j]));
    }
    EXPECT_BITS(POWER_OF_TEN_4096, FromLongDouble(1e4096L));
    const long double small[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e27L};
    for (uint32_t exponent = 0; exponent < 8; ++exponent) {
        EXPECT_BITS(ExactPowerOfTen(exponent), FromLongDouble(small[exponent]));
    }
    EXPECT_BITS(ExactPowerOfTen(27), FromLongDouble(small[8]));
}
#endif

// The exact powers, alone and as ScaleByPowerOfTen builds them from the
// table (each of its steps exact too).
TEST(ScaleByPowerOfTen, IsExactUpTo27)
{
    for (int exponent = 0; exponent <= 27; ++exponent) {
        SCOPED_TRACE("10^" + std::to_string(exponent));
        ASSERT_TRUE(SmallBignum::PowerOfTen(exponent).FitsIn64Bits());
        EXPECT_BITS(ExactPowerOfTen(static_cast<uint32_t>(exponent)), NearestPowerOfTen(exponent));
        EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, exponent), NearestPowerOfTen(exponent));
    }
    // 10^28 = 2^28 * 5^28 and 5^28 needs 66 bits: the first inexact power.
    EXPECT_FALSE(SmallBignum::PowerOfTen(28).FitsIn64Bits());
}

TEST(ScaleByPowerOfTen, ZeroLeavesTheValue)
{
    const ExtendedReal x = Dyadic(-12345, -7);
    EXPECT_BITS(ScaleByPowerOfTen(x, 0), x);
}

TEST(ScaleByPowerOfTen, NegativeExponentDivides)
{
    EXPECT_BITS(ScaleByPowerOfTen(Dyadic(12345), -3), ExtendedDiv(Dyadic(12345), Dyadic(1000)));
    EXPECT_BITS(ScaleByPowerOfTen(Dyadic(3), -40), ExtendedDiv(Dyadic(3), ScaleByPowerOfTen(EXTENDED_ONE, 40)));
}

// Bit 9 of |exponent| div 8, set for 4096..4103 only, stands for the 10^4096 entry.
TEST(ScaleByPowerOfTen, Bit9IsThe4096Entry)
{
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, 4096), POWER_OF_TEN_4096);
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, 4103), ExtendedMul(ExactPowerOfTen(7), POWER_OF_TEN_4096));
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, -4096), ExtendedDiv(EXTENDED_ONE, POWER_OF_TEN_4096));
}

// Above 4096 the 10^4096 step comes first, once, then the rest by the table.
TEST(ScaleByPowerOfTen, Above4096TakesThe4096StepFirst)
{
    const ExtendedReal x = Dyadic(7);
    const ExtendedReal first = ExtendedMul(x, POWER_OF_TEN_4096);
    // 4097 - 4096 = 1: p = 10.
    EXPECT_BITS(ScaleByPowerOfTen(x, 4097), ExtendedMul(first, ExactPowerOfTen(1)));
    // 4931 - 4096 = 835 = 3 + 8 * (8 + 32 + 64): p = 1000 * 10^64 * 10^256 * 10^512, in that order.
    ExtendedReal p = ExactPowerOfTen(3);
    p = ExtendedMul(p, POWER_OF_TEN_BINARY[3]);
    p = ExtendedMul(p, POWER_OF_TEN_BINARY[5]);
    p = ExtendedMul(p, POWER_OF_TEN_BINARY[6]);
    EXPECT_BITS(ScaleByPowerOfTen(x, 4931), ExtendedMul(first, p));
    EXPECT_BITS(ScaleByPowerOfTen(x, -4931), ExtendedDiv(ExtendedDiv(x, POWER_OF_TEN_4096), p));
}

// 10^4932 is below the largest extended value (about 1.19e4932), 10^4933 is not.
TEST(ScaleByPowerOfTen, EdgeOfTheRange)
{
    const ExtendedReal p4932 = ScaleByPowerOfTen(EXTENDED_ONE, 4932);
    EXPECT_LT(ExtendedExp(p4932), EXTENDED_EXP_MAX) << Describe(p4932);
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, 4933), EXTENDED_INFINITY);
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, 4950), EXTENDED_INFINITY);
    // Beyond the range the power is infinity and a quotient by it is 0.
    EXPECT_BITS(ExtendedDiv(Dyadic(999999999999999999), ScaleByPowerOfTen(EXTENDED_ONE, 4950)), EXTENDED_ZERO);
}

// Far beyond what the text can ask for: the power is out of range, and the
// result is what the arithmetic makes of an infinite factor.
TEST(ScaleByPowerOfTen, ExtremeExponentsGiveInfinityOrZero)
{
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, INT32_MAX), EXTENDED_INFINITY);
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, INT32_MIN), EXTENDED_ZERO);
    EXPECT_BITS(ScaleByPowerOfTen(EXTENDED_ONE, 20000), EXTENDED_INFINITY);
    EXPECT_BITS(ScaleByPowerOfTen(Dyadic(-3), -20000), ExtendedNegate(EXTENDED_ZERO));
    // The smallest subnormal times 10^9000 is about 3.6e4049: the 10^4096
    // step comes first, so it survives.
    const ExtendedReal tiny = Bits(false, 0, 1);
    const ExtendedReal scaled = ScaleByPowerOfTen(tiny, 9000);
    EXPECT_LT(ExtendedExp(scaled), EXTENDED_EXP_MAX) << Describe(scaled);
    EXPECT_GT(ExtendedExp(scaled), 16383 + 13000) << Describe(scaled);
}

}  // namespace
