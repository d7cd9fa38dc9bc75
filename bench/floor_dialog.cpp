// The start-up floor of the decoder dialog: a program that shows the dialog
// from Qodex.exe's own template, empty, and does nothing else. It ends, like
// Qodex.exe, when the dialog is cancelled.
#include <windows.h>

namespace {

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

extern "C" void ProcessEntry()
{
    DialogBoxParamA(GetModuleHandleA(nullptr), "QODEXDECODER", GetDesktopWindow(), FloorDialogProc, 0);
    ExitProcess(0);
}
