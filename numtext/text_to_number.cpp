// TextToNumber: the decimal form and the '&' radix form, read in one pass
// from left to right without allocating and never past `length`.
#include "numtext.h"

namespace {

// A decimal number keeps this many significant digits; later ones still
// count towards the digit count and the point's position.
constexpr int32_t KEPT_DIGITS = 18;
constexpr int32_t EXPONENT_LIMIT = 9999;
constexpr int32_t DECIMAL_RANGE_LIMIT = 4933;
// 2^127: what a decimal number beyond the extended range reads as.
constexpr ExtendedReal OVERFLOW_VALUE = PackExtended(false, EXTENDED_EXP_BIAS + 127, EXTENDED_INTEGER_BIT);

// Digit counts of a text of any length stop here. Far past the range limit
// plus the largest exponent, so a capped count gives the same result.
constexpr int32_t COUNT_CAP = 0x3FFFFFFF;

int32_t CountUp(int32_t count) { return count < COUNT_CAP ? count + 1 : count; }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDecimalDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// 0..35 for '0'-'9' and the letters of either case; 36 for anything else.
uint32_t DigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10u;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10u;
    return 36;
}

ExtendedReal ReadDecimalForm(const unsigned char* text, size_t length)
{
    size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        ++i;
    }

    // Mantissa. Significant digits run from the first nonzero digit on.
    bool anyDigit = false, point = false;
    uint64_t kept = 0;               // the first KEPT_DIGITS significant digits
    int32_t keptCount = 0;
    int32_t significantCount = 0;    // n
    int32_t significantBeforePoint = 0;
    int32_t zerosAfterPoint = 0;     // between the point and the first significant digit
    for (; i < length; ++i) {
        const unsigned char c = text[i];
        if (IsDecimalDigit(c)) {
            anyDigit = true;
            if (significantCount == 0 && c == '0') {
                if (point) zerosAfterPoint = CountUp(zerosAfterPoint);
                continue;
            }
            significantCount = CountUp(significantCount);
            if (!point) significantBeforePoint = CountUp(significantBeforePoint);
            if (keptCount < KEPT_DIGITS) {
                kept = kept * 10 + (c - '0');
                ++keptCount;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }

    // Exponent, only after a mantissa with a digit. It saturates, so any
    // number of digits is harmless.
    int32_t exponent = 0;
    if (anyDigit && i < length && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        bool exponentNegative = false;
        if (i < length && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        for (; i < length && IsDecimalDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > EXPONENT_LIMIT) exponent = EXPONENT_LIMIT;
        }
        if (exponentNegative) exponent = -exponent;
    }

    ExtendedReal magnitude = EXTENDED_ZERO;
    if (significantCount > 0) {
        // The number is 0.d1d2d3... * 10^total. With the first significant
        // digit before the point, the point stands after
        // significantBeforePoint digits (all of them without a point);
        // otherwise zerosAfterPoint zeros stand between them.
        const int32_t position = significantBeforePoint > 0 ? significantBeforePoint : -zerosAfterPoint;
        const int32_t total = position + exponent;  // |position| <= COUNT_CAP: no overflow
        if (total >= DECIMAL_RANGE_LIMIT) {
            magnitude = OVERFLOW_VALUE;
        } else if (total > -DECIMAL_RANGE_LIMIT) {
            const int32_t k = total - keptCount;
            magnitude = ExtendedFromUint64(kept);
            if (k > 0) magnitude = ExtendedMul(magnitude, ScaleByPowerOfTen(EXTENDED_ONE, k));
            if (k < 0) magnitude = ExtendedDiv(magnitude, ScaleByPowerOfTen(EXTENDED_ONE, -k));
        }
    }
    // The sign applies to 0 and to the overflow value as well.
    return negative ? ExtendedNegate(magnitude) : magnitude;
}

// `text` starts after the '&'.
ExtendedReal ReadRadixForm(const unsigned char* text, size_t length)
{
    size_t i = 0;
    uint32_t radix = 8, bitsPerDigit = 3;  // also with no prefix letter
    if (i < length) {
        const unsigned char c = text[i];
        if (c == 'B' || c == 'b') {
            radix = 2;
            bitsPerDigit = 1;
            ++i;
        } else if (c == 'H' || c == 'h') {
            radix = 16;
            bitsPerDigit = 4;
            ++i;
        } else if (c == 'O' || c == 'o' || c == 'Q' || c == 'q') {
            ++i;
        }
    }

    if (i == length || DigitValue(text[i]) >= radix) return EXTENDED_ZERO;
    const bool leadingZero = text[i] == '0';
    uint64_t u = DigitValue(text[i]);
    for (++i; i < length; ++i) {
        const uint32_t digit = DigitValue(text[i]);
        if (digit >= radix) break;
        // A 1 bit shifted out of the top makes the whole number 0. Leading
        // zeros keep u at 0, so any number of them is fine.
        if ((u >> (64 - bitsPerDigit)) != 0) return EXTENDED_ZERO;
        u = (u << bitsPerDigit) | digit;
    }

    // One suffix, the longest that matches: '%', '&', '&&', '?', '??', '???'.
    // Only its kind matters: '%' changes nothing, and any number of '?'
    // act alike.
    bool question = false, doubleAmpersand = false, singleAmpersand = false;
    if (i < length) {
        if (text[i] == '?') {
            question = true;
        } else if (text[i] == '&') {
            if (i + 1 < length && text[i + 1] == '&') doubleAmpersand = true;
            else singleAmpersand = true;
        }
    }

    constexpr uint64_t SIGN_BIT_64 = 0x8000000000000000u;
    if (question) return (u & SIGN_BIT_64) != 0 ? EXTENDED_ZERO : ExtendedFromUint64(u);
    if (leadingZero || doubleAmpersand || (u >> 32) != 0) {
        return ExtendedFromInt64(static_cast<int64_t>(u));  // two's complement
    }
    if ((u >> 16) != 0) {
        return ExtendedFromInt64((u & 0x80000000u) != 0 ? static_cast<int64_t>(u) - 0x100000000 : static_cast<int64_t>(u));
    }
    if (singleAmpersand) return ExtendedFromUint64(u);
    return ExtendedFromInt64((u & 0x8000u) != 0 ? static_cast<int64_t>(u) - 0x10000 : static_cast<int64_t>(u));
}

}  // namespace

ExtendedReal TextToNumber(const char* text, size_t length)
{
    // Every test on a character compares its byte value taken as unsigned.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length && IsBlank(bytes[i])) ++i;
    if (i == length) return EXTENDED_ZERO;
    if (bytes[i] == '&') return ReadRadixForm(bytes + i + 1, length - i - 1);
    return ReadDecimalForm(bytes + i, length - i);
}
