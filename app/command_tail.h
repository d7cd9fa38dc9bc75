// Where the program's own name ends on the command line.
#pragma once

// The text after the program's name, found once at start-up, before anything
// reads it; never changed after that.
extern const char* CommandTail;

// The position in `commandLine` (NUL-terminated) where the tail begins.
const char* FindCommandTail(const char* commandLine);
