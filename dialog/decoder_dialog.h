// The modal decoder dialog: number box, "Decode", "Cancel", description box.
#pragma once

#include "dialog/dialog_ids.h"
#include "platform/win32_api.h"

// The template's name among the executable's resources.
constexpr char DECODER_TEMPLATE[] = "QODEXDECODER";

// Opens the dialog over `parent` and returns when it has ended (or could
// not be created).
void ShowDecoderDialog(HWND parent);

INT_PTR CALLBACK DecoderDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Looks up the number in the number box and shows its description; an
// empty box leaves the description as it was.
void ShowDescription(HWND hDlg);
