// NumberToInt32 and NumberToDword: round to nearest even; a value that does
// not fit gives the most negative value of the target width, as the x87's
// integer stores do with the invalid-operation exception masked.
#include "numtext.h"

int32_t NumberToInt32(ExtendedReal x)
{
    const ExtendedInteger rounded = ExtendedRoundToInteger(x);
    const uint64_t limit = rounded.negative ? 0x80000000u : 0x7FFFFFFFu;
    if (!rounded.fits || rounded.magnitude > limit) return INT32_MIN;
    const uint32_t low = static_cast<uint32_t>(rounded.magnitude);
    return static_cast<int32_t>(rounded.negative ? 0u - low : low);
}

uint32_t NumberToDword(ExtendedReal x)
{
    const ExtendedInteger rounded = ExtendedRoundToInteger(x);
    const uint64_t limit = rounded.negative ? 0x8000000000000000u : 0x7FFFFFFFFFFFFFFFu;
    // Out of the signed 64-bit range: -2^63, whose low 32 bits are 0.
    if (!rounded.fits || rounded.magnitude > limit) return 0;
    // The low 32 bits of the two's complement value.
    const uint32_t low = static_cast<uint32_t>(rounded.magnitude);
    return rounded.negative ? 0u - low : low;
}
