// extract_resource <exe> <type id> <name | #id> <out file>
// Copies one resource (language 1033) of an executable into a file, read
// through the Win32 resource functions, so that tools of the build machine
// can look at exactly what the system loader sees.
#include "test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: extract_resource <exe> <type id> <name | #id> <out file>\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(support::WindowsPath(argv[1]).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        std::fprintf(stderr, "extract_resource: cannot load %s\n", argv[1]);
        return 1;
    }
    const WORD type = static_cast<WORD>(std::strtoul(argv[2], nullptr, 10));
    const std::string name = argv[3];
    LPCSTR nameArgument = name[0] == '#' ? MAKEINTRESOURCEA(std::strtoul(name.c_str() + 1, nullptr, 10))
                                         : name.c_str();
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(type), nameArgument,
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const void* bytes = found == nullptr ? nullptr : LockResource(LoadResource(module, found));
    if (bytes == nullptr) {
        std::fprintf(stderr, "extract_resource: no resource %s of type %s\n", argv[3], argv[2]);
        return 1;
    }
    const DWORD size = SizeofResource(module, found);
    FILE* out = std::fopen(support::WindowsPath(argv[4]).c_str(), "wb");
    const bool written = out != nullptr && std::fwrite(bytes, 1, size, out) == size;
    if (out != nullptr) {
        std::fclose(out);
    }
    if (!written) {
        std::fprintf(stderr, "extract_resource: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
