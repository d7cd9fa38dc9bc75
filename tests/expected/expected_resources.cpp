#include "expected_resources.h"

#include <iterator>

namespace expected {
namespace {

// Lengths counted by hand: a node is a 6-byte header, its key in UTF-16
// with the zero, zero padding to 32 bits, then its value; a parent's length
// also covers the padding in front of each child, never the padding after
// its own end. Text value lengths count characters with the zero.
// clang-format off
const VersionNode VERSION_NODES[] = {
    // depth, key,          length (its parts),                 value length, type
    {0, "VS_VERSION_INFO",  860 /* 40 + 52 + 698 + 2 + 68 */,   52, 0},
    {1, "StringFileInfo",   698 /* 36 + 662 */,                  0, 1},
    {2, STRING_TABLE_KEY,   662 /* 24 + 638 of strings */,       0, 1},
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
// clang-format on

constexpr size_t FIRST_STRING_NODE = 3;
constexpr size_t VAR_FILE_INFO_NODE = FIRST_STRING_NODE + std::size(VERSION_STRINGS);

void NodeHeader(ByteLayout& w, const VersionNode& node)
{
    w.AlignToDword().Field(node.key + ": length").Word(node.length);
    w.Field(node.key + ": value length").Word(node.valueLength);
    w.Field(node.key + ": type").Word(node.type);
    w.Field(node.key + ": key").Utf16(node.key);
    w.AlignToDword().Field(node.key + ": value");
}

}  // namespace

// clang-format off
const NamedValue FIXED_FILE_INFO[13] = {
    {"dwSignature",        0xFEEF04BD},
    {"dwStrucVersion",     0x00010000},
    {"dwFileVersionMS",    0x00010000},  // 1.0
    {"dwFileVersionLS",    0x00000000},  // .0.0
    {"dwProductVersionMS", 0x00010000},
    {"dwProductVersionLS", 0x00000000},
    {"dwFileFlagsMask",    0},
    {"dwFileFlags",        0},
    {"dwFileOS",           4},           // VOS__WINDOWS32
    {"dwFileType",         1},           // VFT_APP
    {"dwFileSubtype",      0},
    {"dwFileDateMS",       0},
    {"dwFileDateLS",       0},
};

const VersionString VERSION_STRINGS[9] = {
    {"CompanyName",      "Varnholt"},
    {"FileDescription",  "Display the error"},
    {"FileVersion",      "1.0.0.0"},
    {"InternalName",     "QODEX"},
    {"OriginalFilename", "Qodex.exe"},
    {"LegalCopyright",   "Copyright (C) 2026 Varnholt"},
    {"ProductName",      "QODEX"},
    {"ProductVersion",   "1.0.0.0"},
    {"Comments",         "For others utilities please visit the web site: https://varnholt.example"},
};

const uint32_t ICON_PALETTE[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
// clang-format on

bool operator==(const ResourceKey& a, const ResourceKey& b)
{
    return a.typeId == b.typeId && a.typeName == b.typeName && a.nameId == b.nameId && a.name == b.name &&
           a.language == b.language;
}

std::string Describe(const ResourceKey& key)
{
    const std::string type =
        key.typeName.empty() ? "type " + std::to_string(key.typeId) : "type \"" + key.typeName + "\"";
    const std::string name = key.name.empty() ? "id " + std::to_string(key.nameId) : "name \"" + key.name + "\"";
    return type + ", " + name + ", language " + std::to_string(key.language);
}

std::vector<ResourceKey> ResourceDirectory()
{
    return {ICON_IMAGE_KEY, DIALOG_KEY, ICON_GROUP_KEY, VERSION_KEY, MANIFEST_KEY};
}

std::vector<VersionNode> VersionNodes() { return {std::begin(VERSION_NODES), std::end(VERSION_NODES)}; }

ByteLayout VersionInfo()
{
    ByteLayout w;
    NodeHeader(w, VERSION_NODES[0]);
    for (const NamedValue& field : FIXED_FILE_INFO) {
        w.Field(std::string("VS_FIXEDFILEINFO: ") + field.name).Dword(field.value);
    }
    NodeHeader(w, VERSION_NODES[1]);  // StringFileInfo
    NodeHeader(w, VERSION_NODES[2]);  // the string table
    for (size_t i = 0; i < std::size(VERSION_STRINGS); ++i) {
        NodeHeader(w, VERSION_NODES[FIRST_STRING_NODE + i]);
        w.Utf16(VERSION_STRINGS[i].value);
    }
    NodeHeader(w, VERSION_NODES[VAR_FILE_INFO_NODE]);
    NodeHeader(w, VERSION_NODES[VAR_FILE_INFO_NODE + 1]);  // Translation
    w.Word(TRANSLATION_LANGUAGE).Word(TRANSLATION_CODE_PAGE);
    return w;
}

ByteLayout Manifest()
{
    const char* const lines[MANIFEST_LINES] = {
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
    ByteLayout w;
    for (size_t i = 0; i < MANIFEST_LINES; ++i) {
        w.Field("line " + std::to_string(i + 1)).Text(lines[i]).Text("\r\n");
    }
    return w;
}

ByteLayout IconGroup()
{
    ByteLayout w;
    w.Field("reserved").Word(0);
    w.Field("type (icon)").Word(1);
    w.Field("count").Word(1);
    w.Field("entry: width").Byte(32);
    w.Field("entry: height").Byte(32);
    w.Field("entry: colour count").Byte(4);
    w.Field("entry: reserved").Byte(0);
    w.Field("entry: planes").Word(1);
    w.Field("entry: bits per pixel").Word(4);
    w.Field("entry: size in bytes").Dword(static_cast<uint32_t>(ICON_IMAGE_SIZE));
    w.Field("entry: image id").Word(ICON_IMAGE_KEY.nameId);
    return w;
}

ByteLayout IconHeaderAndPalette()
{
    struct HeaderField {
        const char* name;
        uint32_t value;
        size_t size;
    };
    // clang-format off
    const HeaderField header[] = {
        {"biSize",          ICON_HEADER_SIZE, 4},
        {"biWidth",         32,               4},
        {"biHeight",        64,               4},  // colour bitmap and mask
        {"biPlanes",        1,                2},
        {"biBitCount",      4,                2},
        {"biCompression",   0,                4},  // BI_RGB
        {"biSizeImage",     512,              4},
        {"biXPelsPerMeter", 0,                4},
        {"biYPelsPerMeter", 0,                4},
        {"biClrUsed",       0,                4},
        {"biClrImportant",  0,                4},
    };
    // clang-format on
    ByteLayout w;
    for (const HeaderField& field : header) {
        w.Field(std::string("BITMAPINFOHEADER: ") + field.name);
        if (field.size == 2) {
            w.Word(static_cast<uint16_t>(field.value));
        } else {
            w.Dword(field.value);
        }
    }
    // Stored blue, green, red, 0.
    for (size_t i = 0; i < std::size(ICON_PALETTE); ++i) {
        const uint32_t rgb = ICON_PALETTE[i];
        w.Field("palette entry " + std::to_string(i))
            .Byte(static_cast<uint8_t>(rgb))
            .Byte(static_cast<uint8_t>(rgb >> 8))
            .Byte(static_cast<uint8_t>(rgb >> 16))
            .Byte(0);
    }
    return w;
}

}  // namespace expected
