// Division of a 128-bit dividend by a 64-bit significand, exact, for
// ExtendedDiv. Only 32-bit divisions and 32x32-bit products: no runtime
// helper on 32-bit targets and no 128-bit type.
#pragma once

#include <stdint.h>

struct SignificandQuotient {
    uint64_t quotient;
    uint64_t remainder;  // below the divisor
};

// floor((high * 2^64 + low) / divisor) and what remains, for a divisor in
// [2^63, 2^64) and high below it, so that the quotient fits 64 bits.
SignificandQuotient DivideSignificands(uint64_t high, uint64_t low, uint64_t divisor);

// An estimate of 2^64 / top for top in [2^31, 2^32]: never above it, and
// at most 2 below it (for every such top).
uint64_t ReciprocalFromBelow(uint64_t top);
