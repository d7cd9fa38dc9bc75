// The decoder dialog as the stand-in's dialog manager builds it: the kinds
// of the template's controls in template order, under the name and with the
// ids that the program itself uses.
#pragma once

#include "dialog/decoder_dialog.h"
#include "standin/standin.h"

inline standin::DialogTemplate DecoderDialogTemplate()
{
    using standin::ControlKind;
    return {DECODER_TEMPLATE,
            {
                {-1, ControlKind::LABEL},  // "Error Code :"
                {IDC_CODE, ControlKind::NUMBER_EDIT},
                {IDOK, ControlKind::DEFAULT_BUTTON},  // "Decode"
                {IDCANCEL, ControlKind::BUTTON},      // "Cancel"
                {-1, ControlKind::GROUP_BOX},         // "Error Description"
                {IDC_DESCRIPTION, ControlKind::READ_ONLY_MULTI_LINE_EDIT},
            }};
}
