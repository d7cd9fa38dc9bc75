// The driver's way into the program's own thread, for texts too large to
// travel in a window message between processes (Wine carries no more than
// about a million bytes that way). The driver loads text_hook.dll, hooks
// the program's thread with its GetMessage hook and posts it a command; the
// hook then sets or reads the control's text in that thread, through a named
// block of shared memory.
#pragma once

#include <windows.h>

namespace qodex_driver {

constexpr char TEXT_HOOK_DLL[] = "qodex_text_hook.dll";
constexpr char TEXT_HOOK_PROC[] = "QodexTextHook";
constexpr char TEXT_COMMAND_MESSAGE[] = "QodexDriverTextCommand";

// Posted to the control with wParam = the driver's process id.
enum TextCommand : LPARAM { COMMAND_SET_TEXT = 1, COMMAND_READ_TEXT = 2 };

enum TextBlockState : LONG { BLOCK_PENDING = 0, BLOCK_DONE = 1, BLOCK_FAILED = 2 };

// Header of the shared block "QodexDriverText-<driver process id>".
struct TextBlock {
    volatile LONG state;
    DWORD capacity;  // bytes available after the header
    DWORD length;    // of the text that follows, without its NUL
};

}  // namespace qodex_driver
