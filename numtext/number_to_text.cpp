// NumberToText: '-' and the digits for a negative value, the bare digits
// otherwise. A 32-bit value has at most 10 digits, so the text is exact.
#include "numtext.h"

NumberText NumberToText(int32_t value)
{
    // The magnitude in unsigned arithmetic, so that -2^31 needs no special case.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[10];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    NumberText text;
    text.length = 0;
    if (value < 0) text.chars[text.length++] = '-';
    while (count > 0) text.chars[text.length++] = digits[--count];
    for (size_t i = text.length; i < NUMBER_TEXT_CAPACITY; ++i) text.chars[i] = '\0';
    return text;
}
