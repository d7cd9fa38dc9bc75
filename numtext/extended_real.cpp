// Extended-real arithmetic in integers. Every operation that can be inexact
// ends in RoundPack, the one place that rounds.
#include "extended_real.h"

#include "significand_division.h"

namespace {

constexpr uint64_t HALF = 0x8000000000000000u;  // round bit of an `extra` word
constexpr uint64_t QUIET_BIT = 0x4000000000000000u;

// v != 0. GCC and Clang expand the builtin inline (BSR on 32-bit x86), so
// it needs no runtime helper; it is smaller and faster than a shift ladder.
int32_t CountLeadingZeros(uint64_t v) { return __builtin_clzll(v); }

// sig:extra shifted right by count >= 1; extra keeps its top bit as the
// round bit and any lost 1 bit in bit 0, so rounding still sees it.
void ShiftRightJam(uint64_t& sig, uint64_t& extra, uint32_t count)
{
    uint64_t sticky = extra != 0 ? 1 : 0;
    if (count < 64) {
        extra = (sig << (64 - count)) | sticky;
        sig >>= count;
    } else {
        extra = (count == 64 ? sig : (sig != 0 ? 1 : 0)) | sticky;
        sig = 0;
    }
}

// The value sig * 2^(exp - 16383 - 63) plus extra/2^64 of its last place,
// rounded to nearest even and packed. sig has its integer bit set; exp may
// lie anywhere. Below the normal range the exact value is first shifted to
// the subnormal scale and then rounded once, as the x87 does with underflow
// masked; beyond the top it becomes infinity.
ExtendedReal RoundPack(bool sign, int32_t exp, uint64_t sig, uint64_t extra)
{
    if (exp <= 0) {
        ShiftRightJam(sig, extra, static_cast<uint32_t>(1 - exp));
        exp = 0;
    }
    if (extra > HALF || (extra == HALF && (sig & 1) != 0)) {
        ++sig;
        if (sig == 0) {  // carried out of the top: 1.111...1 became 10.000...0
            sig = EXTENDED_INTEGER_BIT;
            ++exp;
        } else if (exp == 0 && (sig & EXTENDED_INTEGER_BIT) != 0) {
            exp = 1;  // a subnormal rounded up to the smallest normal
        }
    }
    if (exp >= EXTENDED_EXP_MAX) {
        return PackExtended(sign, EXTENDED_EXP_MAX, EXTENDED_INTEGER_BIT);
    }
    return PackExtended(sign, static_cast<uint16_t>(exp), sig);
}

// The 128-bit product of two 64-bit values from four 32x32-bit products,
// so no 128-bit type is needed (there is none on 32-bit targets).
struct Wide {
    uint64_t high;
    uint64_t low;
};
Wide MultiplyWide(uint64_t a, uint64_t b)
{
    const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    const uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
    const uint64_t lowLow = aLow * bLow;
    const uint64_t lowHigh = aLow * bHigh;
    const uint64_t highLow = aHigh * bLow;
    const uint64_t highHigh = aHigh * bHigh;
    // Three 32-bit terms: below 3 * 2^32, so no carry is lost.
    const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
    Wide product;
    product.low = (middle << 32) | (lowLow & 0xFFFFFFFFu);
    product.high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    return product;
}

enum class Kind { Zero, Finite, Infinity, NaN, Unsupported };

// A finite nonzero operand with its significand normalised: integer bit set
// and the exponent unbounded below (subnormals get exponents under 1).
struct Operand {
    Kind kind;
    bool sign;
    int32_t exp;
    uint64_t sig;
};

Operand Unpack(ExtendedReal x)
{
    Operand op{Kind::Finite, ExtendedSign(x), ExtendedExp(x), x.sig};
    const bool integerBit = (x.sig & EXTENDED_INTEGER_BIT) != 0;
    if (op.exp == EXTENDED_EXP_MAX) {
        // Pseudo-infinities and pseudo-NaNs (integer bit clear) are invalid on the x87.
        if (!integerBit) op.kind = Kind::Unsupported;
        else op.kind = x.sig == EXTENDED_INTEGER_BIT ? Kind::Infinity : Kind::NaN;
    } else if (op.exp == 0) {
        if (x.sig == 0) {
            op.kind = Kind::Zero;
        } else {
            // Subnormal (or pseudo-denormal): scaled as if its exponent were 1.
            const int32_t shift = CountLeadingZeros(x.sig);
            op.sig = x.sig << shift;
            op.exp = 1 - shift;
        }
    } else if (!integerBit) {
        op.kind = Kind::Unsupported;  // unnormal
    }
    return op;
}

// The x87's choice between NaN operands: a quiet one over a signalling
// one, else the larger significand; the result is always quiet. Out of
// line: inlined into ExtendedMul, its one caller, it makes the code larger.
__attribute__((noinline)) ExtendedReal PropagateNaN(ExtendedReal a, ExtendedReal b)
{
    const bool aNaN = ExtendedIsNaN(a), bNaN = ExtendedIsNaN(b);
    ExtendedReal chosen = a;
    if (aNaN && bNaN) {
        const bool aQuiet = (a.sig & QUIET_BIT) != 0, bQuiet = (b.sig & QUIET_BIT) != 0;
        if (aQuiet != bQuiet) chosen = aQuiet ? a : b;
        else chosen = (b.sig > a.sig) ? b : a;
    } else if (bNaN) {
        chosen = b;
    }
    chosen.sig |= QUIET_BIT;
    return chosen;
}

ExtendedReal SignedZero(bool sign) { return sign ? ExtendedNegate(EXTENDED_ZERO) : EXTENDED_ZERO; }
ExtendedReal SignedInfinity(bool sign) { return PackExtended(sign, EXTENDED_EXP_MAX, EXTENDED_INTEGER_BIT); }

}  // namespace

ExtendedReal ExtendedFromUint64(uint64_t value)
{
    if (value == 0) return EXTENDED_ZERO;
    const int32_t shift = CountLeadingZeros(value);
    return PackExtended(false, static_cast<uint16_t>(EXTENDED_EXP_BIAS + 63 - shift), value << shift);
}

ExtendedReal ExtendedFromInt64(int64_t value)
{
    // The magnitude in unsigned arithmetic, so that -2^63 needs no special case.
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const ExtendedReal x = ExtendedFromUint64(magnitude);
    return value < 0 ? ExtendedNegate(x) : x;
}

ExtendedReal ExtendedMul(ExtendedReal a, ExtendedReal b)
{
    const Operand x = Unpack(a), y = Unpack(b);
    const bool sign = x.sign != y.sign;
    if (x.kind == Kind::Unsupported || y.kind == Kind::Unsupported) return EXTENDED_DEFAULT_NAN;
    if (x.kind == Kind::NaN || y.kind == Kind::NaN) return PropagateNaN(a, b);
    if (x.kind == Kind::Infinity || y.kind == Kind::Infinity) {
        if (x.kind == Kind::Zero || y.kind == Kind::Zero) return EXTENDED_DEFAULT_NAN;
        return SignedInfinity(sign);
    }
    if (x.kind == Kind::Zero || y.kind == Kind::Zero) return SignedZero(sign);

    // Both significands lie in [2^63, 2^64), so the product lies in
    // [2^126, 2^128): at most one normalising shift.
    Wide product = MultiplyWide(x.sig, y.sig);
    int32_t exp = x.exp + y.exp - EXTENDED_EXP_BIAS + 1;
    if ((product.high & EXTENDED_INTEGER_BIT) == 0) {
        product.high = (product.high << 1) | (product.low >> 63);
        product.low <<= 1;
        --exp;
    }
    return RoundPack(sign, exp, product.high, product.low);
}

ExtendedReal ExtendedDiv(ExtendedReal a, ExtendedReal b)
{
    const Operand x = Unpack(a), y = Unpack(b);
    if (x.kind != Kind::Finite || y.kind != Kind::Finite) {
        // Every other case of a / b is that of a * (1 / b): b with its zero
        // and infinity swapped and its sign kept (a NaN or an invalid
        // encoding stays itself, so the product picks the same NaN).
        ExtendedReal reciprocal = b;
        if (y.kind == Kind::Zero) {
            reciprocal.sig = EXTENDED_INFINITY.sig;
            reciprocal.signExp |= EXTENDED_EXP_MAX;
        }
        if (y.kind == Kind::Infinity) {
            reciprocal.sig = 0;
            reciprocal.signExp &= 0x8000u;
        }
        return ExtendedMul(a, reciprocal);
    }
    const bool sign = x.sign != y.sign;

    // The quotient's 64 significant bits are floor(dividend / y.sig) for a
    // dividend of x.sig * 2^63 when x.sig >= y.sig (a quotient in [1, 2)),
    // else x.sig * 2^64 (in [1/2, 1)); either way they lie in [2^63, 2^64).
    // The remainder against half the divisor gives the round bit and
    // whether anything lies below it.
    int32_t exp = x.exp - y.exp + EXTENDED_EXP_BIAS;
    uint64_t high = x.sig, low = 0;
    if (x.sig >= y.sig) {
        low = high << 63;
        high >>= 1;
    } else {
        --exp;
    }
    uint64_t quotient;
    const uint64_t remainder = DivideSignificands(high, low, y.sig, quotient);
    const uint64_t rest = y.sig - remainder;  // no overflow, unlike 2 * remainder
    uint64_t extra = remainder == 0 ? 0 : 1;
    if (remainder >= rest) extra = remainder == rest ? HALF : HALF | 1;
    return RoundPack(sign, exp, quotient, extra);
}

bool ExtendedEqual(ExtendedReal a, ExtendedReal b)
{
    const Operand x = Unpack(a), y = Unpack(b);
    if (x.kind == Kind::NaN || y.kind == Kind::NaN) return false;
    if (x.kind == Kind::Unsupported || y.kind == Kind::Unsupported) return false;
    if (x.kind == Kind::Zero || y.kind == Kind::Zero) return x.kind == y.kind;
    return x.kind == y.kind && x.sign == y.sign && x.exp == y.exp && x.sig == y.sig;
}

ExtendedInteger ExtendedRoundToInteger(ExtendedReal x)
{
    ExtendedInteger result{0, ExtendedSign(x), true};
    const Operand op = Unpack(x);
    if (op.kind == Kind::Zero) return result;
    if (op.kind != Kind::Finite) {
        result.fits = false;
        return result;
    }
    // value = sig * 2^(exp - 16383 - 63): `shift` bits of sig lie below the point.
    const int32_t shift = EXTENDED_EXP_BIAS + 63 - op.exp;
    if (shift < 0) {
        result.fits = false;  // 2^64 or more
        return result;
    }
    if (shift == 0) {
        result.magnitude = op.sig;
        return result;
    }
    if (shift > 64) return result;  // below 1/2
    const uint64_t integer = shift == 64 ? 0 : op.sig >> shift;
    const uint64_t fraction = shift == 64 ? op.sig : op.sig << (64 - shift);
    result.magnitude = integer;
    if (fraction > HALF || (fraction == HALF && (integer & 1) != 0)) ++result.magnitude;
    return result;
}
