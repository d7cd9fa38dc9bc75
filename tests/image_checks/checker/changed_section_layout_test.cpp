// A copy of Qodex.exe with a writable resource section, a writable code
// section or a resource directory that reaches past the resources must make
// the checker fail, in the section layout checks and in nothing else. The
// checker runs itself, as a program of its own, on such copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "checker_options.h"
#include "checker_self_run.h"
#include "files.h"
#include "readobj_resources.h"

namespace {

const char LAYOUT_SUITE[] = "SectionLayout";

const uint32_t IMAGE_SCN_MEM_WRITE = 0x80000000u;
const size_t SECTION_NAME_SIZE = 8;
const size_t SECTION_CHARACTERISTICS_FIELD = 36;  // from the start of a section header

uint32_t Read32(const expected::Bytes& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

void Write32(expected::Bytes& bytes, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Where `wanted` stands in the file, when it stands there exactly once.
::testing::AssertionResult FindOnce(const expected::Bytes& bytes, const expected::Bytes& wanted, size_t& at)
{
    const auto found = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
    if (found == bytes.end()) {
        return ::testing::AssertionFailure() << "not in the file";
    }
    if (std::search(found + 1, bytes.end(), wanted.begin(), wanted.end()) != bytes.end()) {
        return ::testing::AssertionFailure() << "in the file more than once";
    }
    at = static_cast<size_t>(found - bytes.begin());
    return ::testing::AssertionSuccess();
}

expected::Bytes Le32Pair(uint32_t first, uint32_t second)
{
    expected::Bytes bytes(8);
    Write32(bytes, 0, first);
    Write32(bytes, 4, second);
    return bytes;
}

struct LayoutChange {
    const char* what;
    const char* section;       // the section whose header gets IMAGE_SCN_MEM_WRITE, or nullptr
    uint32_t directoryGrowth;  // bytes added to the resource data directory's size
};

// clang-format off
const LayoutChange LAYOUT_CHANGES[] = {
    // what                                                        section   directory growth
    {"the resource section writable",                              ".rsrc",  0},
    {"the code section writable as well as executable",            ".text",  0},
    {"the resource directory over 16 bytes after the resources",   nullptr,  16},
};
// clang-format on

TEST(ChangedSectionLayout, FailsTheSectionLayoutChecksAndNothingElse)
{
    expected::Bytes original;
    ASSERT_TRUE(ReadFileBytes(Options().qodex, original)) << Options().qodex;
    // The resource directory's entry in the optional header is found by its
    // two values, as llvm-readobj reads them.
    readobj::Block headers;
    std::string error;
    ASSERT_TRUE(ReadobjTree({"--file-headers"}, Options().qodex, headers, error)) << error;
    const readobj::Block* optional = headers.Child("ImageOptionalHeader");
    ASSERT_NE(optional, nullptr);
    const readobj::Block* directories = optional->Child("DataDirectory");
    ASSERT_NE(directories, nullptr);
    uint64_t directoryStart = 0;
    uint64_t directorySize = 0;
    ASSERT_TRUE(readobj::NumberValue(*directories, "ResourceTableRVA", directoryStart));
    ASSERT_TRUE(readobj::NumberValue(*directories, "ResourceTableSize", directorySize));
    size_t directoryEntry = 0;
    ASSERT_TRUE(FindOnce(original,
                         Le32Pair(static_cast<uint32_t>(directoryStart), static_cast<uint32_t>(directorySize)),
                         directoryEntry))
        << "the resource directory's entry";

    const CheckedCopy copy;
    const CheckerRun unchanged = copy.Check(original);
    ASSERT_TRUE(PassesEverythingWith(unchanged, LAYOUT_SUITE));

    for (const LayoutChange& change : LAYOUT_CHANGES) {
        SCOPED_TRACE(change.what);
        expected::Bytes changed = original;
        if (change.section != nullptr) {
            expected::Bytes name(SECTION_NAME_SIZE, 0);
            std::copy(change.section, change.section + std::char_traits<char>::length(change.section), name.begin());
            size_t header = 0;
            ASSERT_TRUE(FindOnce(original, name, header)) << "the header of " << change.section;
            const size_t characteristics = header + SECTION_CHARACTERISTICS_FIELD;
            Write32(changed, characteristics, Read32(changed, characteristics) | IMAGE_SCN_MEM_WRITE);
        }
        Write32(changed, directoryEntry + 4, static_cast<uint32_t>(directorySize) + change.directoryGrowth);
        EXPECT_TRUE(FailsOnlyIn(copy.Check(changed), LAYOUT_SUITE, unchanged));
    }
}

}  // namespace
