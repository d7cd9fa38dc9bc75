#include "app/run_program.h"

#include "app/command_tail.h"
#include "app/usage.h"
#include "dialog/decoder_dialog.h"
#include "dialog/start_code.h"
#include "numtext.h"
#include "platform/win32_api.h"
#include "storage/working_storage.h"

namespace {

// Searched for in the upper-cased tail, in this order, anywhere in it.
const char HELP_SWITCHES[][2] = {{'/', 'H'}, {'-', 'H'}, {'/', '?'}, {'-', '?'}};

size_t TextLength(const char* text)
{
    size_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

bool ContainsPair(const char* text, size_t length, const char pair[2])
{
    for (size_t i = 0; i + 1 < length; ++i) {
        if (text[i] == pair[0] && text[i + 1] == pair[1]) {
            return true;
        }
    }
    return false;
}

bool AsksForHelp(const char* text, size_t length)
{
    for (const auto& helpSwitch : HELP_SWITCHES) {
        if (ContainsPair(text, length, helpSwitch)) {
            return true;
        }
    }
    return false;
}

}  // namespace

// The number's route: the command tail, an upper-cased copy of it (searched
// for the help switches), the start number read from the copy into
// StartCode, the dialog's start, which puts StartCode into the number box,
// and the lookup of whatever that box holds, then and at each "Decode".
int32_t RunProgram()
{
    StartCode = START_CODE_UNSET;

    size_t length = TextLength(CommandTail);
    char* tail = CopyText(CommandTail, length);
    if (!tail) {
        length = 0;  // no memory for the copy: go on as with an empty tail
    }
    if (length > 0) {
        CharUpperBuffA(tail, static_cast<DWORD>(length));
    }

    if (AsksForHelp(tail, length)) {
        ShowUsage();
    } else {
        if (length > 0) {
            StartCode = NumberToInt32(TextToNumber(tail, length));
        }
        ShowDecoderDialog(GetDesktopWindow());
    }

    ReleaseText(tail);
    return 0;
}
