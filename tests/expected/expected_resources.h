// What Qodex.exe's resources must hold, apart from the dialog template
// (expected_dialog.h): where each one sits in the resource directory, the
// version information node by node, the manifest line by line and the icon,
// written out field by field on the tests' one writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_layout.h"

namespace expected {

constexpr uint16_t ENGLISH_UNITED_STATES = 1033;

// A resource's place in the directory: its type and its name are each an id
// or a string (then the id is 0).
struct ResourceKey {
    uint16_t typeId;
    std::string typeName;
    uint16_t nameId;
    std::string name;
    uint16_t language;
};

bool operator==(const ResourceKey& a, const ResourceKey& b);
std::string Describe(const ResourceKey& key);  // "type 16, id 1, language 1033"

inline const ResourceKey ICON_IMAGE_KEY{3, "", 1, "", ENGLISH_UNITED_STATES};
inline const ResourceKey DIALOG_KEY{5, "", 0, "QODEXDECODER", ENGLISH_UNITED_STATES};
inline const ResourceKey ICON_GROUP_KEY{14, "", 0, "QODEX", ENGLISH_UNITED_STATES};
inline const ResourceKey VERSION_KEY{16, "", 1, "", ENGLISH_UNITED_STATES};
inline const ResourceKey MANIFEST_KEY{24, "", 1, "", ENGLISH_UNITED_STATES};

// All five, and nothing else.
std::vector<ResourceKey> ResourceDirectory();

// ---- version information (RT_VERSION 1) ------------------------------------

// One node as a reader walking the tree meets it.
struct VersionNode {
    int depth;
    std::string key;
    uint16_t length;
    uint16_t valueLength;
    uint16_t type;  // 0 binary, 1 text
};
std::vector<VersionNode> VersionNodes();

struct NamedValue {
    const char* name;
    uint32_t value;
};
// VS_FIXEDFILEINFO, field by field in the order stored.
extern const NamedValue FIXED_FILE_INFO[13];

struct VersionString {
    const char* key;
    const char* value;
};
// The string table "040904E4", in the order stored.
extern const VersionString VERSION_STRINGS[9];

constexpr char STRING_TABLE_KEY[] = "040904E4";
constexpr uint16_t TRANSLATION_LANGUAGE = 0x0409;
constexpr uint16_t TRANSLATION_CODE_PAGE = 0x04E4;  // 1252

// The whole tree; each node's fields are named "<key>: length", "<key>: value"
// and so on, the fixed part's "VS_FIXEDFILEINFO: <field>".
ByteLayout VersionInfo();

// ---- manifest (RT_MANIFEST 1) ------------------------------------------------

constexpr size_t MANIFEST_LINES = 21;
// UTF-8 without a byte-order mark, every line ending in CR LF; fields are
// named "line 1" to "line 21".
ByteLayout Manifest();

// ---- icon (RT_GROUP_ICON "QODEX", RT_ICON 1) ---------------------------------

constexpr size_t ICON_GROUP_SIZE = 20;
constexpr size_t ICON_IMAGE_SIZE = 744;  // header, palette, colour bitmap, mask
constexpr size_t ICON_HEADER_SIZE = 40;
constexpr size_t ICON_PALETTE_SIZE = 64;

ByteLayout IconGroup();
// The first ICON_HEADER_SIZE + ICON_PALETTE_SIZE bytes of the image: its
// BITMAPINFOHEADER and colour table. The pixels come from the icon's source.
ByteLayout IconHeaderAndPalette();

// The standard Windows 16 colours, as 0xRRGGBB.
extern const uint32_t ICON_PALETTE[16];

}  // namespace expected
