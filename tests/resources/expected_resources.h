// What Qodex.exe's resources must hold, written out field by field.
#ifndef QODEX_TESTS_RESOURCES_EXPECTED_RESOURCES_H
#define QODEX_TESTS_RESOURCES_EXPECTED_RESOURCES_H

#include <cstdint>
#include <string>
#include <vector>

namespace expected {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kLanguage = 1033;

// A resource's place in the directory: type and name are either an id or a
// string (then `id` is 0).
struct ResourceKey {
    std::uint16_t typeId;
    std::string typeName;
    std::uint16_t nameId;
    std::string name;
    std::uint16_t language;
};

// The five resources, in the order of the directory (types by id).
std::vector<ResourceKey> ResourceDirectory();

Bytes VersionInfo();
Bytes Manifest();
Bytes IconGroup();
Bytes IconImageHeader();  // the first 40 bytes of RT_ICON 1
Bytes PaletteOfIcon();    // the 64 bytes that follow it
Bytes DialogTemplate();

// One node of the version information as a reader walking the tree sees it.
struct VersionNode {
    int depth;
    std::string key;
    std::uint16_t length;
    std::uint16_t valueLength;
    std::uint16_t type;
};
std::vector<VersionNode> VersionNodes();

} // namespace expected

#endif
