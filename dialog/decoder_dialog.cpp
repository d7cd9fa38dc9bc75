#include "dialog/decoder_dialog.h"

#include "dialog/lookup_description.h"
#include "dialog/start_code.h"
#include "numtext.h"
#include "platform/zero_filled.h"
#include "storage/working_storage.h"

ZERO_FILLED int32_t StartCode;

namespace {
const int LARGEST_TEXT_READ = 0x7FFFFFFE;  // room for the zero in an int count
}  // namespace

void ShowDecoderDialog(HWND parent)
{
    // -1 (no dialog) ends the same way as a dialog the user closed.
    DialogBoxParamA(GetModuleHandleA(nullptr), DECODER_TEMPLATE, parent, DecoderDialogProc, 0);
}

INT_PTR CALLBACK DecoderDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (msg == WM_INITDIALOG) {
        if (StartCode != START_CODE_UNSET) {
            NumberText start = NumberToText(StartCode);
            SetWindowTextA(GetDlgItem(hDlg, IDC_CODE), start.chars);
        }
        SetFocus(GetDlgItem(hDlg, IDC_CODE));
        ShowDescription(hDlg);
        return TRUE;
    }
    if (msg == WM_COMMAND) {
        // The high word, the notification code, plays no part.
        WORD id = LOWORD(wParam);
        if (id == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        if (id == IDOK) {
            ShowDescription(hDlg);
            return TRUE;
        }
    }
    return FALSE;
}

void ShowDescription(HWND hDlg)
{
    // Every lookup starts from zeros, so a short description never shows
    // the tail of a longer one.
    char description[DESCRIPTION_BUFFER_SIZE] = {};

    HWND codeBox = GetDlgItem(hDlg, IDC_CODE);
    int length = GetWindowTextLengthA(codeBox);
    if (length < 0) {
        length = 0;
    }
    if (length > LARGEST_TEXT_READ) {
        length = LARGEST_TEXT_READ;
    }
    char* text = AllocateText(static_cast<size_t>(length));
    if (!text) {
        return;  // no memory for the text: as if the box were empty
    }
    int copied = GetWindowTextA(codeBox, text, length + 1);
    if (copied > length) {
        copied = length;
    }
    if (copied <= 0) {
        ReleaseText(text);
        return;
    }
    uint32_t messageId = NumberToDword(TextToNumber(text, static_cast<size_t>(copied)));
    ReleaseText(text);

    LookupDescription(messageId, description);
    SetWindowTextA(GetDlgItem(hDlg, IDC_DESCRIPTION), description);
}
