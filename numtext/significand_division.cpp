// Long division in 32-bit digits. Each digit is estimated from the
// divisor's top half through a reciprocal, never too large, and then
// raised by the few units that it lacks, so the result is exact. Every
// product is 32 by 32 bits, a single instruction on 32-bit targets too.
#include "significand_division.h"

namespace {

uint64_t Product(uint32_t a, uint32_t b) { return static_cast<uint64_t>(a) * b; }

}  // namespace

// A 32-bit division gives 16 bits: estimate = 2^64 / top * (1 - e) with
// e < 2^-14. The step estimate * (1 + e + e^2) leaves 1 - e^3, still from
// below, and e^3 is far below the truncations, which only lower it.
uint64_t ReciprocalFromBelow(uint64_t top)
{
    const uint32_t topLess1 = static_cast<uint32_t>(top - 1);  // top itself may be 2^32
    const uint32_t seed = 0xFFFFFFFFu / ((topLess1 >> 16) + 1);
    const uint64_t estimate = static_cast<uint64_t>(seed) << 16;              // in [2^32 - 2^16, 2^33)
    const uint64_t shortfall = 0 - ((Product(seed, topLess1) + seed) << 16);  // e * 2^64, below 2^50
    const uint32_t shortfallTop = static_cast<uint32_t>(shortfall >> 18);
    const uint32_t first = static_cast<uint32_t>(Product(seed, shortfallTop) >> 30);    // estimate * e, below 2^19
    const uint32_t second = static_cast<uint32_t>(Product(first, shortfallTop) >> 46);  // estimate * e^2
    return estimate + first + second;
}

// Two digits of the quotient, each floor((remainder * 2^32 + next) /
// divisor) for the running remainder, which stays below the divisor. The
// reciprocal of the top half rounded up makes the estimate at most
// remainder / top <= (remainder * 2^32 + next) / divisor: never too large,
// and the difference below never negative. It lacks at most 2 for the top
// half's rounding, 2 for the reciprocal's and 1 for the truncations.
uint64_t DivideSignificands(uint64_t high, uint64_t low, uint64_t divisor, uint64_t& quotient)
{
    const uint64_t top = (divisor >> 32) + (static_cast<uint32_t>(divisor) != 0 ? 1 : 0);
    const uint64_t reciprocal = ReciprocalFromBelow(top);
    const uint32_t reciprocalLow = static_cast<uint32_t>(reciprocal);
    uint64_t remainder = high;
    quotient = 0;
    uint32_t next = static_cast<uint32_t>(low >> 32);
    for (int step = 0; step < 2; ++step) {
        const uint32_t remainderHigh = static_cast<uint32_t>(remainder >> 32);
        uint32_t digit = static_cast<uint32_t>((Product(remainderHigh, reciprocalLow) +
                                                (Product(static_cast<uint32_t>(remainder), reciprocalLow) >> 32)) >>
                                               32);
        if ((reciprocal >> 32) != 0) digit += remainderHigh;

        // The dividend and digit * divisor as 32 + 64 bits; their difference
        // is below 6 * divisor, so its top word is small.
        const uint64_t dividendLow = (remainder << 32) | next;
        const uint64_t productLow32 = Product(digit, static_cast<uint32_t>(divisor));
        const uint64_t productHigh32 = Product(digit, static_cast<uint32_t>(divisor >> 32));
        const uint64_t productLow = productLow32 + (productHigh32 << 32);
        const uint32_t productHigh = static_cast<uint32_t>(productHigh32 >> 32) + (productLow < productLow32 ? 1 : 0);
        uint64_t differenceLow = dividendLow - productLow;
        uint32_t differenceHigh = remainderHigh - productHigh - (dividendLow < productLow ? 1 : 0);
        while (differenceHigh != 0 || differenceLow >= divisor) {
            differenceHigh -= differenceLow < divisor ? 1 : 0;
            differenceLow -= divisor;
            ++digit;
        }
        remainder = differenceLow;
        quotient = (quotient << 32) | digit;
        next = static_cast<uint32_t>(low);
    }
    return remainder;
}
