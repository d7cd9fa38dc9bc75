// TextToNumber, bit for bit: the decimal form, the radix form, blanks, and
// texts that are long or not NUL-terminated. Inexact expected values are
// the nearest extended values, worked out with exact rationals.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "extended_test_support.h"

using namespace numtext_test;

namespace {

constexpr ExtendedReal ZERO = Bits(false, 0, 0);
constexpr ExtendedReal NEG_ZERO = Bits(true, 0, 0);
// 2^127, what a decimal number beyond the extended range reads as.
constexpr ExtendedReal OVERFLOW_VALUE = Bits(false, 16383 + 127, 0x8000000000000000u);

struct TextCase {
    std::string text;
    ExtendedReal expected;
};

// Long texts shown by their ends and length.
std::string Shown(const std::string& text)
{
    if (text.size() <= 80) return "'" + text + "'";
    return "'" + text.substr(0, 40) + "..." + text.substr(text.size() - 20) + "' (" + std::to_string(text.size()) +
           " bytes)";
}

void CheckTexts(const std::vector<TextCase>& cases)
{
    for (const TextCase& c : cases) {
        SCOPED_TRACE("text " + Shown(c.text));
        EXPECT_BITS(Text(c.text), c.expected);
    }
}

TEST(TextToNumberDecimal, WorkedExamples)
{
    CheckTexts({
        {"1234.5", Dyadic(2469, -1)},                            // 12345 / 10
        {"0.05", Bits(false, 0x3FFA, 0xCCCCCCCCCCCCCCCDu)},      // nearest to 0.05
        {"1234567890123456789.5", Dyadic(1234567890123456780)},  // 19th digit and fraction lost
        {"2.50000000000000000001", Dyadic(5, -1)},               // digits after the 18th dropped
    });
}

TEST(TextToNumberDecimal, WhereTheNumberEnds)
{
    CheckTexts({
        {"12abc", Dyadic(12)},
        {"5 7", Dyadic(5)},
        {"1,000", Dyadic(1)},
        {"1 000", Dyadic(1)},
        {"1.2.3", Bits(false, 0x3FFF, 0x999999999999999Au)},  // 1.2
        {"000123", Dyadic(123)},
        {"5.", Dyadic(5)},
        {".5", Dyadic(1, -1)},
        {"05.250", Dyadic(21, -2)},
        {"7-3", Dyadic(7)},
        {"7+3", Dyadic(7)},
        {"1e3x", Dyadic(1000)},
        {"1e3.5", Dyadic(1000)},
        {"1e3e4", Dyadic(1000)},
        {"5\xB2", Dyadic(5)},  // a byte above 127 ends the number like any other
    });
}

TEST(TextToNumberDecimal, BlanksAndSigns)
{
    CheckTexts({
        {"  -5", Dyadic(-5)},
        {"\t-5", Dyadic(-5)},
        {"\n-5", Dyadic(-5)},
        {" \t\n \t-5", Dyadic(-5)},
        {"\r7", ZERO},  // carriage return is not a blank
        {"\v7", ZERO},
        {"\xA0\x37", ZERO},  // nor is a no-break space (then '7')
        {"+5", Dyadic(5)},
        {"-0", NEG_ZERO},  // the sign applies to 0 as well
        {"-", NEG_ZERO},
        {"--5", NEG_ZERO},
        {"+-5", ZERO},
        {"- 5", NEG_ZERO},
        {"-&H1F", NEG_ZERO},  // the radix form only stands first
        {"+&H1F", ZERO},
    });
}

TEST(TextToNumberDecimal, NoNumberGivesZero)
{
    CheckTexts({
        {"", ZERO},
        {"   ", ZERO},
        {"abc", ZERO},
        {"x12", ZERO},
        {"\"12\"", ZERO},
        {".", ZERO},
        {"+.", ZERO},
        {"e5", ZERO},
        {".e5", ZERO},  // no digit, so no exponent either
        {"0", ZERO},
        {"0.000", ZERO},
        {"000e99999", ZERO},
    });
}

TEST(TextToNumberDecimal, Exponents)
{
    CheckTexts({
        {"1e3", Dyadic(1000)},
        {"1E3", Dyadic(1000)},
        {"1d3", Dyadic(1000)},
        {"1D3", Dyadic(1000)},
        {"1e", Dyadic(1)},
        {"1e+", Dyadic(1)},
        {"1e-", Dyadic(1)},
        {"1e-3", Bits(false, 0x3FF5, 0x83126E978D4FDF3Bu)},  // nearest to 0.001
        {"1e--3", Dyadic(1)},
        {"1e+3", Dyadic(1000)},
        {"1.5e1", Dyadic(15)},
        {".5e1", Dyadic(5)},
        {"-.5D+1", Dyadic(-5)},
        {"0.000125e6", Dyadic(125)},
        {"12500e-2", Dyadic(125)},
        {"1e0000000000000000000000000000003", Dyadic(1000)},
        // Trailing zeros are significant digits too: 10^17 * 10^6 = 5^23 * 2^23.
        {"100000000000000000000000", Dyadic(11920928955078125, 23)},
    });
}

TEST(TextToNumberDecimal, EdgeCasesOfTheRange)
{
    const ExtendedReal negativeOverflow = Bits(true, 16383 + 127, 0x8000000000000000u);
    CheckTexts({
        {"1e4932", OVERFLOW_VALUE},  // 0.1e4933: at the range limit, although 10^4932 itself would fit
        {"1e9999", OVERFLOW_VALUE},
        {"1e65540", OVERFLOW_VALUE},
        {"1e99999999999999999999", OVERFLOW_VALUE},  // the exponent saturates at 9999
        {"-1e5000", negativeOverflow},
        {"0.1e4933", OVERFLOW_VALUE},
        {"1e-9999", ZERO},
        {"-1e-9999", NEG_ZERO},
        {"1e-99999999999999999999", ZERO},
        {"1e-4933", ZERO},       // 0.1e-4932, inside, but 1 / 10^4933 and 10^4933 is infinite: the quotient 0
        {"0.1e-4932", ZERO},     // the same
        {"9e-4951", ZERO},       // 0.9e-4950
        {"0.0001e-4929", ZERO},  // 0.1e-4932: 1 / 10^4933 again
    });
    // Just inside: 0.1e4932 gives a finite number, 0.1e-4931 a subnormal.
    const ExtendedReal big = Text("1e4931");
    EXPECT_LT(ExtendedExp(big), 0x7FFF) << Describe(big);
    EXPECT_GT(ExtendedExp(big), 0x7FF0) << Describe(big);
    const ExtendedReal tiny = Text("1e-4932");
    EXPECT_EQ(ExtendedExp(tiny), 0) << Describe(tiny);
    EXPECT_NE(tiny.sig, 0u) << Describe(tiny);
}

TEST(TextToNumberDecimal, EighteenDigitsAreKept)
{
    CheckTexts({
        {"9223372036854775808", Dyadic(9223372036854775800)},
        {"9999999999999999999", Dyadic(4999999999999999995, 1)},  // 9999999999999999990
        {"12345678901234567.5", Dyadic(24691357802469135, -1)},   // exact: 18 digits
        {"123456789012345678", Dyadic(123456789012345678)},
        {"1234567890123456789", Dyadic(1234567890123456780)},
        {"1234567890123456789999e-4", Dyadic(123456789012345678)},
        // 123456789012345678 / 10^21, the dropped digits not rounding it up.
        {"0.000123456789012345678999", Bits(false, 0x3FF2, 0x81742DF0C05BA1FAu)},
    });
}

// The kept digits and the point's place, however the text spreads them:
// each text reads exactly as the plain integer of its first 18 significant
// digits with the exponent that puts them in place. (The same number with
// fewer digits kept can differ: it takes another power of ten.)
TEST(TextToNumberDecimal, KeptDigitsAcrossThePoint)
{
    const std::pair<const char*, const char*> sameNumbers[] = {
        {"12345678901234567.891", "123456789012345678e-1"},   // the 18th digit after the point
        {"123456789.123456789123", "123456789123456789e-9"},  // 9 and 9, then dropped ones
        {".123456789012345678", "123456789012345678e-18"},
        {"000.000123456789012345678999e3", "123456789012345678e-18"},
        {"1234567890123456789012.5e-4", "123456789012345678"},
        {"100000000000000000.0000001", "1e17"},
        {"0.0000000000000000000000000000001", "1e-31"},
        {"-0.0070", "-70e-4"},
        {"70000000000000000000000000000000000000000", "700000000000000000e23"},  // not 7e40: another power
    };
    for (const auto& same : sameNumbers) {
        SCOPED_TRACE(std::string("'") + same.first + "' and '" + same.second + "'");
        EXPECT_BITS(Text(same.first), Text(same.second));
    }
}

// Products that fall exactly half way between two extended values: kept * 5^8
// is odd with 65 bits, so the last bit is a tie.
TEST(TextToNumberDecimal, TiesGoToEven)
{
    CheckTexts({
        {"47223664828697e8", Bits(false, 0x4047, 0x800000000001A1FCu)},  // even: stays
        {"47223664828699e8", Bits(false, 0x4047, 0x80000000000797DEu)},  // odd: up
        {"4722366482869900000000", Bits(false, 0x4047, 0x80000000000797DEu)},
    });
}

TEST(TextToNumberDecimal, PointPositionAcrossLongRuns)
{
    const std::string zeros(5000, '0');
    CheckTexts({
        {"." + zeros + "1e5000", Bits(false, 0x3FFB, 0xCCCCCCCCCCCCCCCDu)},  // the point 5000 zeros before the 1: 0.1
        {"1" + zeros + "e-5000", Dyadic(1)},                                 // 5001 significant digits: 10^17 / 10^17
        {zeros + "25." + zeros, Dyadic(25)},  // 5002 significant digits: 25 * 10^16 / 10^16
    });
}

TEST(TextToNumberRadix, Prefixes)
{
    CheckTexts({
        {"&H1F", Dyadic(31)},
        {"&h1f", Dyadic(31)},
        {"&h1F", Dyadic(31)},
        {"&B101", Dyadic(5)},
        {"&b101", Dyadic(5)},
        {"&O17", Dyadic(15)},
        {"&o17", Dyadic(15)},
        {"&Q17", Dyadic(15)},
        {"&q17", Dyadic(15)},
        {"&17", Dyadic(15)},  // no letter: octal, the character is the first digit
        {"  &H1F", Dyadic(31)},
        {"&19", Dyadic(1)},  // octal digits stop at '9'
        {"&B102", Dyadic(2)},
        {"&HABCDEFG", Dyadic(0xABCDEF)},
    });
}

TEST(TextToNumberRadix, NoDigitGivesZero)
{
    CheckTexts({
        {"&", ZERO},
        {"&H", ZERO},
        {"&HG", ZERO},
        {"&H 1", ZERO},
        {"&H 1F", ZERO},
        {"&8", ZERO},
        {"&B2", ZERO},
        {"&Z", ZERO},
        {"&&H1", ZERO},
    });
}

// The width that the digits and the suffix give the value.
TEST(TextToNumberRadix, SuffixesAndWidths)
{
    CheckTexts({
        {"&H7FFF", Dyadic(32767)},
        {"&H8000", Dyadic(-32768)},
        {"&H8000&", Dyadic(32768)},
        {"&H08000", Dyadic(32768)},
        {"&H8000?", Dyadic(32768)},
        {"&H8000??", Dyadic(32768)},
        {"&H8000???", Dyadic(32768)},
        {"&H8000????", Dyadic(32768)},
        {"&H8000%", Dyadic(-32768)},  // '%' changes nothing
        {"&HFFFF", Dyadic(-1)},
        {"&HFFFF&", Dyadic(65535)},
        {"&HFFFF&&", Dyadic(65535)},
        {"&HFFFF&&&", Dyadic(65535)},
        {"&HFFFF&H", Dyadic(65535)},
        {"&H0FFFF", Dyadic(65535)},
        {"&H10000", Dyadic(65536)},
        {"&H7FFFFFFF", Dyadic(2147483647)},
        {"&HFFFFFFFF", Dyadic(-1)},
        {"&HFFFFFFFF&", Dyadic(-1)},  // one '&' matters below 2^16 only
        {"&H0FFFFFFFF", Dyadic(4294967295)},
        {"&HFFFFFFFF&&", Dyadic(4294967295)},
        {"&HFFFFFFFF?", Dyadic(4294967295)},
        {"&H80004005", Dyadic(-2147467259)},
        {"&H100000000", Dyadic(4294967296)},
        {"&H8000000000000000", Dyadic(INT64_MIN)},
        {"&HFFFFFFFFFFFFFFFF", Dyadic(-1)},
        {"&H0FFFFFFFFFFFFFFFF", Dyadic(-1)},
        {"&HFFFFFFFFFFFFFFFF?", ZERO},
        {"&H8000000000000000?", ZERO},
        {"&H7FFFFFFFFFFFFFFF?", Dyadic(INT64_MAX)},
        {"&H0?", ZERO},
        {"&H0", ZERO},
    });
}

TEST(TextToNumberRadix, SixtyFourBitsAtMost)
{
    CheckTexts({
        {"&H10000000000000000", ZERO},  // 17 significant digits
        {"&H10000000000000000?", ZERO},
        {"&H00000000000000000001", Dyadic(1)},
        {"&H" + std::string(1000, '0') + "1F", Dyadic(31)},
        {"&B" + std::string(64, '1'), Dyadic(-1)},
        {"&B1" + std::string(64, '0'), ZERO},
        {"&O1777777777777777777777", Dyadic(-1)},  // 1 + 21 * 3 = 64 bits
        {"&O2000000000000000000000", ZERO},        // 65 bits
        {"&HFFFFFFFFFFFFFFFFF", ZERO},
        // Leading zeros count as digits read but add no bits.
        {"&H" + std::string(20, '0') + "FFFFFFFFFFFFFFFF", Dyadic(-1)},
        {"&H" + std::string(20, '0') + "10000000000000000", ZERO},
        {"&O" + std::string(30, '0') + "1777777777777777777777", Dyadic(-1)},
        {"&O" + std::string(30, '0') + "2000000000000000000000", ZERO},
        {"&B" + std::string(70, '0') + std::string(64, '1') + "&&", Dyadic(-1)},
    });
}

// The text ends at `length`: nothing after it is read, and it need not be
// NUL-terminated.
TEST(TextToNumber, ReadsNothingPastTheLength)
{
    struct Case {
        const char* buffer;
        size_t length;
        ExtendedReal expected;
    };
    const Case cases[] = {
        {"12345", 2, Dyadic(12)},
        {"12345", 0, ZERO},
        {"-5", 1, NEG_ZERO},
        {"1e5", 2, Dyadic(1)},
        {"1e-5", 3, Dyadic(1)},
        {"1.5", 2, Dyadic(1)},
        {"   7", 3, ZERO},
        {"&H1F", 1, ZERO},
        {"&H1F", 2, ZERO},
        {"&H1F", 3, Dyadic(1)},
        {"&HFFFF&", 6, Dyadic(-1)},
        {"&HFFFF&&", 7, Dyadic(65535)},
        {"&HFFFFFFFF&&", 11, Dyadic(-1)},
        {"&H8000??", 6, Dyadic(-32768)},
        {"&B1111111111111111111111111111111111111111111111111111111111111111", 65, Dyadic(INT64_MAX)},
    };
    for (const Case& c : cases) {
        // A copy of exactly `length` bytes, so a read past it would show in
        // a sanitizer build, and a value read from beyond would differ.
        const std::vector<char> text(c.buffer, c.buffer + c.length);
        SCOPED_TRACE("first " + std::to_string(c.length) + " bytes of '" + c.buffer + "'");
        EXPECT_BITS(TextToNumber(text.data(), text.size()), c.expected);
    }
    EXPECT_BITS(TextToNumber(nullptr, 0), ZERO);
}

// A megabyte of text in every place where the reader counts.
TEST(TextToNumber, LongTexts)
{
    const size_t mebibyte = size_t{1} << 20;
    const std::string digits(mebibyte, '9'), zeros(mebibyte, '0'), blanks(mebibyte, ' ');
    CheckTexts({
        {digits, OVERFLOW_VALUE},
        {"-" + digits, Bits(true, 16383 + 127, 0x8000000000000000u)},
        {"0." + zeros + "1", ZERO},
        {"." + zeros + "1e9999", ZERO},               // the point 2^20 zeros before the 1, far below the range
        {zeros + "7", Dyadic(7)},                     // leading zeros are not significant
        {"7." + zeros, Dyadic(7)},                    // 2^20 + 1 significant digits, 7 * 10^17 / 10^17
        {"7" + zeros + "e-1048576", OVERFLOW_VALUE},  // the exponent saturates at -9999, the number stays huge
        {blanks + "7", Dyadic(7)},
        {blanks, ZERO},
        {"1e" + digits, OVERFLOW_VALUE},  // the exponent saturates
        {"1e-" + digits, ZERO},
        {"&H" + zeros + "1F", Dyadic(31)},
        {"&H1F" + std::string(mebibyte, '?'), Dyadic(31)},
        {"&H" + std::string(mebibyte, 'F'), ZERO},
    });
}

std::string UpperCase(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Every letter that the reader accepts is accepted in both cases, so the
// upper-cased command tail reads as the text would.
TEST(TextToNumber, UpperCasingChangesNothing)
{
    const char* texts[] = {
        "&h1f", "&hffff&", "&h0ffffffff", "&b101",   "&o17",  "&q17", "&habcdef", "&hffffffffffffffff?",
        "1e3",  "1d3",     "-.5d+1",      "2.5e-1x", "12abc", "1e",   "abc",      "e5",
        "&hz",  "&h1fg",   "&bz",         "0x1f",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("text '") + text + "'");
        EXPECT_BITS(Text(UpperCase(text)), Text(text));
    }
}

}  // namespace
