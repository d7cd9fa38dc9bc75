#include "expected_dialog.h"

#include <iterator>
#include <string>

namespace expected {

// clang-format off
const DialogHeader DIALOG_HEADER = {
    0,           // help id
    0x00000080,  // WS_EX_TOOLWINDOW
    0x80C808C0,  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT
    0, 0, 239, 83,
    "Qodex decoder - https://varnholt.example",
    8, 0, 0, 1,  // points, weight, not italic, DEFAULT_CHARSET
    "Courier New",
};

const DialogControl DIALOG_CONTROLS[6] = {
    // name              class         id      text                  x    y   width height style       extended style
    {"label",            CLASS_STATIC, NO_ID,  "Error Code :",       12,   8,  49,  11,   0x50020000, 0x00000000},
    {"number box",       CLASS_EDIT,   101,    "",                   69,   6,  44,  13,   0x50812080, 0x00020001},
    {"Decode",           CLASS_BUTTON, 1,      "Decode",             128,  6,  44,  13,   0x50010001, 0x00000200},
    {"Cancel",           CLASS_BUTTON, 2,      "Cancel",             186,  6,  44,  13,   0x50010000, 0x00000200},
    {"group box",        CLASS_BUTTON, NO_ID,  "Error Description",  7,   27, 226,  49,   0x50000007, 0x00000000},
    {"description box",  CLASS_EDIT,   102,    "",                   14,  40, 212,  29,   0x50810804, 0x00000000},
};
// clang-format on

ByteLayout DialogTemplate()
{
    const DialogHeader& h = DIALOG_HEADER;
    ByteLayout t;
    t.Field("header: version").Word(1);
    t.Field("header: signature").Word(0xFFFF);
    t.Field("header: help id").Dword(h.helpId);
    t.Field("header: extended style").Dword(h.exStyle);
    t.Field("header: style").Dword(h.style);
    t.Field("header: number of controls").Word(static_cast<uint16_t>(std::size(DIALOG_CONTROLS)));
    t.Field("header: position and size")
        .Word(static_cast<uint16_t>(h.x))
        .Word(static_cast<uint16_t>(h.y))
        .Word(static_cast<uint16_t>(h.width))
        .Word(static_cast<uint16_t>(h.height));
    t.Field("header: menu (none)").Word(0);
    t.Field("header: window class (the system's)").Word(0);
    t.Field("header: caption").Utf16(h.caption);
    t.Field("header: font point size").Word(h.pointSize);
    t.Field("header: font weight").Word(h.weight);
    t.Field("header: font italic").Byte(h.italic);
    t.Field("header: font character set").Byte(h.charSet);
    t.Field("header: typeface").Utf16(h.typeface);
    for (const DialogControl& control : DIALOG_CONTROLS) {
        const std::string name = std::string("control '") + control.name + "': ";
        t.AlignToDword().Field(name + "help id").Dword(0);
        t.Field(name + "extended style").Dword(control.exStyle);
        t.Field(name + "style").Dword(control.style);
        t.Field(name + "position and size")
            .Word(static_cast<uint16_t>(control.x))
            .Word(static_cast<uint16_t>(control.y))
            .Word(static_cast<uint16_t>(control.width))
            .Word(static_cast<uint16_t>(control.height));
        t.Field(name + "id").Dword(control.id);
        t.Field(name + "class (by ordinal)").Word(0xFFFF).Word(control.classOrdinal);
        t.Field(name + "text").Utf16(control.text);
        t.Field(name + "creation data size (none)").Word(0);
    }
    return t;
}

}  // namespace expected
