// The program's main routine: usage box or decoder dialog, from the
// command tail.
#pragma once

#include <stdint.h>

// Always 0.
int32_t RunProgram();
