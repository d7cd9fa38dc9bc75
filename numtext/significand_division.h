// Division of a 128-bit dividend by a 64-bit significand, exact, for
// ExtendedDiv. Only 32-bit divisions and 32x32-bit products: no runtime
// helper on 32-bit targets and no 128-bit type.
#pragma once

#include <stdint.h>

// floor((high * 2^64 + low) / divisor) into `quotient`, for a divisor in
// [2^63, 2^64) and high below it, so that the quotient fits 64 bits; what
// remains, below the divisor, is the result.
uint64_t DivideSignificands(uint64_t high, uint64_t low, uint64_t divisor, uint64_t& quotient);

// An estimate of 2^64 / top for top in [2^31, 2^32]: never above it, and
// at most 2 below it (for every such top).
uint64_t ReciprocalFromBelow(uint64_t top);
