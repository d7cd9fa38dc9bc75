#include "app/floating_point_mode.h"

void LoadFloatingPointMode()
{
#if defined(__i386__) || defined(__x86_64__)
    // The numeric rules run on our software extended type, so their results
    // never depend on this word; it keeps any x87 code in the process from
    // trapping and from rounding short. The host build, on x86-64, loads it
    // as well, so that its tests see start-up do it.
    unsigned short controlWord = FLOATING_POINT_CONTROL_WORD;
    __asm__ volatile("fldcw %0" : : "m"(controlWord));
#endif
}
