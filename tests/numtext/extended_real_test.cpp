// The extended-real arithmetic: exact conversions, single rounding to
// nearest even, overflow, subnormals and the special operands. Expected
// values come from exact rational arithmetic done outside the library.
#include <gtest/gtest.h>

#include "extended_test_support.h"

using namespace numtext_test;

namespace {

constexpr ExtendedReal INF = Bits(false, 0x7FFF, 0x8000000000000000u);
constexpr ExtendedReal NEG_INF = Bits(true, 0x7FFF, 0x8000000000000000u);
constexpr ExtendedReal ZERO = Bits(false, 0, 0);
constexpr ExtendedReal NEG_ZERO = Bits(true, 0, 0);
constexpr ExtendedReal DEFAULT_NAN = Bits(true, 0x7FFF, 0xC000000000000000u);

TEST(ExtendedFromInteger, IsExact)
{
    struct Case {
        int64_t value;
        ExtendedReal expected;
    };
    const Case cases[] = {
        {0, ZERO},
        {1, Bits(false, 0x3FFF, 0x8000000000000000u)},
        {-1, Bits(true, 0x3FFF, 0x8000000000000000u)},
        {12345, Dyadic(12345)},
        {-2147483648LL, Bits(true, 0x401E, 0x8000000000000000u)},
        {4294967295LL, Bits(false, 0x401E, 0xFFFFFFFF00000000u)},
        {INT64_MAX, Bits(false, 0x403D, 0xFFFFFFFFFFFFFFFEu)},
        {INT64_MIN, Bits(true, 0x403E, 0x8000000000000000u)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_BITS(ExtendedFromInt64(c.value), c.expected);
        if (c.value >= 0) {
            EXPECT_BITS(ExtendedFromUint64(static_cast<uint64_t>(c.value)), c.expected);
        }
    }
    EXPECT_BITS(ExtendedFromUint64(UINT64_MAX), Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu));
    EXPECT_BITS(ExtendedFromUint64(0x8000000000000000u), Bits(false, 0x403E, 0x8000000000000000u));
}

struct ArithmeticCase {
    const char* name;
    ExtendedReal a, b, expected;
};

// Ties, carries, overflow and gradual underflow of a * b.
// One row a case, each on one line: the columns read as a table.
// clang-format off
const ArithmeticCase MULTIPLICATIONS[] = {
    {"3 x 7", Bits(false, 0x4000, 0xC000000000000000u), Bits(false, 0x4001, 0xE000000000000000u), Bits(false, 0x4003, 0xA800000000000000u)},
    {"largest squared overflows", Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x7FFF, 0x8000000000000000u)},
    {"largest x (1 + 2^-63) overflows after rounding", Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x3FFF, 0x8000000000000001u), Bits(false, 0x7FFF, 0x8000000000000000u)},
    {"largest x 1 stays", Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x3FFF, 0x8000000000000000u), Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu)},
    {"(2^64-1)^2, rounded down", Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x407E, 0xFFFFFFFFFFFFFFFEu)},
    {"tie, odd: up to even", Bits(false, 0x3FFF, 0x8000000000000001u), Bits(false, 0x4000, 0xC000000000000000u), Bits(false, 0x4000, 0xC000000000000002u)},
    {"tie, even: stays", Bits(false, 0x3FFF, 0x8000000000000003u), Bits(false, 0x4000, 0xC000000000000000u), Bits(false, 0x4000, 0xC000000000000004u)},
    {"smallest normal x 1/2: subnormal", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x3FFE, 0x8000000000000000u), Bits(false, 0x0000, 0x4000000000000000u)},
    {"subnormal tie, even: stays", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x3FFE, 0x8000000000000001u), Bits(false, 0x0000, 0x4000000000000000u)},
    {"subnormal tie, odd: up", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x3FFE, 0x8000000000000003u), Bits(false, 0x0000, 0x4000000000000002u)},
    {"rounds up to the smallest normal", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x3FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x0001, 0x8000000000000000u)},
    {"smallest subnormal x 1/2: tie to 0", Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x3FFE, 0x8000000000000000u), Bits(false, 0x0000, 0x0000000000000000u)},
    {"smallest subnormal x 3/4: up to it", Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x3FFE, 0xC000000000000000u), Bits(false, 0x0000, 0x0000000000000001u)},
    {"smallest subnormal x just over 1/2", Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x3FFE, 0x8000000000000001u), Bits(false, 0x0000, 0x0000000000000001u)},
    {"smallest subnormal squared: 0", Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x0000, 0x0000000000000000u)},
    {"subnormal operand, normal result", Bits(false, 0x0000, 0x0000000000000003u), Bits(false, 0x403F, 0x8000000000000000u), Bits(false, 0x0003, 0xC000000000000000u)},
    {"-1/2 x smallest subnormal: -0", Bits(true, 0x3FFE, 0x8000000000000000u), Bits(false, 0x0000, 0x0000000000000001u), Bits(true, 0x0000, 0x0000000000000000u)},
    {"-3 x 7", Bits(true, 0x4000, 0xC000000000000000u), Bits(false, 0x4001, 0xE000000000000000u), Bits(true, 0x4003, 0xA800000000000000u)},
    {"-2 x -smallest subnormal", Bits(true, 0x4000, 0x8000000000000000u), Bits(true, 0x0000, 0x0000000000000001u), Bits(false, 0x0000, 0x0000000000000002u)},
};
// clang-format on

// Inexact quotients, overflow and gradual underflow of a / b.
// clang-format off
const ArithmeticCase DIVISIONS[] = {
    {"21 / 7", Bits(false, 0x4003, 0xA800000000000000u), Bits(false, 0x4001, 0xE000000000000000u), Bits(false, 0x4000, 0xC000000000000000u)},
    {"1 / 3", Bits(false, 0x3FFF, 0x8000000000000000u), Bits(false, 0x4000, 0xC000000000000000u), Bits(false, 0x3FFD, 0xAAAAAAAAAAAAAAABu)},
    {"2 / 3", Bits(false, 0x4000, 0x8000000000000000u), Bits(false, 0x4000, 0xC000000000000000u), Bits(false, 0x3FFE, 0xAAAAAAAAAAAAAAABu)},
    {"1 / 10", Bits(false, 0x3FFF, 0x8000000000000000u), Bits(false, 0x4002, 0xA000000000000000u), Bits(false, 0x3FFB, 0xCCCCCCCCCCCCCCCDu)},
    {"5 / 100", Bits(false, 0x4001, 0xA000000000000000u), Bits(false, 0x4005, 0xC800000000000000u), Bits(false, 0x3FFA, 0xCCCCCCCCCCCCCCCDu)},
    {"(2^64-1) / (2^64-2)", Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFEu), Bits(false, 0x3FFF, 0x8000000000000001u)},
    {"largest / smallest normal overflows", Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x7FFF, 0x8000000000000000u)},
    {"largest / 1/2 overflows", Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x3FFE, 0x8000000000000000u), Bits(false, 0x7FFF, 0x8000000000000000u)},
    {"smallest normal / 2: subnormal", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x4000, 0x8000000000000000u), Bits(false, 0x0000, 0x4000000000000000u)},
    {"smallest subnormal / 2: tie to 0", Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x4000, 0x8000000000000000u), Bits(false, 0x0000, 0x0000000000000000u)},
    {"3 subnormal units / 2: tie up to 2", Bits(false, 0x0000, 0x0000000000000003u), Bits(false, 0x4000, 0x8000000000000000u), Bits(false, 0x0000, 0x0000000000000002u)},
    {"smallest normal / largest: 0", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), Bits(false, 0x0000, 0x0000000000000000u)},
    {"subnormal / subnormal", Bits(false, 0x0000, 0x0000000000000003u), Bits(false, 0x0000, 0x0000000000000001u), Bits(false, 0x4000, 0xC000000000000000u)},
    {"smallest normal / (1 + 2^-63): the largest subnormal", Bits(false, 0x0001, 0x8000000000000000u), Bits(false, 0x3FFF, 0x8000000000000001u), Bits(false, 0x0000, 0x7FFFFFFFFFFFFFFFu)},
    {"-1 / 3", Bits(true, 0x3FFF, 0x8000000000000000u), Bits(false, 0x4000, 0xC000000000000000u), Bits(true, 0x3FFD, 0xAAAAAAAAAAAAAAABu)},
    {"-1 / -3", Bits(true, 0x3FFF, 0x8000000000000000u), Bits(true, 0x4000, 0xC000000000000000u), Bits(false, 0x3FFD, 0xAAAAAAAAAAAAAAABu)},
};
// clang-format on

TEST(ExtendedMul, RoundsOnceToNearestEven)
{
    for (const ArithmeticCase& c : MULTIPLICATIONS) {
        SCOPED_TRACE(c.name);
        EXPECT_BITS(ExtendedMul(c.a, c.b), c.expected);
        EXPECT_BITS(ExtendedMul(c.b, c.a), c.expected);  // commutes, operand order plays no part
    }
}

TEST(ExtendedDiv, RoundsOnceToNearestEven)
{
    for (const ArithmeticCase& c : DIVISIONS) {
        SCOPED_TRACE(c.name);
        EXPECT_BITS(ExtendedDiv(c.a, c.b), c.expected);
    }
}

// What the x87 gives with every exception masked: nothing traps.
TEST(ExtendedArithmetic, SpecialOperands)
{
    const ExtendedReal two = Dyadic(2), minusTwo = Dyadic(-2);
    const ExtendedReal quietNaN = Bits(false, 0x7FFF, 0xC000000000001234u);
    const ExtendedReal signallingNaN = Bits(false, 0x7FFF, 0x8000000000005678u);
    const ExtendedReal unnormal = Bits(false, 0x3FFF, 0x4000000000000000u);
    const ArithmeticCase products[] = {
        {"inf x 2", INF, two, INF},
        {"inf x -2", INF, minusTwo, NEG_INF},
        {"-inf x -inf", NEG_INF, NEG_INF, INF},
        {"inf x 0", INF, ZERO, DEFAULT_NAN},
        {"-0 x 2", NEG_ZERO, two, NEG_ZERO},
        {"-0 x -2", NEG_ZERO, minusTwo, ZERO},
        {"quiet NaN x 2", quietNaN, two, quietNaN},
        {"signalling NaN x 2: quieted", signallingNaN, two, Bits(false, 0x7FFF, 0xC000000000005678u)},
        {"unnormal x 2: invalid", unnormal, two, DEFAULT_NAN},
    };
    for (const ArithmeticCase& c : products) {
        SCOPED_TRACE(c.name);
        EXPECT_BITS(ExtendedMul(c.a, c.b), c.expected);
    }
    const ArithmeticCase quotients[] = {
        {"2 / 0", two, ZERO, INF},
        {"2 / -0", two, NEG_ZERO, NEG_INF},
        {"-2 / 0", minusTwo, ZERO, NEG_INF},
        {"0 / 0", ZERO, ZERO, DEFAULT_NAN},
        {"inf / inf", INF, NEG_INF, DEFAULT_NAN},
        {"inf / -2", INF, minusTwo, NEG_INF},
        {"2 / inf", two, INF, ZERO},
        {"-2 / inf", minusTwo, INF, NEG_ZERO},
        {"0 / -2", ZERO, minusTwo, NEG_ZERO},
        {"2 / quiet NaN", two, quietNaN, quietNaN},
        {"2 / unnormal: invalid", two, unnormal, DEFAULT_NAN},
    };
    for (const ArithmeticCase& c : quotients) {
        SCOPED_TRACE(c.name);
        EXPECT_BITS(ExtendedDiv(c.a, c.b), c.expected);
    }
}

TEST(ExtendedEqual, ComparesNumbers)
{
    EXPECT_TRUE(ExtendedEqual(ExtendedFromUint64(4294967295u), Dyadic(4294967295LL)));
    EXPECT_TRUE(ExtendedEqual(ExtendedFromInt64(-1223334444), Dyadic(-1223334444)));
    EXPECT_FALSE(ExtendedEqual(Dyadic(1223334444), Dyadic(-1223334444)));
    EXPECT_FALSE(ExtendedEqual(Dyadic(65536), Dyadic(65537)));
    EXPECT_TRUE(ExtendedEqual(ZERO, NEG_ZERO));
    EXPECT_TRUE(ExtendedEqual(INF, INF));
    EXPECT_FALSE(ExtendedEqual(INF, NEG_INF));
    EXPECT_FALSE(ExtendedEqual(DEFAULT_NAN, DEFAULT_NAN));
    EXPECT_FALSE(ExtendedEqual(Bits(false, 0, 1), ZERO));
}

TEST(ExtendedRoundToInteger, TiesGoToEven)
{
    struct Case {
        const char* name;
        ExtendedReal x;
        uint64_t magnitude;
        bool negative;
        bool fits;
    };
    const Case cases[] = {
        {"0.5", Dyadic(1, -1), 0, false, true},
        {"1.5", Dyadic(3, -1), 2, false, true},
        {"2.5", Dyadic(5, -1), 2, false, true},
        {"-2.5", Dyadic(-5, -1), 2, true, true},
        {"0.5 + 2^-64", Bits(false, 0x3FFE, 0x8000000000000001u), 1, false, true},
        {"0.25", Dyadic(1, -2), 0, false, true},
        {"0.75", Dyadic(3, -2), 1, false, true},
        {"just below 1/2", Bits(false, 0x3FFD, 0xFFFFFFFFFFFFFFFFu), 0, false, true},
        {"smallest subnormal", Bits(false, 0, 1), 0, false, true},
        {"-0", NEG_ZERO, 0, true, true},
        {"2^63", Bits(false, 0x403E, 0x8000000000000000u), 0x8000000000000000u, false, true},
        {"2^62 + 0.5, even: stays", Bits(false, 0x403D, 0x8000000000000001u), 0x4000000000000000u, false, true},
        {"2^62 + 1.5, odd: up", Bits(false, 0x403D, 0x8000000000000003u), 0x4000000000000002u, false, true},
        {"2^64 - 1", Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu), 0xFFFFFFFFFFFFFFFFu, false, true},
        {"2^63 - 0.5, tie up to 2^63", Bits(false, 0x403D, 0xFFFFFFFFFFFFFFFFu), 0x8000000000000000u, false, true},
        {"2^64", Bits(false, 0x403F, 0x8000000000000000u), 0, false, false},
        {"-2^127", Bits(true, 0x407E, 0x8000000000000000u), 0, true, false},
        {"inf", INF, 0, false, false},
        {"NaN", DEFAULT_NAN, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExtendedInteger r = ExtendedRoundToInteger(c.x);
        EXPECT_EQ(r.fits, c.fits);
        EXPECT_EQ(r.negative, c.negative);
        EXPECT_EQ(r.magnitude, c.magnitude) << "0x" << Hex(r.magnitude, 16) << " vs 0x" << Hex(c.magnitude, 16);
    }
}

}  // namespace
