// Long division in 32-bit digits. Each digit is estimated from the
// divisor's top half through a reciprocal, never too large, and then
// raised by the few units that it lacks, so the result is exact.
#include "significand_division.h"

namespace {

constexpr uint64_t LOW_HALF = 0xFFFFFFFFu;

// One digit of the quotient, floor((remainder * 2^32 + next) / divisor),
// for remainder < divisor; remainder becomes the new one. `reciprocal` is
// ReciprocalFromBelow of the divisor's top half rounded up, so the estimate
// is at most remainder / top <= (remainder * 2^32 + next) / divisor: never
// too large, and the difference below never negative. It lacks at most
// 2 for the top half's rounding, 2 for the reciprocal's and 1 for the
// truncations.
uint32_t DivideStep(uint64_t& remainder, uint32_t next, uint64_t divisor, uint64_t reciprocal)
{
    const uint64_t high = remainder >> 32, low = remainder & LOW_HALF;
    const uint64_t reciprocalLow = reciprocal & LOW_HALF;
    uint64_t digit = (high * reciprocalLow + ((low * reciprocalLow) >> 32)) >> 32;
    if ((reciprocal >> 32) != 0) digit += high;

    // The dividend and digit * divisor as 32 + 64 bits; their difference
    // is below 6 * divisor, so its top word is small.
    const uint64_t dividendLow = (remainder << 32) | next;
    const uint64_t productLow32 = digit * (divisor & LOW_HALF), productHigh32 = digit * (divisor >> 32);
    const uint64_t productLow = productLow32 + (productHigh32 << 32);
    const uint64_t productHigh = (productHigh32 >> 32) + (productLow < productLow32 ? 1 : 0);
    uint64_t differenceLow = dividendLow - productLow;
    uint64_t differenceHigh = high - productHigh - (dividendLow < productLow ? 1 : 0);
    while (differenceHigh != 0 || differenceLow >= divisor) {
        differenceHigh -= differenceLow < divisor ? 1 : 0;
        differenceLow -= divisor;
        ++digit;
    }
    remainder = differenceLow;
    return static_cast<uint32_t>(digit);
}

}  // namespace

// A 32-bit division gives 16 bits: estimate = 2^64 / top * (1 - e) with
// e < 2^-14. The step estimate * (1 + e + e^2) leaves 1 - e^3, still from
// below, and e^3 is far below the truncations, which only lower it.
uint64_t ReciprocalFromBelow(uint64_t top)
{
    // 32 bits by 32 bits: a 64-bit division would need a runtime helper.
    const uint32_t seed32 = 0xFFFFFFFFu / static_cast<uint32_t>(((top - 1) >> 16) + 1);
    const uint64_t seed = seed32;
    const uint64_t estimate = seed << 16;           // in [2^32 - 2^16, 2^33)
    const uint64_t shortfall = 0 - estimate * top;  // e * 2^64: estimate * top < 2^64
    const uint64_t first = (seed * (shortfall >> 16)) >> 32;    // estimate * e, below 2^19
    const uint64_t second = (first * (shortfall >> 16)) >> 48;  // estimate * e^2
    return estimate + first + second;
}

SignificandQuotient DivideSignificands(uint64_t high, uint64_t low, uint64_t divisor)
{
    const uint64_t top = (divisor >> 32) + ((divisor & LOW_HALF) != 0 ? 1 : 0);
    const uint64_t reciprocal = ReciprocalFromBelow(top);
    SignificandQuotient result{0, high};
    const uint64_t upper = DivideStep(result.remainder, static_cast<uint32_t>(low >> 32), divisor, reciprocal);
    result.quotient = (upper << 32) | DivideStep(result.remainder, static_cast<uint32_t>(low), divisor, reciprocal);
    return result;
}
