// libFuzzer target for the command line: any bytes as the process command
// line (up to the first NUL, as GetCommandLineA can give no more) through
// FindCommandTail and RunProgram, the whole program run by ProcessEntry on
// the stand-in, with a dialog that the user closes at once.
//
// Promises checked for every line:
// - the tail starts inside the line (its terminating NUL included) and is
//   where ProcessEntry found it too;
// - the usage box appears, and the dialog does not, exactly when the
//   upper-cased tail holds "/H", "-H", "/?" or "-?";
// - otherwise StartCode is NumberToInt32(TextToNumber(upper-cased tail)),
//   or START_CODE_UNSET for an empty tail, and the dialog opens with it;
// - the exit code is 0, nothing is left allocated, nothing misused.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/command_tail.h"
#include "dialog/dialog_ids.h"
#include "dialog/start_code.h"
#include "fuzz_program.h"
#include "numtext.h"

namespace {

const char* const HELP_SWITCHES[] = {"/H", "-H", "/?", "-?"};

// The tail's offset in `line`, found on a heap block of exactly the line's
// size, so that AddressSanitizer sees any read past its NUL.
size_t TailOffset(const std::string& line)
{
    char* block = static_cast<char*>(malloc(line.size() + 1));
    if (!block) abort();
    memcpy(block, line.c_str(), line.size() + 1);
    const char* tail = FindCommandTail(block);
    if (tail < block || tail > block + line.size()) {
        Broken("tail at offset %td of a %zu-byte line", tail - block, line.size());
    }
    const size_t offset = static_cast<size_t>(tail - block);
    free(block);
    return offset;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const void* nul = memchr(data, 0, size);
    const size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
    const std::string line(reinterpret_cast<const char*>(data), length);

    const size_t offset = TailOffset(line);
    const std::string tail = line.substr(offset);

    // What the program should make of it, upper-cased by the same platform
    // call that the program uses (code page 1252 on the stand-in).
    standin::Reset();
    std::string upper = tail;
    if (!upper.empty()) {
        CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    }
    bool help = false;
    for (const char* helpSwitch : HELP_SWITCHES) {
        help = help || upper.find(helpSwitch) != std::string::npos;
    }
    const int32_t expectedStart =
        help || upper.empty() ? START_CODE_UNSET : NumberToInt32(TextToNumber(upper.data(), upper.size()));

    standin::Reset();
    standin::ScriptDialog({standin::PressEscape()});
    const UINT exitCode = RunQodex(line);

    if (exitCode != 0) {
        Broken("exit code %u (0x%X) for [%s]", exitCode, exitCode, Printable(line).c_str());
    }
    const char* commandLine = GetCommandLineA();
    if (CommandTail != commandLine + offset) {
        Broken("ProcessEntry kept the tail at offset %td, FindCommandTail gives %zu", CommandTail - commandLine,
               offset);
    }
    const size_t upperCased = standin::CharUpperLengths().empty() ? 0 : standin::CharUpperLengths()[0];
    if (standin::CharUpperLengths().size() != (tail.empty() ? 0u : 1u) || upperCased != tail.size()) {
        Broken("%zu upper-casings, the first over %zu bytes, of a %zu-byte tail", standin::CharUpperLengths().size(),
               upperCased, tail.size());
    }

    const size_t boxes = standin::MessageBoxes().size();
    const size_t dialogs = standin::Dialogs().size();
    if (help) {
        if (boxes != 1 || dialogs != 0) {
            Broken("help switch in [%s]: %zu usage boxes, %zu dialogs", Printable(upper).c_str(), boxes, dialogs);
        }
    } else if (boxes != 0 || dialogs != 1) {
        Broken("no help switch in [%s]: %zu usage boxes, %zu dialogs", Printable(upper).c_str(), boxes, dialogs);
    }
    if (StartCode != expectedStart) {
        Broken("StartCode %d (0x%08X), expected %d (0x%08X) for the tail [%s]", StartCode,
               static_cast<uint32_t>(StartCode), expectedStart, static_cast<uint32_t>(expectedStart),
               Printable(upper).c_str());
    }
    if (dialogs == 1) {
        const standin::DialogRun& dialog = standin::Dialogs()[0];
        const std::string prefill =
            expectedStart == START_CODE_UNSET ? std::string() : std::string(NumberToText(expectedStart).chars);
        if (!dialog.ended || dialog.states.empty() || dialog.states[0].Text(IDC_CODE) != prefill) {
            Broken("dialog ended %d, opened with [%s] in the number box, expected [%s]", dialog.ended,
                   dialog.states.empty() ? "" : Printable(dialog.states[0].Text(IDC_CODE)).c_str(), prefill.c_str());
        }
    }
    CheckCleanEnd();
    standin::Reset();
    return 0;
}
