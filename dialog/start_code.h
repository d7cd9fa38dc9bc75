// The number that the decoder dialog shows first, set from the command line.
#pragma once

#include <stdint.h>

// No number was given. A command-line number equal to it reads as none.
constexpr int32_t START_CODE_UNSET = 1223334444;

// Written only by RunProgram, on entry (so its zero start is never read) and
// from the command line, before the dialog opens; read by the dialog.
extern int32_t StartCode;
