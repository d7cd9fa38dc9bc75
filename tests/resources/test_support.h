// Shared by the Windows test programs of this folder.
#ifndef QODEX_TESTS_RESOURCES_TEST_SUPPORT_H
#define QODEX_TESTS_RESOURCES_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace support {

// Paths reach the tests as the build system wrote them. Under Wine a Unix
// path ("/work/...") names drive Z:; everywhere backslashes are used.
std::string WindowsPath(const std::string& path);

bool ReadFile(const std::string& path, std::string& content);

// "offset 12 (0xC): expected 0x04 (4), got 0x10 (16)" for the first
// difference, "" when both are equal.
std::string FirstDifference(const std::vector<std::uint8_t>& expected,
                            const std::vector<std::uint8_t>& actual);

std::string Hex(std::uint32_t value);  // "0x1F (31)"

} // namespace support

#endif
