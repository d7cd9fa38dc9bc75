#include "test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace support {

std::string WindowsPath(const std::string& path)
{
    std::string result = path;
    for (char& c : result) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (!path.empty() && path[0] == '/') {
        result = "Z:" + result;
    }
    return result;
}

bool ReadFile(const std::string& path, std::string& content)
{
    std::ifstream in(WindowsPath(path), std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    content = text.str();
    return true;
}

std::string Hex(std::uint32_t value)
{
    char text[40];
    std::snprintf(text, sizeof text, "0x%X (%u)", static_cast<unsigned>(value), static_cast<unsigned>(value));
    return text;
}

std::string FirstDifference(const std::vector<std::uint8_t>& expected,
                            const std::vector<std::uint8_t>& actual)
{
    const std::size_t common = expected.size() < actual.size() ? expected.size() : actual.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (expected[i] != actual[i]) {
            return "offset " + Hex(static_cast<std::uint32_t>(i)) + ": expected " + Hex(expected[i]) +
                   ", got " + Hex(actual[i]);
        }
    }
    if (expected.size() != actual.size()) {
        return "size: expected " + Hex(static_cast<std::uint32_t>(expected.size())) + " bytes, got " +
               Hex(static_cast<std::uint32_t>(actual.size())) + " (equal up to the shorter)";
    }
    return "";
}

} // namespace support
