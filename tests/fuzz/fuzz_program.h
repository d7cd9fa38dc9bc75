// What the fuzz targets that run the whole program on the stand-in share:
// one run of ProcessEntry, and the way a broken promise is reported.
#pragma once

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "../run_to_exit.h"

// Prints what went wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline void Broken(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    fputs("broken: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
    abort();
}

// The exit code of one run of the program with `commandLine`, the dialog
// playing what was scripted before.
inline UINT RunQodex(const std::string& commandLine)
{
    UINT exitCode = 0;
    if (!RunToExit(commandLine, exitCode)) {
        Broken("ProcessEntry returned instead of ending the process");
    }
    return exitCode;
}

// What every run must leave: nothing allocated, nothing misused. Called
// before the stand-in is reset for the next input.
inline void CheckCleanEnd()
{
    if (!standin::Misuses().empty()) {
        Broken("platform misused: %s", standin::Misuses().front().c_str());
    }
    if (standin::LiveBlocks() != 0 || standin::LiveTlsSlots() != 0) {
        Broken("left allocated: %zu blocks, %zu TLS slots", standin::LiveBlocks(), standin::LiveTlsSlots());
    }
}

// The same text with control and high bytes escaped, for messages.
inline std::string Printable(const std::string& text, size_t limit = 80)
{
    std::string out;
    for (size_t i = 0; i < text.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    if (text.size() > limit) {
        out += "... (" + std::to_string(text.size()) + " bytes)";
    }
    return out;
}
