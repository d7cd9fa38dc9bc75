#include "app/usage.h"

#include "platform/win32_api.h"

namespace {
const DWORD PAUSE_BEFORE_USAGE_MS = 5;
}  // namespace

// Both texts are constants: there is nothing to build or release.
void ShowUsage()
{
    Sleep(PAUSE_BEFORE_USAGE_MS);
    MessageBoxA(nullptr, USAGE_TEXT, USAGE_CAPTION, MB_OK | MB_ICONINFORMATION);
}
