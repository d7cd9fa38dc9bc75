// What the stand-in's rooms share about the one simulated process: the
// record of calls and misuse, the fault plans, the program's module, and a
// way back to a fresh process for each room. Tests use standin.h instead.
#pragma once

#include <stdint.h>

#include <string>

#include "standin.h"

namespace standin {

// The program's own module, where DialogBoxParamA finds its templates.
const uintptr_t MODULE_HANDLE = 0x00400000;

// Records a platform call by name, in the order made.
void Log(const char* name);

// Records a call that the real platform would refuse or that the program
// must not make (freeing what it does not own, a handle it was never given).
void Misuse(const std::string& what);

// Counts a call of `call` and says whether its fault plan makes this one
// fail. Every fallible call asks once, whatever else it does.
bool PlannedToFail(FallibleCall call);

// Each room's state back to that of a fresh process; Reset calls them all.
void ResetKernel();
void ResetDesktop();
void ResetDialogManager();

}  // namespace standin
