// TextToNumber: the decimal form and the '&' radix form, read in one pass
// from left to right without allocating and never past `length`.
#include "numtext.h"

namespace {

// Each form has a function of its own where the build aims at speed, so
// that a text saves only the registers that its form needs; where it aims
// at size, one function is shorter.
#if defined(__OPTIMIZE_SIZE__)
#define FORM_READER
#else
#define FORM_READER __attribute__((noinline))
#endif

// A decimal number keeps this many significant digits, which a 64-bit
// integer holds with room to spare; later ones still count towards the
// point's position.
constexpr int32_t KEPT_DIGITS = 18;
// Exponents keep four digits: far more than the extended range needs
// (10^-4951 to 10^4932), and with the point's position they stay far
// inside 32 bits.
constexpr int32_t EXPONENT_LIMIT = 9999;
// One past the decimal exponent of the largest extended value (about
// 1.19 * 10^4932): 0.d1d2... * 10^4933 is at least 10^4932, and the same
// distance below 1 counts as nothing.
constexpr int32_t DECIMAL_RANGE_LIMIT = 4933;
// 2^127: what a decimal number beyond the extended range reads as.
constexpr ExtendedReal OVERFLOW_VALUE = PackExtended(false, EXTENDED_EXP_BIAS + 127, EXTENDED_INTEGER_BIT);

// Digit counts of a text of any length stop here. Far past the range limit
// plus the largest exponent, so a capped count gives the same result.
constexpr size_t COUNT_CAP = 0x3FFFFFFF;

int32_t Capped(size_t count) { return static_cast<int32_t>(count < COUNT_CAP ? count : COUNT_CAP); }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDecimalDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// 0..35 for '0'-'9' and the letters of either case; 36 for anything else.
uint32_t DigitValue(unsigned char c)
{
    const uint32_t decimal = c - static_cast<uint32_t>('0');
    const uint32_t letter = (c | 0x20u) - static_cast<uint32_t>('a');  // 'A'-'Z' and only they join 'a'-'z'
    const uint32_t value = letter < 26 ? letter + 10 : 36;
    return decimal <= 9 ? decimal : value;
}

const unsigned char* SkipZeros(const unsigned char* p, const unsigned char* end)
{
    while (p < end && *p == '0') ++p;
    return p;
}

// Reads the digits from `p` on and returns where they end. While `kept`
// holds fewer than KEPT_DIGITS digits they join it; the rest are only
// passed over.
const unsigned char* ReadDigits(const unsigned char* p, const unsigned char* end, uint64_t& kept, int32_t& keptCount)
{
    const size_t room = static_cast<size_t>(KEPT_DIGITS - keptCount);
    const unsigned char* const keepEnd = static_cast<size_t>(end - p) > room ? p + room : end;
    const unsigned char* const start = p;
    for (; p < keepEnd; ++p) {
        const uint32_t digit = *p - static_cast<uint32_t>('0');
        if (digit > 9) break;
        kept = kept * 10 + digit;
    }
    keptCount += static_cast<int32_t>(p - start);
    if (p == keepEnd) {
        while (p < end && IsDecimalDigit(*p)) ++p;
    }
    return p;
}

// kept * 10^integerExponent: the power as ScaleByPowerOfTen(1, |exponent|)
// gives it, used once. Up to 10^4096 that is what ScaleByPowerOfTen does
// with kept itself; beyond, it would take the 10^4096 step on kept first,
// a rounding in another order.
ExtendedReal ScaleKept(uint64_t kept, int32_t integerExponent)
{
    ExtendedReal value = ExtendedFromUint64(kept);
    const int32_t magnitude = integerExponent < 0 ? -integerExponent : integerExponent;
    if (magnitude > 4096) {
        const ExtendedReal power = ScaleByPowerOfTen(ExtendedFromUint64(1), magnitude);
        value = integerExponent > 0 ? ExtendedMul(value, power) : ExtendedDiv(value, power);
    } else if (magnitude != 0) {  // whole numbers, the most common, need no call
        value = ScaleByPowerOfTen(value, integerExponent);
    }
    return value;
}

FORM_READER ExtendedReal ReadDecimalForm(const unsigned char* text, size_t length)
{
    const unsigned char* p = text;
    const unsigned char* const end = text + length;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }

    // Mantissa: digits with at most one point. Significant digits run from
    // the first nonzero digit on; the first KEPT_DIGITS of them make `kept`.
    uint64_t kept = 0;
    int32_t keptCount = 0;
    const unsigned char* const mantissa = p;
    const unsigned char* const firstBeforePoint = SkipZeros(p, end);
    p = ReadDigits(firstBeforePoint, end, kept, keptCount);
    const size_t significantBeforePoint = static_cast<size_t>(p - firstBeforePoint);
    size_t zerosAfterPoint = 0;  // between the point and the first significant digit
    bool anyDigit = p != mantissa;
    if (p < end && *p == '.') {
        const unsigned char* const fraction = ++p;
        if (significantBeforePoint == 0) {
            p = SkipZeros(p, end);
            zerosAfterPoint = static_cast<size_t>(p - fraction);
        }
        p = ReadDigits(p, end, kept, keptCount);
        anyDigit = anyDigit || p != fraction;
    }

    // Exponent, only after a mantissa with a digit. It saturates, so any
    // number of digits is harmless.
    int32_t exponent = 0;
    if (anyDigit && p < end && (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd')) {
        ++p;
        bool exponentNegative = false;
        if (p < end && (*p == '+' || *p == '-')) {
            exponentNegative = *p == '-';
            ++p;
        }
        for (; p < end && IsDecimalDigit(*p); ++p) {
            exponent = exponent * 10 + (*p - '0');
            if (exponent > EXPONENT_LIMIT) exponent = EXPONENT_LIMIT;
        }
        if (exponentNegative) exponent = -exponent;
    }

    // The first significant digit is nonzero, so no digit kept means none
    // at all: the number is 0.
    ExtendedReal magnitude = EXTENDED_ZERO;
    if (keptCount > 0) {
        // The number is 0.d1d2d3... * 10^fractionExponent. With the first
        // significant digit before the point, the point stands after
        // significantBeforePoint digits (all of them without a point);
        // otherwise zerosAfterPoint zeros stand between them.
        const int32_t pointPosition =
            significantBeforePoint > 0 ? Capped(significantBeforePoint) : -Capped(zerosAfterPoint);
        const int32_t fractionExponent = pointPosition + exponent;  // |pointPosition| <= COUNT_CAP: no overflow
        if (fractionExponent >= DECIMAL_RANGE_LIMIT) {
            magnitude = OVERFLOW_VALUE;
        } else if (fractionExponent > -DECIMAL_RANGE_LIMIT) {
            // The same number as kept * 10^integerExponent.
            magnitude = ScaleKept(kept, fractionExponent - keptCount);
        }
    }
    // The sign applies to 0 and to the overflow value as well.
    return negative ? ExtendedNegate(magnitude) : magnitude;
}

// From just after the '&'.
FORM_READER ExtendedReal ReadRadixForm(const unsigned char* p, const unsigned char* end)
{
    // Octal also without a prefix letter, whose place the first candidate
    // digit then takes.
    uint32_t radix = 8, bitsPerDigit = 3;
    if (p < end) {
        const unsigned char folded = *p | 0x20u;  // joins the two cases of a letter, and nothing else
        if (folded == 'b') {
            radix = 2;
            bitsPerDigit = 1;
            ++p;
        } else if (folded == 'h') {
            radix = 16;
            bitsPerDigit = 4;
            ++p;
        } else if (folded == 'o' || folded == 'q') {
            ++p;
        }
    }

    if (p == end || DigitValue(*p) >= radix) return EXTENDED_ZERO;
    const bool leadingZero = *p == '0';
    const unsigned char* const firstSignificant = SkipZeros(p, end);  // zeros add no bits
    uint64_t value = DigitValue(*p);
    for (++p; p < end; ++p) {
        const uint32_t digit = DigitValue(*p);
        if (digit >= radix) break;
        value = (value << bitsPerDigit) | digit;
    }
    // More than 64 significant bits make the whole number 0: all the bits
    // of the digits after the first nonzero one, and that one's own.
    const size_t significantDigits = static_cast<size_t>(p - firstSignificant);
    if (significantDigits > 64) return EXTENDED_ZERO;
    if (significantDigits > 0) {
        const uint32_t firstBits = 32 - static_cast<uint32_t>(__builtin_clz(DigitValue(*firstSignificant)));
        if ((significantDigits - 1) * bitsPerDigit + firstBits > 64) return EXTENDED_ZERO;
    }

    // One suffix, the longest that matches: '%', '&', '&&', '?', '??', '???'.
    // Only its kind matters: '%' changes nothing, and any number of '?'
    // act alike.
    const bool question = p < end && *p == '?';
    const bool ampersand = p < end && *p == '&';
    const bool doubleAmpersand = ampersand && end - p > 1 && p[1] == '&';

    // Read as two's complement at 64 bits unless narrower: the value takes
    // the type that a BASIC literal would, the narrowest of 16, 32 and 64
    // bits that holds its digits, whose top bit is then the sign; '&' asks
    // for 32 bits at least, '&&' or a leading zero for 64, and '?' for no
    // sign at all. (value ^ top) - top copies bit `top` into those above.
    uint64_t result = value;
    if (question) {
        if ((value >> 63) != 0) return EXTENDED_ZERO;
    } else if (!leadingZero && !doubleAmpersand && (value >> 32) == 0) {
        if ((value >> 16) != 0) result = (value ^ 0x80000000u) - 0x80000000u;
        else if (!ampersand) result = (value ^ 0x8000u) - 0x8000u;
    }
    // ExtendedFromInt64 by hand, which keeps that function out of the
    // program: nothing else there calls it.
    const bool negative = (result >> 63) != 0;
    const ExtendedReal magnitude = ExtendedFromUint64(negative ? 0 - result : result);
    return negative ? ExtendedNegate(magnitude) : magnitude;
}

}  // namespace

ExtendedReal TextToNumber(const char* text, size_t length)
{
    // Every test on a character compares its byte value taken as unsigned.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length && IsBlank(bytes[i])) ++i;
    if (i == length) return EXTENDED_ZERO;
    if (bytes[i] == '&') return ReadRadixForm(bytes + i + 1, bytes + length);
    return ReadDecimalForm(bytes + i, length - i);
}
