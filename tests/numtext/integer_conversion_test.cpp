// NumberToInt32 and NumberToDword: what the start code and the message id
// become for the texts a user may give, ties, and values beyond each width.
#include <string>

#include <gtest/gtest.h>

#include "extended_test_support.h"

using namespace numtext_test;

namespace {

struct ConversionCase {
    const char* text;
    int32_t startCode;   // NumberToInt32
    uint32_t messageId;  // NumberToDword
};

void CheckConversions(std::initializer_list<ConversionCase> cases)
{
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        const ExtendedReal x = Text(c.text);
        const int32_t startCode = NumberToInt32(x);
        const uint32_t messageId = NumberToDword(x);
        EXPECT_EQ(startCode, c.startCode) << "NumberToInt32 gave " << HexDec(startCode) << ", expected "
                                          << HexDec(c.startCode) << "; number " << Describe(x);
        EXPECT_EQ(messageId, c.messageId) << "NumberToDword gave " << HexDec(messageId) << ", expected "
                                          << HexDec(c.messageId) << "; number " << Describe(x);
    }
}

TEST(NumberConversion, TextsOfTheCallers)
{
    CheckConversions({
        {"", 0, 0},
        {"   ", 0, 0},
        {"abc", 0, 0},
        {".5", 0, 0},
        {"-0", 0, 0},
        {"-", 0, 0},
        {"2147483647", 2147483647, 0x7FFFFFFF},
        {"2147483648", INT32_MIN, 0x80000000},
        {"4294967295", INT32_MIN, 0xFFFFFFFF},
        {"4294967296", INT32_MIN, 0},
        {"4294967297", INT32_MIN, 1},
        {"-1", -1, 0xFFFFFFFF},
        {"-2147483648", INT32_MIN, 0x80000000},
        {"-2147483649", INT32_MIN, 0x7FFFFFFF},
        {"-2147467259", -2147467259, 0x80004005},
        {"&H80004005", -2147467259, 0x80004005},
        {"&HFFFF", -1, 0xFFFFFFFF},
        {"&HFFFF&", 65535, 0x0000FFFF},
        {"&HFFFFFFFF", -1, 0xFFFFFFFF},
        {"&H0FFFFFFFF", INT32_MIN, 0xFFFFFFFF},
        {"1e4932", INT32_MIN, 0},
        {"1e9999", INT32_MIN, 0},
        {"1e65540", INT32_MIN, 0},
        {"-1e5000", INT32_MIN, 0},
        {"1e-9999", 0, 0},
        {"9223372036854775808", INT32_MIN, 0xFFFFFFF8},  // read as 9223372036854775800
        {"9999999999999999999", INT32_MIN, 0},           // beyond the signed 64-bit range
        {"-9223372036854775808", INT32_MIN, 8},          // -9223372036854775800
        {"&H8000000000000000", INT32_MIN, 0},            // -2^63 itself fits: low half 0
        {"&H8000000000000001", INT32_MIN, 1},
        {"&HFFFFFFFFFFFFFFFF", -1, 0xFFFFFFFF},
        {"&HFFFFFFFFFFFFFFFF?", 0, 0},
        {"&H7FFFFFFFFFFFFFFF?", INT32_MIN, 0xFFFFFFFF},
    });
}

// Half way between two integers the even one wins, in both conversions.
TEST(NumberConversion, TiesGoToEven)
{
    CheckConversions({
        {"0.5", 0, 0},
        {"1.5", 2, 2},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-0.5", 0, 0},
        {"-1.5", -2, 0xFFFFFFFE},
        {"-2.5", -2, 0xFFFFFFFE},
        {"0.5000000000000001", 1, 1},
        {"2.4999999999999999", 2, 2},
        {"2147483646.5", 2147483646, 0x7FFFFFFE},
        {"2147483647.5", INT32_MIN, 0x80000000},   // rounds to 2^31
        {"-2147483648.5", INT32_MIN, 0x80000000},  // rounds to -2^31, which fits
        {"-2147483649.5", INT32_MIN, 0x7FFFFFFE},
        {"4294967294.5", INT32_MIN, 0xFFFFFFFE},
        {"4294967295.5", INT32_MIN, 0},
        {"12345678901234567.5", INT32_MIN, 0x5D6B4B88},  // to 12345678901234568
        {"12345678901234568.5", INT32_MIN, 0x5D6B4B88},
    });
}

// Numbers that no text makes, straight from the arithmetic.
TEST(NumberConversion, SpecialValues)
{
    struct Case {
        const char* name;
        ExtendedReal x;
        int32_t startCode;
        uint32_t messageId;
    };
    const Case cases[] = {
        {"+inf", Bits(false, 0x7FFF, 0x8000000000000000u), INT32_MIN, 0},
        {"-inf", Bits(true, 0x7FFF, 0x8000000000000000u), INT32_MIN, 0},
        {"NaN", Bits(true, 0x7FFF, 0xC000000000000000u), INT32_MIN, 0},
        {"-0", Bits(true, 0, 0), 0, 0},
        {"smallest subnormal", Bits(false, 0, 1), 0, 0},
        {"-largest finite", Bits(true, 0x7FFE, 0xFFFFFFFFFFFFFFFFu), INT32_MIN, 0},
        {"2^63 - 1", Dyadic(INT64_MAX), INT32_MIN, 0xFFFFFFFF},
        {"2^63", Bits(false, 0x403E, 0x8000000000000000u), INT32_MIN, 0},
        {"2^64 - 1", Bits(false, 0x403E, 0xFFFFFFFFFFFFFFFFu), INT32_MIN, 0},
        {"-(2^63 + 1)", Bits(true, 0x403E, 0x8000000000000001u), INT32_MIN, 0},
        {"-(2^63 - 1)", Dyadic(-INT64_MAX), INT32_MIN, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NumberToInt32(c.x), c.startCode) << HexDec(NumberToInt32(c.x));
        EXPECT_EQ(NumberToDword(c.x), c.messageId) << HexDec(NumberToDword(c.x));
    }
}

}  // namespace
