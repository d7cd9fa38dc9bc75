// Where the program's process-wide variables live.
#pragma once

// Each process-wide variable of the program is defined with this and starts
// as zero: it then lies in Qodex.exe's uninitialised-data section, which
// takes no bytes of the file. In a section of that name every compiler
// refuses an initial value other than zero, so no variable can come to need
// file bytes unnoticed.
#define ZERO_FILLED __attribute__((section(".bss")))
