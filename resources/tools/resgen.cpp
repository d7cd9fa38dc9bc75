// Writes the exact bytes of Qodex.exe's version information, icon and
// manifest, which the resource script then stores as raw resources: the
// resource compiler's own version and icon statements cannot give this
// layout (node types, value lengths, flags mask, icon directory fields).
//
//   resgen version <out>
//   resgen icon <pixel map> <image out> <group out>
//   resgen icon-file <pixel map> <.ico out>
//   resgen manifest <text in> <out>
#include "icon_resource.h"
#include "resources/publisher.h"
#include "version_resource.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool ReadFile(const char* path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "resgen: cannot read %s\n", path);
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "resgen: cannot write %s\n", path);
        return false;
    }
    return true;
}

bool ReadPixelMap(const char* path, resgen::PixelMap& map)
{
    std::string text;
    if (!ReadFile(path, text)) {
        return false;
    }
    std::string error;
    if (!resgen::ParsePixelMap(text, map, error)) {
        std::fprintf(stderr, "%s: %s\n", path, error.c_str());
        return false;
    }
    return true;
}

// The loader wants CR LF line ends; the source may have been checked out
// with either, so every line is rewritten with CR LF, the last one included.
bool NormaliseLineEnds(const std::string& text, std::vector<std::uint8_t>& out)
{
    if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        std::fprintf(stderr, "resgen: the manifest must not start with a byte-order mark\n");
        return false;
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t lineEnd = end;
        if (lineEnd > pos && text[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(pos),
                   text.begin() + static_cast<std::ptrdiff_t>(lineEnd));
        out.push_back('\r');
        out.push_back('\n');
        pos = end + 1;
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: resgen version <out>\n"
                 "       resgen icon <pixel map> <image out> <group out>\n"
                 "       resgen icon-file <pixel map> <.ico out>\n"
                 "       resgen manifest <text in> <out>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    const std::string& command = args[0];

    if (command == "version" && args.size() == 2) {
        // The same version that the usage box's caption shows.
        const std::vector<std::uint8_t> bytes = resgen::BuildVersionResource(QODEX_VERSION_TEXT);
        if (bytes.empty()) {
            std::fprintf(stderr, "resgen: '%s' is not a version a.b.c.d\n", QODEX_VERSION_TEXT);
            return 1;
        }
        return WriteFile(argv[2], bytes) ? 0 : 1;
    }
    if (command == "icon" && args.size() == 4) {
        resgen::PixelMap map;
        if (!ReadPixelMap(argv[2], map)) {
            return 1;
        }
        const std::vector<std::uint8_t> image = resgen::BuildIconImage(map);
        const std::uint16_t imageId = 1;
        const bool ok = WriteFile(argv[3], image) &&
                        WriteFile(argv[4], resgen::BuildIconGroup(static_cast<std::uint32_t>(image.size()), imageId));
        return ok ? 0 : 1;
    }
    if (command == "icon-file" && args.size() == 3) {
        resgen::PixelMap map;
        if (!ReadPixelMap(argv[2], map)) {
            return 1;
        }
        return WriteFile(argv[3], resgen::BuildIconFile(resgen::BuildIconImage(map))) ? 0 : 1;
    }
    if (command == "manifest" && args.size() == 3) {
        std::string text;
        std::vector<std::uint8_t> bytes;
        if (!ReadFile(argv[2], text) || !NormaliseLineEnds(text, bytes)) {
            return 1;
        }
        return WriteFile(argv[3], bytes) ? 0 : 1;
    }
    return Usage();
}
