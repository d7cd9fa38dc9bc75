// The program's rules for turning text into numbers and numbers into text.
// Pure code: no platform calls, no allocation, no floating-point hardware.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "extended_real.h"

// Reads the number at the start of `text` (not NUL-terminated, `length`
// bytes). Never reads past `length`; every text gives a number (0 when no
// number stands at its start).
ExtendedReal TextToNumber(const char* text, size_t length);

// Rounds to the nearest integer, ties to even; -2147483648 when the rounded
// value does not fit in 32 signed bits.
int32_t NumberToInt32(ExtendedReal x);

// Rounds to the nearest integer, ties to even, as a signed 64-bit value
// (-2^63 when it does not fit), and keeps its low 32 bits.
uint32_t NumberToDword(ExtendedReal x);

// Decimal text of a 32-bit value: '-' then the digits for a negative value,
// the bare digits otherwise. At most 11 characters.
constexpr size_t NUMBER_TEXT_CAPACITY = 12;
struct NumberText {
    char chars[NUMBER_TEXT_CAPACITY];  // NUL-terminated
    size_t length;
};
NumberText NumberToText(int32_t value);

// x * 10^n, built from the power-of-ten table with one rounding per step.
ExtendedReal ScaleByPowerOfTen(ExtendedReal x, int32_t n);
