// Runs another program of the build machine and keeps what it prints.
#pragma once

#include <string>
#include <vector>

struct CommandResult {
    // The program's exit code; -1 when it could not be started or did not
    // end by itself (a signal).
    int exitCode;
    std::string output;  // its standard output; its standard error is ours
};

// arguments[0] is the program's path; no shell is involved, so arguments
// reach it as they are.
CommandResult RunCommand(const std::vector<std::string>& arguments);

// "llvm-readobj --coff-resources /path/Qodex.exe", for messages.
std::string CommandText(const std::vector<std::string>& arguments);
