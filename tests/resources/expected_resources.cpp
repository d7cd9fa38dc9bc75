#include "expected_resources.h"

namespace expected {
namespace {

class Writer {
public:
    void Byte(std::uint8_t v) { bytes_.push_back(v); }
    void Word(std::uint16_t v)
    {
        Byte(static_cast<std::uint8_t>(v));
        Byte(static_cast<std::uint8_t>(v >> 8));
    }
    void Dword(std::uint32_t v)
    {
        Word(static_cast<std::uint16_t>(v));
        Word(static_cast<std::uint16_t>(v >> 16));
    }
    void Utf16z(const std::string& ascii)
    {
        for (unsigned char c : ascii) {
            Word(c);
        }
        Word(0);
    }
    void Text(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void AlignTo4()
    {
        while (bytes_.size() % 4 != 0) {
            Byte(0);
        }
    }
    Bytes Take() { return bytes_; }

private:
    Bytes bytes_;
};

// Lengths counted by hand: a node is a 6-byte header, its key in UTF-16
// with the NUL, zero padding to 32 bits, then its value; a parent's length
// also covers the padding in front of each child, never the padding after
// its own end. Text value lengths count characters with the NUL.
const VersionNode kVersionNodes[] = {
    // depth key                  length          value length  type
    {0, "VS_VERSION_INFO",  860 /* 40 + 52 + 698 + 2 + 68 */,   52, 0},
    {1, "StringFileInfo",   698 /* 36 + 662 */,                  0, 1},
    {2, "040904E4",         662 /* 24 + 638 of strings */,       0, 1},
    {3, "CompanyName",       50 /* 6 + 24 + 2 + 18 */,           9, 1},
    {3, "FileDescription",   76 /* 6 + 32 + 2 + 36 */,          18, 1},
    {3, "FileVersion",       48 /* 6 + 24 + 2 + 16 */,           8, 1},
    {3, "InternalName",      44 /* 6 + 26 + 0 + 12 */,           6, 1},
    {3, "OriginalFilename",  60 /* 6 + 34 + 0 + 20 */,          10, 1},
    {3, "LegalCopyright",    92 /* 6 + 30 + 0 + 56 */,          28, 1},
    {3, "ProductName",       44 /* 6 + 24 + 2 + 12 */,           6, 1},
    {3, "ProductVersion",    52 /* 6 + 30 + 0 + 16 */,           8, 1},
    {3, "Comments",         170 /* 6 + 18 + 0 + 146 */,         73, 1},
    {1, "VarFileInfo",       68 /* 6 + 24 + 2 + 36 */,           0, 1},
    {2, "Translation",       36 /* 6 + 24 + 2 + 4 */,            4, 0},
};

// The string values, in the order of the string nodes above.
const char* const kVersionStrings[] = {
    "Varnholt",
    "Display the error",
    "1.0.0.0",
    "QODEX",
    "Qodex.exe",
    "Copyright (C) 2026 Varnholt",
    "QODEX",
    "1.0.0.0",
    "For others utilities please visit the web site: https://varnholt.example",
};

void NodeHeader(Writer& w, const VersionNode& node)
{
    w.AlignTo4();
    w.Word(node.length);
    w.Word(node.valueLength);
    w.Word(node.type);
    w.Utf16z(node.key);
    w.AlignTo4();
}

// DLGITEMTEMPLATEEX with no creation data.
struct DialogItem {
    std::uint16_t classOrdinal;
    std::uint32_t id;
    const char* text;
    std::int16_t x, y, cx, cy;
    std::uint32_t style;
    std::uint32_t exStyle;
};

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;
constexpr std::uint32_t kNoId = 0xFFFFFFFF;

const DialogItem kDialogItems[] = {
    {kStatic, kNoId, "Error Code :",       12,  8,  49, 11, 0x50020000, 0x00000000},
    {kEdit,   101,   "",                   69,  6,  44, 13, 0x50812080, 0x00020001},
    {kButton, 1,     "Decode",            128,  6,  44, 13, 0x50010001, 0x00000200},
    {kButton, 2,     "Cancel",            186,  6,  44, 13, 0x50010000, 0x00000200},
    {kButton, kNoId, "Error Description",   7, 27, 226, 49, 0x50000007, 0x00000000},
    {kEdit,   102,   "",                   14, 40, 212, 29, 0x50810804, 0x00000000},
};

} // namespace

std::vector<ResourceKey> ResourceDirectory()
{
    return {
        {3, "", 1, "", kLanguage},                  // RT_ICON 1
        {5, "", 0, "QODEXDECODER", kLanguage},      // RT_DIALOG
        {14, "", 0, "QODEX", kLanguage},            // RT_GROUP_ICON
        {16, "", 1, "", kLanguage},                 // RT_VERSION 1
        {24, "", 1, "", kLanguage},                 // RT_MANIFEST 1
    };
}

std::vector<VersionNode> VersionNodes()
{
    return {std::begin(kVersionNodes), std::end(kVersionNodes)};
}

Bytes VersionInfo()
{
    Writer w;
    NodeHeader(w, kVersionNodes[0]);
    const std::uint32_t fixed[] = {
        0xFEEF04BD,              // dwSignature
        0x00010000,              // dwStrucVersion
        0x00010000, 0x00000000,  // file version 1.0.0.0
        0x00010000, 0x00000000,  // product version 1.0.0.0
        0,                       // dwFileFlagsMask
        0,                       // dwFileFlags
        4,                       // VOS__WINDOWS32
        1,                       // VFT_APP
        0,                       // dwFileSubtype
        0, 0,                    // dwFileDateMS, dwFileDateLS
    };
    for (std::uint32_t field : fixed) {
        w.Dword(field);
    }
    NodeHeader(w, kVersionNodes[1]);  // StringFileInfo
    NodeHeader(w, kVersionNodes[2]);  // 040904E4
    for (int i = 0; i < 9; ++i) {
        NodeHeader(w, kVersionNodes[3 + i]);
        w.Utf16z(kVersionStrings[i]);
    }
    NodeHeader(w, kVersionNodes[12]);  // VarFileInfo
    NodeHeader(w, kVersionNodes[13]);  // Translation
    w.Word(0x0409);
    w.Word(0x04E4);
    return w.Take();
}

Bytes Manifest()
{
    const char* const lines[] = {
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)",
        R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)",
        R"(<assemblyIdentity)",
        R"(    name="Microsoft.Windows.Shell.shell32")",
        R"(    processorArchitecture="x86")",
        R"(    version="5.1.0.0")",
        R"(    type="win32"/>)",
        R"(<description>Windows Shell</description>)",
        R"(<dependency>)",
        R"(    <dependentAssembly>)",
        R"(        <assemblyIdentity)",
        R"(            type="win32")",
        R"(            name="Microsoft.Windows.Common-Controls")",
        R"(            version="6.0.0.0")",
        R"(            processorArchitecture="x86")",
        R"(            publicKeyToken="6595b64144ccf1df")",
        R"(            language="*")",
        R"(        />)",
        R"(    </dependentAssembly>)",
        R"(</dependency>)",
        R"(</assembly>)",
    };
    Writer w;
    for (const char* line : lines) {
        w.Text(line);
        w.Text("\r\n");
    }
    return w.Take();
}

Bytes IconGroup()
{
    Writer w;
    w.Word(0);    // reserved
    w.Word(1);    // type: icon
    w.Word(1);    // count
    w.Byte(32);   // width
    w.Byte(32);   // height
    w.Byte(4);    // colour count
    w.Byte(0);    // reserved
    w.Word(1);    // planes
    w.Word(4);    // bits per pixel
    w.Dword(744); // size of the image
    w.Word(1);    // RT_ICON id
    return w.Take();
}

Bytes IconImageHeader()
{
    Writer w;
    w.Dword(40);   // biSize
    w.Dword(32);   // biWidth
    w.Dword(64);   // biHeight: colour bitmap and mask
    w.Word(1);     // biPlanes
    w.Word(4);     // biBitCount
    w.Dword(0);    // BI_RGB
    w.Dword(512);  // biSizeImage
    w.Dword(0);    // biXPelsPerMeter
    w.Dword(0);    // biYPelsPerMeter
    w.Dword(0);    // biClrUsed
    w.Dword(0);    // biClrImportant
    return w.Take();
}

Bytes PaletteOfIcon()
{
    // The standard 16 colours as 0xRRGGBB, stored blue, green, red, 0.
    const std::uint32_t colours[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    Writer w;
    for (std::uint32_t rgb : colours) {
        w.Byte(static_cast<std::uint8_t>(rgb));
        w.Byte(static_cast<std::uint8_t>(rgb >> 8));
        w.Byte(static_cast<std::uint8_t>(rgb >> 16));
        w.Byte(0);
    }
    return w.Take();
}

Bytes DialogTemplate()
{
    Writer w;
    w.Word(1);           // dlgVer
    w.Word(0xFFFF);      // signature
    w.Dword(0);          // helpID
    w.Dword(0x00000080); // WS_EX_TOOLWINDOW
    w.Dword(0x80C808C0); // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT
    w.Word(6);           // cDlgItems
    w.Word(0);           // x
    w.Word(0);           // y
    w.Word(239);         // cx
    w.Word(83);          // cy
    w.Word(0);           // no menu
    w.Word(0);           // the system's dialog class
    w.Utf16z("Qodex decoder - https://varnholt.example");
    w.Word(8);           // points
    w.Word(0);           // weight
    w.Byte(0);           // not italic
    w.Byte(1);           // DEFAULT_CHARSET
    w.Utf16z("Courier New");
    for (const DialogItem& item : kDialogItems) {
        w.AlignTo4();
        w.Dword(0);  // helpID
        w.Dword(item.exStyle);
        w.Dword(item.style);
        w.Word(static_cast<std::uint16_t>(item.x));
        w.Word(static_cast<std::uint16_t>(item.y));
        w.Word(static_cast<std::uint16_t>(item.cx));
        w.Word(static_cast<std::uint16_t>(item.cy));
        w.Dword(item.id);
        w.Word(0xFFFF);
        w.Word(item.classOrdinal);
        w.Utf16z(item.text);
        w.Word(0);  // no creation data
    }
    return w.Take();
}

} // namespace expected
