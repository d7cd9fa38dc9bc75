// One run of the program's entry routine on the platform stand-in, shared by
// the host tests and the fuzz targets.
#pragma once

#include <string>

#include "app/process_entry.h"
#include "standin/standin.h"

// Runs ProcessEntry with `commandLine`, the dialog playing what was scripted
// before. True, with the exit code, when it ended the process as it must;
// false when it returned instead.
inline bool RunToExit(const std::string& commandLine, UINT& exitCode)
{
    standin::SetCommandLine(commandLine);
    try {
        ProcessEntry();
    } catch (const standin::ProcessExit& exit) {
        exitCode = exit.code;
        return true;
    }
    return false;
}
