// The decoder dialog's template as the tests expect it: the header and the
// table of its six controls, and the extended template (DLGTEMPLATEEX with
// its DLGITEMTEMPLATEEX entries) that they make. Written out here apart from
// the program's resource script, so that the script cannot agree with
// itself; every reader of the template compares what it finds with this.
#pragma once

#include <cstdint>

#include "byte_layout.h"

namespace expected {

struct DialogHeader {
    uint32_t helpId;
    uint32_t exStyle;
    uint32_t style;
    int16_t x, y, width, height;  // dialog units
    const char* caption;
    uint16_t pointSize;
    uint16_t weight;
    uint8_t italic;
    uint8_t charSet;
    const char* typeface;
};

// Predefined window classes, stored by ordinal.
constexpr uint16_t CLASS_BUTTON = 0x0080;
constexpr uint16_t CLASS_EDIT = 0x0081;
constexpr uint16_t CLASS_STATIC = 0x0082;
// A control the program never addresses.
constexpr uint32_t NO_ID = 0xFFFFFFFF;

struct DialogControl {
    const char* name;  // for failure messages
    uint16_t classOrdinal;
    uint32_t id;
    const char* text;
    int16_t x, y, width, height;  // dialog units
    uint32_t style;
    uint32_t exStyle;
};

extern const DialogHeader DIALOG_HEADER;
// In template order, which is also the order of the tab stops.
extern const DialogControl DIALOG_CONTROLS[6];

ByteLayout DialogTemplate();

}  // namespace expected
