#include "test_support.h"

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

}  // namespace support
