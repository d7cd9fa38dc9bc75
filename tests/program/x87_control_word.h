// The x87 control word as the tests of start-up's floating-point mode read
// and set it.
#pragma once

// The fields that the x87 keeps as loaded: exception masks, precision,
// rounding and infinity control. Bit 6 reads as set whatever was loaded.
constexpr unsigned short CONTROL_WORD_FIELDS = 0x1F3F;

inline unsigned short ControlWord()
{
    unsigned short word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

inline void LoadControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }
