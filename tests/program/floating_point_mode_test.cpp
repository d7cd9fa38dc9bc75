// Start-up's floating-point mode on the x87 itself (Windows build, under
// Wine): masked exceptions, extended precision, ties to even.
#include <gtest/gtest.h>
#include <stdint.h>

#include <limits>

#include "app/floating_point_mode.h"
#include "x87_control_word.h"

namespace {

// The x87's own store of a real as a 32-bit integer, in the current mode.
int32_t StoreAsInt32(long double x)
{
    int32_t result;
    __asm__ volatile("fistpl %0" : "=m"(result) : "t"(x) : "st");
    return result;
}

TEST(FloatingPointMode, LoadsTheControlWord)
{
    LoadFloatingPointMode();
    EXPECT_EQ(ControlWord() & CONTROL_WORD_FIELDS, 0x133F) << "control word 0x" << std::hex << ControlWord();
}

TEST(FloatingPointMode, NoOperationTraps)
{
    LoadFloatingPointMode();
    volatile long double zero = 0;
    volatile long double one = 1;
    EXPECT_EQ(one / zero, std::numeric_limits<long double>::infinity());
    EXPECT_EQ(StoreAsInt32(1e10L), INT32_MIN);
    EXPECT_EQ(StoreAsInt32(-3e9L), INT32_MIN);
    EXPECT_EQ(StoreAsInt32(2.5L), 2);
    EXPECT_EQ(StoreAsInt32(3.5L), 4);
    EXPECT_EQ(StoreAsInt32(-2.5L), -2);
    // 64-bit significand: 2^63 + 1 survives a long double addition.
    volatile long double big = 9223372036854775808.0L;
    EXPECT_EQ(static_cast<unsigned long long>(big + one), 9223372036854775809ull);
}

}  // namespace
