// Finishes the resource section of a linked Windows image.
//
//   finish-resource-section <image>
//
// - GNU ld marks every output section named .rsrc writable, whatever its
//   inputs say. Nothing writes resources (the loader maps them, programs
//   only read them), and other linkers make .rsrc read-only: this clears
//   IMAGE_SCN_MEM_WRITE in the section's header.
// - ld sizes the resource data directory as the whole section, with the
//   padding that aligns the last resource's data: this ends it where the
//   last resource's data ends, as a reader walking the tree finds it.
// Then it writes the image's checksum anew. It changes nothing else, and the
// same input gives the same bytes. An input that is not a PE32 image with a
// .rsrc section that holds the resource directory, or whose checksum is not
// the one this program computes, is left unchanged and the program fails:
// it only knows images that it can check.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t IMAGE_SCN_MEM_WRITE = 0x80000000u;
constexpr std::size_t DOS_HEADER_SIZE = 64;
constexpr std::size_t NEW_HEADER_OFFSET_FIELD = 0x3C;  // e_lfanew
constexpr std::size_t FILE_HEADER_SIZE = 20;
constexpr std::size_t CHECKSUM_FIELD = 64;                    // in the optional header, PE32 and PE32+ alike
constexpr std::size_t RESOURCE_DIRECTORY_FIELD = 96 + 2 * 8;  // data directory 2, in a PE32 optional header
constexpr std::size_t SECTION_HEADER_SIZE = 40;
constexpr std::size_t SECTION_VIRTUAL_ADDRESS_FIELD = 12;
constexpr std::size_t SECTION_RAW_SIZE_FIELD = 16;
constexpr std::size_t SECTION_RAW_POINTER_FIELD = 20;
constexpr std::size_t SECTION_CHARACTERISTICS_FIELD = 36;
constexpr std::uint32_t SUBDIRECTORY_BIT = 0x80000000u;
// Type, name, language: a deeper tree is not a resource tree.
constexpr int RESOURCE_TREE_LEVELS = 3;

std::uint32_t Read16(const Bytes& bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

std::uint32_t Read32(const Bytes& bytes, std::size_t at)
{
    return Read16(bytes, at) | (static_cast<std::uint32_t>(Read16(bytes, at + 2)) << 16);
}

void Write32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The loader's checksum: the file as 16-bit words, the checksum field left
// out, added with the carries folded back in, plus the file's length.
std::uint32_t ImageChecksum(const Bytes& bytes, std::size_t checksumAt)
{
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        if (at >= checksumAt && at < checksumAt + 4) {
            continue;
        }
        sum += at + 1 < bytes.size() ? Read16(bytes, at) : bytes[at];
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return sum + static_cast<std::uint32_t>(bytes.size());
}

struct ImageHeaders {
    std::size_t checksumAt;
    std::size_t resourceDirectoryAt;
    std::size_t sectionsAt;
    std::size_t sectionCount;
};

// Every offset found is checked against the file's size before use.
bool FindHeaders(const Bytes& bytes, ImageHeaders& headers, std::string& error)
{
    if (bytes.size() < DOS_HEADER_SIZE || bytes[0] != 'M' || bytes[1] != 'Z') {
        error = "no DOS header";
        return false;
    }
    const std::size_t pe = Read32(bytes, NEW_HEADER_OFFSET_FIELD);
    const std::size_t optional = pe + 4 + FILE_HEADER_SIZE;
    if (pe > bytes.size() || bytes.size() - pe < 4 + FILE_HEADER_SIZE ||
        !(bytes[pe] == 'P' && bytes[pe + 1] == 'E' && bytes[pe + 2] == 0 && bytes[pe + 3] == 0)) {
        error = "no PE header";
        return false;
    }
    headers.sectionCount = Read16(bytes, pe + 4 + 2);
    const std::size_t optionalSize = Read16(bytes, pe + 4 + 16);
    headers.checksumAt = optional + CHECKSUM_FIELD;
    headers.resourceDirectoryAt = optional + RESOURCE_DIRECTORY_FIELD;
    headers.sectionsAt = optional + optionalSize;
    if (optionalSize < RESOURCE_DIRECTORY_FIELD + 8 ||
        bytes.size() - optional < optionalSize + headers.sectionCount * SECTION_HEADER_SIZE) {
        error = "headers cut short";
        return false;
    }
    return true;
}

// The resource tree, read from the section's bytes in the file.
struct ResourceSection {
    const Bytes& bytes;
    std::size_t fileStart;   // where the tree starts in the file
    std::size_t size;        // of the section's bytes in the file
    std::uint32_t rvaStart;  // where the tree starts in memory
};

// Walks the directory at `offset` (from the tree's start) and raises `end` to
// the end (an RVA) of every resource's data below it.
bool FindDataEnd(const ResourceSection& tree, std::size_t offset, int level, std::uint32_t& end)
{
    if (level == RESOURCE_TREE_LEVELS || offset > tree.size || tree.size - offset < 16) {
        return false;
    }
    const std::size_t at = tree.fileStart + offset;
    const std::size_t entries = Read16(tree.bytes, at + 12) + Read16(tree.bytes, at + 14);
    if ((tree.size - offset - 16) / 8 < entries) {
        return false;
    }
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t target = Read32(tree.bytes, at + 16 + 8 * i + 4);
        if ((target & SUBDIRECTORY_BIT) != 0) {
            if (!FindDataEnd(tree, target & ~SUBDIRECTORY_BIT, level + 1, end)) {
                return false;
            }
            continue;
        }
        if (target > tree.size || tree.size - target < 16) {
            return false;
        }
        const std::uint32_t dataRva = Read32(tree.bytes, tree.fileStart + target);
        const std::uint32_t dataSize = Read32(tree.bytes, tree.fileStart + target + 4);
        if (dataRva < tree.rvaStart || dataRva - tree.rvaStart > tree.size ||
            tree.size - (dataRva - tree.rvaStart) < dataSize) {
            return false;
        }
        end = std::max(end, dataRva + dataSize);
    }
    return true;
}

bool FinishResourceSection(Bytes& bytes, std::string& error)
{
    ImageHeaders headers{};
    if (!FindHeaders(bytes, headers, error)) {
        return false;
    }
    // ld writes the checksum; one that differs from ours means the sum below
    // is not the loader's, and writing it would break a good image.
    const std::uint32_t stored = Read32(bytes, headers.checksumAt);
    if (stored != ImageChecksum(bytes, headers.checksumAt)) {
        error = "its checksum is not the one this program computes";
        return false;
    }
    const std::uint32_t directoryRva = Read32(bytes, headers.resourceDirectoryAt);
    for (std::size_t i = 0; i < headers.sectionCount; ++i) {
        const std::size_t section = headers.sectionsAt + i * SECTION_HEADER_SIZE;
        if (std::string(bytes.begin() + section, bytes.begin() + section + 8) != std::string(".rsrc\0\0\0", 8)) {
            continue;
        }
        const std::size_t rawStart = Read32(bytes, section + SECTION_RAW_POINTER_FIELD);
        const std::size_t rawSize = Read32(bytes, section + SECTION_RAW_SIZE_FIELD);
        if (Read32(bytes, section + SECTION_VIRTUAL_ADDRESS_FIELD) != directoryRva || rawStart > bytes.size() ||
            bytes.size() - rawStart < rawSize) {
            error = "the resource directory does not start its .rsrc section";
            return false;
        }
        std::uint32_t dataEnd = directoryRva;
        if (!FindDataEnd(ResourceSection{bytes, rawStart, rawSize, directoryRva}, 0, 0, dataEnd)) {
            error = "its resource tree is not one this program can read";
            return false;
        }
        Write32(bytes, headers.resourceDirectoryAt + 4, dataEnd - directoryRva);
        const std::size_t characteristics = section + SECTION_CHARACTERISTICS_FIELD;
        Write32(bytes, characteristics, Read32(bytes, characteristics) & ~IMAGE_SCN_MEM_WRITE);
        Write32(bytes, headers.checksumAt, ImageChecksum(bytes, headers.checksumAt));
        return true;
    }
    error = "no .rsrc section";
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: finish-resource-section <image>\n");
        return 2;
    }
    const std::string path = argv[1];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "finish-resource-section: cannot read %s\n", path.c_str());
        return 1;
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::string error;
    if (!FinishResourceSection(bytes, error)) {
        std::fprintf(stderr, "finish-resource-section: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    // Written over the old bytes in place (the size is the same), so the
    // file keeps its permissions.
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "finish-resource-section: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
