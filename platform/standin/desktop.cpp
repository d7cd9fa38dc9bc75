// The calls around the program's window on the stand-in: user32 outside the
// dialog (upper-casing, the desktop, the message box), the common controls
// and COM.

#include "process.h"

namespace standin {
namespace {

// Recognisable in a debugger, never null, never a pointer.
const uintptr_t DESKTOP_HANDLE = 0x10010;

struct Desktop {
    HRESULT coInitializeResult = S_OK;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<DWORD> charUpperLengths;
    std::vector<INITCOMMONCONTROLSEX> initCommonControlsExCalls;
};

Desktop& TheDesktop()
{
    static Desktop desktop;
    return desktop;
}

// Code page 1252, the stand-in's ANSI code page.
BYTE UpperCp1252(BYTE c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<BYTE>(c - 0x20);
    }
    switch (c) {
        case 0x9A:
            return 0x8A;  // s with caron
        case 0x9C:
            return 0x8C;  // oe ligature
        case 0x9E:
            return 0x8E;  // z with caron
        case 0xFF:
            return 0x9F;  // y with diaeresis
        default:
            return c;
    }
}

}  // namespace

void ResetDesktop() { TheDesktop() = Desktop(); }

void SetCoInitializeResult(HRESULT result) { TheDesktop().coInitializeResult = result; }

const std::vector<MessageBoxCall>& MessageBoxes() { return TheDesktop().messageBoxes; }
const std::vector<DWORD>& CharUpperLengths() { return TheDesktop().charUpperLengths; }
const std::vector<INITCOMMONCONTROLSEX>& InitCommonControlsExCalls() { return TheDesktop().initCommonControlsExCalls; }

}  // namespace standin

using standin::Log;
using standin::Misuse;
using standin::TheDesktop;

// ---- user32 ----------------------------------------------------------------

DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength)
{
    Log("CharUpperBuffA");
    TheDesktop().charUpperLengths.push_back(cchLength);
    if (!lpsz) {
        Misuse("CharUpperBuffA without a text");
        return 0;
    }
    for (DWORD i = 0; i < cchLength; ++i) {
        lpsz[i] = static_cast<char>(standin::UpperCp1252(static_cast<BYTE>(lpsz[i])));
    }
    return cchLength;
}

HWND WINAPI GetDesktopWindow(void)
{
    Log("GetDesktopWindow");
    return reinterpret_cast<HWND>(standin::DESKTOP_HANDLE);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    Log("MessageBoxA");
    TheDesktop().messageBoxes.push_back(
        standin::MessageBoxCall{hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "", uType});
    return IDOK;
}

// ---- comctl32 --------------------------------------------------------------

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    Log("InitCommonControlsEx");
    const bool planned = standin::PlannedToFail(standin::FallibleCall::INIT_COMMON_CONTROLS_EX);
    if (!picce) {
        Misuse("InitCommonControlsEx without its structure");
        return FALSE;
    }
    TheDesktop().initCommonControlsExCalls.push_back(*picce);
    return planned ? FALSE : TRUE;
}

// ---- ole32 -----------------------------------------------------------------

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    Log("CoInitialize");
    if (pvReserved) {
        Misuse("CoInitialize with a non-null argument");
    }
    return TheDesktop().coInitializeResult;
}

void WINAPI CoUninitialize(void) { Log("CoUninitialize"); }
