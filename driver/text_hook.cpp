// qodex_text_hook.dll: the GetMessage hook that text_hook.h describes. It runs
// inside Qodex.exe's thread, so it keeps to the system's own calls.
#include "text_hook.h"

#include <cstdio>

using namespace qodex_driver;

namespace {

TextBlock* OpenBlock(DWORD driverId, HANDLE* mapping)
{
    char name[64];
    std::snprintf(name, sizeof name, "QodexDriverText-%lu", static_cast<unsigned long>(driverId));
    *mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
    if (*mapping == nullptr) {
        return nullptr;
    }
    return static_cast<TextBlock*>(MapViewOfFile(*mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
}

void Run(const MSG& msg)
{
    HANDLE mapping = nullptr;
    TextBlock* block = OpenBlock(static_cast<DWORD>(msg.wParam), &mapping);
    if (block == nullptr) {
        if (mapping != nullptr) {
            CloseHandle(mapping);
        }
        return;
    }
    char* text = reinterpret_cast<char*>(block + 1);
    LONG result = BLOCK_FAILED;
    if (msg.lParam == COMMAND_SET_TEXT) {
        text[block->length] = '\0';
        if (SetWindowTextA(msg.hwnd, text)) {
            result = BLOCK_DONE;
        }
    } else if (msg.lParam == COMMAND_READ_TEXT) {
        const int length = GetWindowTextLengthA(msg.hwnd);
        if (length >= 0 && static_cast<DWORD>(length) < block->capacity) {
            block->length = static_cast<DWORD>(GetWindowTextA(msg.hwnd, text, length + 1));
            result = BLOCK_DONE;
        }
    }
    InterlockedExchange(const_cast<LONG*>(&block->state), result);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK QodexTextHook(int code, WPARAM removed, LPARAM data)
{
    const UINT command = RegisterWindowMessageA(TEXT_COMMAND_MESSAGE);
    MSG* msg = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == command) {
        Run(*msg);
        msg->message = WM_NULL;  // nothing else sees the command
    }
    return CallNextHookEx(nullptr, code, removed, data);
}
