// One run of the program's entry routine on the platform stand-in, shared by
// the host tests and the fuzz targets.
#pragma once

#include <string>

#include "app/process_entry.h"
#include "standin/standin.h"
#include "standin_decoder_dialog.h"

// Runs ProcessEntry as Qodex.exe, with `commandLine` and the decoder
// dialog's template in its module, the dialog playing what was scripted
// before. True, with the exit code, when it ended the process as it must;
// false when it returned instead.
inline bool RunToExit(const std::string& commandLine, UINT& exitCode)
{
    standin::SetCommandLine(commandLine);
    standin::SetDialogTemplates({DecoderDialogTemplate()});
    try {
        ProcessEntry();
    } catch (const standin::ProcessExit& exit) {
        exitCode = exit.code;
        return true;
    }
    return false;
}
