// A file's resources as the Win32 resource functions find them: the file
// loaded as a data file, its resources enumerated type by type, name by
// name, language by language, and each one found and loaded. Shared by the
// resource checks and the end-to-end test of an edited copy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resource_reader.h"

namespace win32_resources {

// A resource type or name as the resource functions take it: the id when
// `name` is empty, else the name.
LPCSTR NameArgument(uint16_t id, const std::string& name);

// Every resource of the file at `windowsPath`, in the order enumerated. On
// failure: sets `error` and returns nothing.
std::vector<reader::Resource> ReadResources(const std::string& windowsPath, std::string& error);

}  // namespace win32_resources
