// The sections of the built Qodex.exe as llvm-readobj reads them: the
// resource data directory covers the resource tree and its data and nothing
// after them, so a resource editor that rewrites that range rewrites only
// resources; the resource section is read-only; no section is both writable
// and executable; and what is writable takes no bytes of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_layout.h"
#include "checker_options.h"
#include "readobj_resources.h"

namespace {

const char WRITABLE[] = "IMAGE_SCN_MEM_WRITE";
const char EXECUTABLE[] = "IMAGE_SCN_MEM_EXECUTE";
const char UNINITIALIZED[] = "IMAGE_SCN_CNT_UNINITIALIZED_DATA";

// Resource data starts on an 8-byte boundary, so the section may go on for
// up to 7 bytes of padding after the last resource's data (outside the
// directory).
const uint64_t RESOURCE_DATA_ALIGNMENT = 8;

uint64_t AlignUp(uint64_t value, uint64_t alignment) { return (value + alignment - 1) / alignment * alignment; }

std::string Hex(uint64_t value) { return expected::Hex(static_cast<uint32_t>(value)); }

struct Section {
    std::string name;
    const readobj::Block* block;
};

class SectionLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(ReadobjTree({"--file-headers", "--sections", "--coff-resources"}, Options().qodex, root_, error))
            << error;
        const readobj::Block* optional = root_.Child("ImageOptionalHeader");
        ASSERT_NE(optional, nullptr);
        const readobj::Block* directories = optional->Child("DataDirectory");
        ASSERT_NE(directories, nullptr);
        ASSERT_TRUE(readobj::NumberValue(*directories, "ResourceTableRVA", directoryStart_));
        uint64_t size = 0;
        ASSERT_TRUE(readobj::NumberValue(*directories, "ResourceTableSize", size));
        directoryEnd_ = directoryStart_ + size;

        const readobj::Block* sections = root_.Child("Sections");
        ASSERT_NE(sections, nullptr) << "llvm-readobj lists no sections";
        for (const readobj::Block* section : sections->ChildrenStartingWith("Section")) {
            // "Name: .rsrc (2E 72 73 72 63 00 00 00)"
            const std::string name = section->Value("Name");
            sections_.push_back({name.substr(0, name.find(' ')), section});
        }
        ASSERT_FALSE(sections_.empty());
    }

    const readobj::Block* SectionNamed(const std::string& name) const
    {
        for (const Section& section : sections_) {
            if (section.name == name) {
                return section.block;
            }
        }
        return nullptr;
    }

    readobj::Block root_;
    uint64_t directoryStart_ = 0;
    uint64_t directoryEnd_ = 0;
    std::vector<Section> sections_;
};

// Each resource's data entry, wherever the walk of the tree finds it.
struct ResourceData {
    std::string where;  // the heads of the blocks above it
    uint64_t start;
    uint64_t end;
};

void CollectData(const readobj::Block& block, const std::string& where, std::vector<ResourceData>& found)
{
    uint64_t start = 0;
    uint64_t size = 0;
    if (readobj::NumberValue(block, "DataRVA", start) && readobj::NumberValue(block, "DataSize", size)) {
        found.push_back({where, start, start + size});
    }
    for (const readobj::Block& child : block.children) {
        CollectData(child, where + "/" + child.head, found);
    }
}

TEST_F(SectionLayout, ResourceDirectoryEndsWithTheLastResourcesData)
{
    const readobj::Block* resources = root_.Child("Resources");
    ASSERT_NE(resources, nullptr) << "llvm-readobj printed no resource table";
    std::vector<ResourceData> data;
    CollectData(*resources, "", data);
    ASSERT_FALSE(data.empty()) << "the walk of the resource tree found no data";

    uint64_t lastEnd = 0;
    for (const ResourceData& entry : data) {
        EXPECT_TRUE(entry.start >= directoryStart_ && entry.end <= directoryEnd_)
            << entry.where << ": data at " << Hex(entry.start) << " to " << Hex(entry.end)
            << " lies outside the resource directory, " << Hex(directoryStart_) << " to " << Hex(directoryEnd_);
        lastEnd = std::max(lastEnd, entry.end);
    }
    EXPECT_EQ(Hex(lastEnd), Hex(directoryEnd_))
        << "the resource directory should end where the last resource's data ends: whatever lies beyond is not a "
           "resource";
}

TEST_F(SectionLayout, ResourceSectionHoldsTheResourcesAloneAndIsReadOnly)
{
    const readobj::Block* rsrc = SectionNamed(".rsrc");
    ASSERT_NE(rsrc, nullptr) << "no section .rsrc";
    uint64_t start = 0;
    uint64_t size = 0;
    ASSERT_TRUE(readobj::NumberValue(*rsrc, "VirtualAddress", start));
    ASSERT_TRUE(readobj::NumberValue(*rsrc, "VirtualSize", size));
    EXPECT_EQ(Hex(directoryStart_), Hex(start)) << "the resource directory does not start the section";
    EXPECT_LE(start + size, AlignUp(directoryEnd_, RESOURCE_DATA_ALIGNMENT))
        << ".rsrc goes on after the resource directory";
    EXPECT_FALSE(readobj::HasFlag(rsrc->Child("Characteristics"), WRITABLE)) << ".rsrc is writable";
}

TEST_F(SectionLayout, NoSectionIsWritableAndExecutable)
{
    for (const Section& section : sections_) {
        const readobj::Block* flags = section.block->Child("Characteristics");
        EXPECT_FALSE(readobj::HasFlag(flags, WRITABLE) && readobj::HasFlag(flags, EXECUTABLE)) << section.name;
    }
}

// The variables start as zero, which the loader makes: no file bytes.
TEST_F(SectionLayout, WritableSectionsHoldOnlyUninitialisedData)
{
    for (const Section& section : sections_) {
        const readobj::Block* flags = section.block->Child("Characteristics");
        if (!readobj::HasFlag(flags, WRITABLE)) {
            continue;
        }
        uint64_t rawSize = 0;
        ASSERT_TRUE(readobj::NumberValue(*section.block, "RawDataSize", rawSize)) << section.name;
        EXPECT_EQ(0u, rawSize) << section.name << " is writable and takes file bytes";
        EXPECT_TRUE(readobj::HasFlag(flags, UNINITIALIZED)) << section.name;
    }
}

}  // namespace
