// The executable's entry point: start-up, RunProgram, shutdown.
#pragma once

#include <stdint.h>

// ICC_LISTVIEW, TREEVIEW, BAR, TAB, PROGRESS, HOTKEY, PAGESCROLLER,
// NATIVEFNTCTL and STANDARD classes.
constexpr uint32_t COMMON_CONTROL_CLASSES = 0x706F;

// The exit code when start-up cannot obtain its working storage.
constexpr uint32_t STARTUP_FAILURE_EXIT_CODE = 255;

// Never returns: ends the process with ExitProcess.
extern "C" void ProcessEntry();
