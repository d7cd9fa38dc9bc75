// The power-of-ten table behind ScaleByPowerOfTen (declared in numtext.h).
#pragma once

#include "extended_real.h"

// 10^exponent for exponent <= EXACT_POWER_OF_TEN_LIMIT: exact, as
// 5^exponent fits 64 bits.
constexpr uint32_t EXACT_POWER_OF_TEN_LIMIT = 27;
ExtendedReal ExactPowerOfTen(uint32_t exponent);

// Entry j is the extended value nearest to 10^(8 * 2^j), j = 0..8: 10^8 up
// to 10^2048. 10^8 and 10^16 are exact.
constexpr int POWER_OF_TEN_BINARY_COUNT = 9;
extern const ExtendedReal POWER_OF_TEN_BINARY[POWER_OF_TEN_BINARY_COUNT];

// The extended value nearest to 10^4096. It is also the factor for bit 9 of
// |n| div 8, which only |n| = 4096..4103 reach.
extern const ExtendedReal POWER_OF_TEN_4096;
