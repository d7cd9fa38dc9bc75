#include "files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

bool ReadFileBytes(const std::string& path, expected::Bytes& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileBytes(const std::string& path, const expected::Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

ScratchFile::ScratchFile(const std::string& name)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/qodex-image-checks.XXXXXX";
    std::vector<char> writable(pattern.begin(), pattern.end());
    writable.push_back('\0');
    if (mkdtemp(writable.data()) != nullptr) {
        directory_ = writable.data();
        path_ = directory_ + "/" + name;
    }
}

ScratchFile::~ScratchFile()
{
    if (!directory_.empty()) {
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }
}
