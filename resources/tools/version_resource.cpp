#include "version_resource.h"

#include "byte_buffer.h"
#include "resources/publisher.h"

#include <cstddef>
#include <utility>

namespace resgen {
namespace {

// The publisher; its address and copyright line come from publisher.h.
const char COMPANY[] = "Varnholt";

// Node types of the version-resource format.
constexpr std::uint16_t NODE_BINARY = 0;
constexpr std::uint16_t NODE_TEXT = 1;

// Language 0x0409 (English, United States) with code page 1252.
constexpr std::uint16_t LANGUAGE = 0x0409;
constexpr std::uint16_t CODE_PAGE = 0x04E4;
const char STRING_TABLE_KEY[] = "040904E4";

constexpr std::uint32_t FIXED_SIGNATURE = 0xFEEF04BD;
constexpr std::uint32_t FIXED_STRUC_VERSION = 0x00010000;
constexpr std::uint32_t FILE_OS_WINDOWS32 = 0x00000004;  // VOS__WINDOWS32
constexpr std::uint32_t FILE_TYPE_APP = 0x00000001;      // VFT_APP
constexpr std::size_t FIXED_INFO_SIZE = 13 * 4;

struct Node {
    std::string key;
    std::uint16_t type = NODE_TEXT;
    // Text values count 16-bit characters with the NUL, binary ones bytes.
    std::uint16_t valueLength = 0;
    std::vector<std::uint8_t> value;
    std::vector<Node> children;
};

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text) {
        if (c == 0 || c > 0x7F) {
            return false;
        }
    }
    return true;
}

Node TextNode(const std::string& key, const std::string& text)
{
    ByteBuffer value;
    value.Utf16z(text);
    Node node;
    node.key = key;
    node.type = NODE_TEXT;
    node.valueLength = static_cast<std::uint16_t>(text.size() + 1);
    node.value = value.Bytes();
    return node;
}

// wLength covers the node from its first byte to the end of its last child,
// without padding after it; the padding in front of each child belongs to
// the parent, so the parent's length counts it.
void WriteNode(ByteBuffer& out, const Node& node)
{
    const std::size_t start = out.Size();
    out.Word(0);  // wLength, patched below
    out.Word(node.valueLength);
    out.Word(node.type);
    out.Utf16z(node.key);
    out.AlignTo4();
    out.Append(node.value);
    for (const Node& child : node.children) {
        out.AlignTo4();
        WriteNode(out, child);
    }
    out.PatchWord(start, static_cast<std::uint16_t>(out.Size() - start));
}

}  // namespace

bool ParseVersion(const std::string& text, std::uint16_t (&parts)[4])
{
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') {
                return false;
            }
            ++pos;
        }
        std::uint32_t value = 0;
        const std::size_t first = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - first < 5) {
            value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
            ++pos;
        }
        if (pos == first || value > 0xFFFF) {
            return false;
        }
        parts[i] = static_cast<std::uint16_t>(value);
    }
    return pos == text.size();
}

std::vector<std::uint8_t> BuildVersionResource(const std::string& version)
{
    std::uint16_t parts[4];
    if (!ParseVersion(version, parts)) {
        return {};
    }
    const std::uint32_t versionMS = (std::uint32_t{parts[0]} << 16) | parts[1];
    const std::uint32_t versionLS = (std::uint32_t{parts[2]} << 16) | parts[3];

    // Order matters: the strings are stored as listed.
    const std::pair<std::string, std::string> strings[] = {
        {"CompanyName", COMPANY},
        {"FileDescription", "Display the error"},
        {"FileVersion", version},
        {"InternalName", "QODEX"},
        {"OriginalFilename", "Qodex.exe"},
        {"LegalCopyright", QODEX_COPYRIGHT},
        {"ProductName", "QODEX"},
        {"ProductVersion", version},
        {"Comments", "For others utilities please visit the web site: " QODEX_WEB_ADDRESS},
    };

    Node table;
    table.key = STRING_TABLE_KEY;
    for (const auto& entry : strings) {
        if (!IsAscii(entry.first) || !IsAscii(entry.second)) {
            return {};
        }
        table.children.push_back(TextNode(entry.first, entry.second));
    }
    Node stringFileInfo;
    stringFileInfo.key = "StringFileInfo";
    stringFileInfo.children.push_back(table);

    ByteBuffer pair;
    pair.Word(LANGUAGE);
    pair.Word(CODE_PAGE);
    Node translation;
    translation.key = "Translation";
    translation.type = NODE_BINARY;
    translation.valueLength = static_cast<std::uint16_t>(pair.Size());
    translation.value = pair.Bytes();
    Node varFileInfo;
    varFileInfo.key = "VarFileInfo";
    varFileInfo.children.push_back(translation);

    ByteBuffer fixed;
    fixed.Dword(FIXED_SIGNATURE);
    fixed.Dword(FIXED_STRUC_VERSION);
    fixed.Dword(versionMS);  // file version
    fixed.Dword(versionLS);
    fixed.Dword(versionMS);  // product version
    fixed.Dword(versionLS);
    fixed.Dword(0);  // dwFileFlagsMask: no flag is declared meaningful
    fixed.Dword(0);  // dwFileFlags
    fixed.Dword(FILE_OS_WINDOWS32);
    fixed.Dword(FILE_TYPE_APP);
    fixed.Dword(0);  // dwFileSubtype
    fixed.Dword(0);  // dwFileDateMS: no date, so builds stay reproducible
    fixed.Dword(0);  // dwFileDateLS
    Node root;
    root.key = "VS_VERSION_INFO";
    root.type = NODE_BINARY;
    root.valueLength = static_cast<std::uint16_t>(FIXED_INFO_SIZE);
    root.value = fixed.Bytes();
    root.children.push_back(stringFileInfo);
    root.children.push_back(varFileInfo);

    ByteBuffer out;
    WriteNode(out, root);
    return out.Bytes();
}

}  // namespace resgen
