// The main thread's working storage: a zero-filled block in a thread-local
// slot, in which the text routines keep the texts they have made, so that
// shutdown can release whatever is left. The main routine and the dialog
// both make texts, so this sits below them both.
#pragma once

#include <stddef.h>

// Start-up obtains it before the main routine runs, and skips the main
// routine when it cannot. False when no slot or no memory could be had.
bool ObtainWorkingStorage();

// Shutdown, once the main routine has returned: frees the texts still
// recorded, then the block and the slot.
void ReleaseWorkingStorage();

// A new text of `length` characters plus a terminating zero, or null when
// there is no memory (or no working storage). Released with ReleaseText.
char* AllocateText(size_t length);

// A NUL-terminated copy of `length` characters, or null.
char* CopyText(const char* chars, size_t length);

// Releases a text from AllocateText or CopyText; null is ignored.
void ReleaseText(char* text);
