#include "app/floating_point_mode.h"

void LoadFloatingPointMode()
{
#if defined(__i386__)
    // The numeric rules run on our software extended type, so their results
    // never depend on this word; it keeps any x87 code in the process from
    // trapping and from rounding short.
    unsigned short controlWord = FLOATING_POINT_CONTROL_WORD;
    __asm__ volatile("fldcw %0" : : "m"(controlWord));
#endif
}
