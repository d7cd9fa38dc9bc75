// The 80-bit extended real, done in integer arithmetic so that every build,
// whatever its compiler or processor, gives the same bits as the x87 with
// its control word at 0x133F (64-bit precision, round to nearest even, all
// exceptions masked).
//
// Layout as in the x87 register: a 64-bit significand whose integer bit
// (bit 63) is stored, and a 16-bit word with the sign in bit 15 and the
// exponent, biased by 16383, in bits 0..14.
//   exp 0:           zero (sig 0) or subnormal, value sig * 2^(1 - 16383 - 63)
//   exp 1..0x7FFE:   normal, integer bit set, value sig * 2^(exp - 16383 - 63)
//   exp 0x7FFF:      infinity (sig 0x8000000000000000) or NaN
// The operations here only ever make canonical values; fed a non-canonical
// one (integer bit clear with a nonzero exponent) they answer like the x87:
// an invalid operation.
#pragma once

#include <stdint.h>

struct ExtendedReal {
    uint64_t sig;
    uint16_t signExp;
};

constexpr int32_t EXTENDED_EXP_BIAS = 16383;
constexpr uint16_t EXTENDED_EXP_MAX = 0x7FFF;  // infinity and NaN
constexpr uint64_t EXTENDED_INTEGER_BIT = 0x8000000000000000u;

constexpr ExtendedReal PackExtended(bool sign, uint16_t exp, uint64_t sig)
{
    return ExtendedReal{sig, static_cast<uint16_t>((sign ? 0x8000u : 0u) | exp)};
}
constexpr bool ExtendedSign(ExtendedReal x) { return (x.signExp & 0x8000u) != 0; }
constexpr uint16_t ExtendedExp(ExtendedReal x) { return static_cast<uint16_t>(x.signExp & 0x7FFFu); }

constexpr ExtendedReal EXTENDED_ZERO = PackExtended(false, 0, 0);
constexpr ExtendedReal EXTENDED_ONE = PackExtended(false, EXTENDED_EXP_BIAS, EXTENDED_INTEGER_BIT);
constexpr ExtendedReal EXTENDED_INFINITY = PackExtended(false, EXTENDED_EXP_MAX, EXTENDED_INTEGER_BIT);
// The x87's "real indefinite", the answer to an invalid operation.
constexpr ExtendedReal EXTENDED_DEFAULT_NAN = PackExtended(true, EXTENDED_EXP_MAX, 0xC000000000000000u);

constexpr bool ExtendedIsNaN(ExtendedReal x)
{
    return ExtendedExp(x) == EXTENDED_EXP_MAX && (x.sig & ~EXTENDED_INTEGER_BIT) != 0;
}
constexpr bool ExtendedIsInfinity(ExtendedReal x)
{
    return ExtendedExp(x) == EXTENDED_EXP_MAX && x.sig == EXTENDED_INTEGER_BIT;
}
constexpr bool ExtendedIsZero(ExtendedReal x) { return ExtendedExp(x) == 0 && x.sig == 0; }

constexpr ExtendedReal ExtendedNegate(ExtendedReal x)
{
    return ExtendedReal{x.sig, static_cast<uint16_t>(x.signExp ^ 0x8000u)};
}

// Exact: every 64-bit integer fits the significand.
ExtendedReal ExtendedFromUint64(uint64_t value);
ExtendedReal ExtendedFromInt64(int64_t value);

// a * b and a / b, each rounded once to nearest even. Overflow gives
// infinity, underflow a correctly rounded subnormal or zero, x / 0 for a
// nonzero x infinity; 0 * inf, 0 / 0 and inf / inf give the default NaN.
ExtendedReal ExtendedMul(ExtendedReal a, ExtendedReal b);
ExtendedReal ExtendedDiv(ExtendedReal a, ExtendedReal b);

// Numeric equality: -0 equals +0, a NaN equals nothing. Whole numbers made
// by ExtendedFromUint64/Int64 compare as the integers do.
bool ExtendedEqual(ExtendedReal a, ExtendedReal b);

// x rounded to the nearest integer, a tie going to the even one, as sign and
// magnitude. `fits` is false when the magnitude reaches 2^64 or x is
// infinite or NaN; `magnitude` is then 0.
struct ExtendedInteger {
    uint64_t magnitude;
    bool negative;
    bool fits;
};
ExtendedInteger ExtendedRoundToInteger(ExtendedReal x);
