// Start-up's floating-point mode for the whole run.
#pragma once

// x87 control word: all exceptions masked, 64-bit significand, round to
// nearest even.
constexpr unsigned short FLOATING_POINT_CONTROL_WORD = 0x133F;

void LoadFloatingPointMode();
