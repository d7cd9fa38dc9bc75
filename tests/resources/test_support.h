// Shared by the Windows test programs of this folder.
#pragma once

#include <string>

#include "byte_layout.h"

namespace support {

// Paths reach the tests as the build system wrote them. Under Wine a Unix
// path ("/work/...") names drive Z:; everywhere backslashes are used.
std::string WindowsPath(const std::string& path);

bool ReadFile(const std::string& path, std::string& content);

using expected::Hex;  // "0x1F (31)"

}  // namespace support
