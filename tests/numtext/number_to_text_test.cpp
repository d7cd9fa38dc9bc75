// NumberToText, and the round trip through the text that the dialog shows:
// NumberToInt32(TextToNumber(NumberToText(v))) == v, NumberToDword the same
// 32 bits.
#include <cinttypes>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "extended_test_support.h"

using namespace numtext_test;

namespace {

TEST(NumberToText, DecimalDigitsWithMinusOnly)
{
    struct Case {
        int32_t value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {7, "7"},
        {-7, "-7"},
        {42, "42"},
        {-5, "-5"},
        {10, "10"},
        {-100, "-100"},
        {999999999, "999999999"},
        {1000000000, "1000000000"},
        {-1000000000, "-1000000000"},
        {1223334444, "1223334444"},
        {2147483647, "2147483647"},
        {-2147483647, "-2147483647"},
        {INT32_MIN, "-2147483648"},
    };
    for (const Case& c : cases) {
        const NumberText text = NumberToText(c.value);
        SCOPED_TRACE(HexDec(c.value));
        EXPECT_EQ(std::string(text.chars, text.length), c.text);
        ASSERT_LT(text.length, NUMBER_TEXT_CAPACITY);
        EXPECT_EQ(text.chars[text.length], '\0');
    }
}

// One value through the round trip; false (and a failure) when it breaks.
bool RoundTrips(int32_t v)
{
    const NumberText text = NumberToText(v);
    const ExtendedReal x = TextToNumber(text.chars, text.length);
    const int32_t back = NumberToInt32(x);
    const uint32_t id = NumberToDword(x);
    if (back == v && id == static_cast<uint32_t>(v)) return true;
    ADD_FAILURE() << HexDec(v) << " as '" << std::string(text.chars, text.length) << "' came back as " << HexDec(back)
                  << " and message id " << HexDec(id);
    return false;
}

std::vector<int32_t> Boundaries()
{
    std::vector<int32_t> values;
    for (int64_t v = -1000; v <= 1000; ++v) values.push_back(static_cast<int32_t>(v));
    for (int64_t v = 0; v < 1000; ++v) {
        values.push_back(static_cast<int32_t>(INT32_MIN + v));
        values.push_back(static_cast<int32_t>(INT32_MAX - v));
    }
    for (int64_t p = 10; p <= INT32_MAX; p *= 10)
        for (int64_t d = -1; d <= 1; ++d) {
            values.push_back(static_cast<int32_t>(p + d));
            values.push_back(static_cast<int32_t>(-(p + d)));
        }
    for (int bit = 0; bit < 31; ++bit)
        for (int64_t d = -1; d <= 1; ++d) {
            values.push_back(static_cast<int32_t>((int64_t{1} << bit) + d));
            values.push_back(static_cast<int32_t>(-((int64_t{1} << bit) + d)));
        }
    return values;
}

TEST(NumberTextRoundTrip, Boundaries)
{
    int failures = 0;
    for (int32_t v : Boundaries())
        if (!RoundTrips(v) && ++failures >= 10) break;
}

TEST(NumberTextRoundTrip, RandomValues)
{
    const uint64_t seed = 0x0DDC0FFEEULL;
    std::printf("random seed 0x%" PRIX64 "\n", seed);
    std::mt19937_64 random(seed);
    const int count = 3000000;
    int failures = 0;
    for (int i = 0; i < count; ++i)
        if (!RoundTrips(static_cast<int32_t>(static_cast<uint32_t>(random()))) && ++failures >= 10) break;
    std::printf("%d random values round-tripped\n", count);
}

}  // namespace
