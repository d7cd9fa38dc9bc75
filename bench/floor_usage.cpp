// The start-up floor of the usage box: a program that shows the same message
// box as "Qodex.exe /?" (text, caption, style) and does nothing else.
#include <windows.h>

#include "app/usage.h"

extern "C" void ProcessEntry()
{
    MessageBoxA(nullptr, USAGE_TEXT, USAGE_CAPTION, MB_OK | MB_ICONINFORMATION);
    ExitProcess(0);
}
