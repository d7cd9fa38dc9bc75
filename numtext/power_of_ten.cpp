// The power-of-ten table and ScaleByPowerOfTen.
#include "power_of_ten.h"

#include "numtext.h"

namespace {

constexpr ExtendedReal Power(uint16_t exp, uint64_t sig) { return PackExtended(false, exp, sig); }

}  // namespace

ExtendedReal ExactPowerOfTen(uint32_t exponent)
{
    // 10^e = 5^e * 2^e: the power of five is exact, and 2^e only moves the
    // binary exponent (by at most 27).
    uint64_t five = 1;
    for (uint32_t i = 0; i < exponent; ++i) five *= 5;
    ExtendedReal power = ExtendedFromUint64(five);
    power.signExp = static_cast<uint16_t>(power.signExp + exponent);
    return power;
}

// Rounded to nearest (ties to even) from the exact integers 10^N; the
// comment gives the binary exponent of the leading bit.
const ExtendedReal POWER_OF_TEN_BINARY[POWER_OF_TEN_BINARY_COUNT] = {
    Power(0x4019, 0xBEBC200000000000u),  // 10^8     2^26, exact
    Power(0x4034, 0x8E1BC9BF04000000u),  // 10^16    2^53, exact
    Power(0x4069, 0x9DC5ADA82B70B59Eu),  // 10^32    2^106
    Power(0x40D3, 0xC2781F49FFCFA6D5u),  // 10^64    2^212
    Power(0x41A8, 0x93BA47C980E98CE0u),  // 10^128   2^425
    Power(0x4351, 0xAA7EEBFB9DF9DE8Eu),  // 10^256   2^850
    Power(0x46A3, 0xE319A0AEA60E91C7u),  // 10^512   2^1700
    Power(0x4D48, 0xC976758681750C17u),  // 10^1024  2^3401
    Power(0x5A92, 0x9E8B3B5DC53D5DE5u),  // 10^2048  2^6803
};

const ExtendedReal POWER_OF_TEN_4096 = Power(0x7525, 0xC46052028A20979Bu);  // 10^4096  2^13606

ExtendedReal ScaleByPowerOfTen(ExtendedReal x, int32_t n)
{
    // |n| in unsigned arithmetic: -2^31 has no signed magnitude.
    uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    if (magnitude > 4096) {
        x = n > 0 ? ExtendedMul(x, POWER_OF_TEN_4096) : ExtendedDiv(x, POWER_OF_TEN_4096);
        magnitude -= 4096;
    }
    if (magnitude == 0) return x;

    ExtendedReal power = ExactPowerOfTen(magnitude & 7);
    uint32_t octets = magnitude >> 3;
    for (int j = 0; octets != 0; ++j, octets >>= 1) {
        if ((octets & 1) == 0) continue;
        ExtendedReal factor = EXTENDED_INFINITY;  // 10^(8 * 2^j) beyond the range
        if (j < POWER_OF_TEN_BINARY_COUNT) factor = POWER_OF_TEN_BINARY[j];
        else if (j == POWER_OF_TEN_BINARY_COUNT) factor = POWER_OF_TEN_4096;
        power = ExtendedMul(power, factor);
    }
    return n > 0 ? ExtendedMul(x, power) : ExtendedDiv(x, power);
}
