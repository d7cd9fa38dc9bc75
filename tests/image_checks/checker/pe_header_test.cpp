// The PE header, base relocations, imports and file size of the built
// Qodex.exe, as llvm-readobj reads them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "checker_options.h"
#include "readobj_resources.h"

namespace {

class ImageHeaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(ReadobjTree({"--file-headers", "--coff-imports", "--coff-basereloc", "--coff-resources"},
                                Options().qodex, root_, error))
            << error;
    }

    // The block with this head just below the root; "" is the root itself.
    const readobj::Block* At(const std::string& head) const { return head.empty() ? &root_ : root_.Child(head); }

    // Where the optional header says each table is, and how large.
    const readobj::Block* DataDirectory() const
    {
        const readobj::Block* optional = root_.Child("ImageOptionalHeader");
        return optional == nullptr ? nullptr : optional->Child("DataDirectory");
    }

    readobj::Block root_;
};

using PeHeader = ImageHeaders;
using Relocations = ImageHeaders;
using Imports = ImageHeaders;

struct HeaderValue {
    const char* fact;
    const char* block;
    const char* key;
    const char* value;
};

// clang-format off
const HeaderValue HEADER_VALUES[] = {
    // fact                 block                   key              value
    {"32-bit",              "",                     "AddressSize",   "32bit"},
    {"machine i386",        "ImageFileHeader",      "Machine",       "IMAGE_FILE_MACHINE_I386 (0x14C)"},
    {"PE32",                "ImageOptionalHeader",  "Magic",         "0x10B"},
    {"GUI subsystem",       "ImageOptionalHeader",  "Subsystem",     "IMAGE_SUBSYSTEM_WINDOWS_GUI (0x2)"},
    {"no time stamp",       "ImageFileHeader",      "TimeDateStamp", "1970-01-01 00:00:00 (0x0)"},
    {"no symbol table",     "ImageFileHeader",      "SymbolCount",   "0"},
};
// clang-format on

TEST_F(PeHeader, IsA32BitI386GuiProgramWithoutTimeStampOrSymbols)
{
    for (const HeaderValue& row : HEADER_VALUES) {
        SCOPED_TRACE(row.fact);
        const readobj::Block* block = At(row.block);
        ASSERT_NE(block, nullptr) << "no block " << row.block;
        EXPECT_EQ(row.value, block->Value(row.key)) << row.key;
    }
}

struct HeaderFlag {
    const char* block;  // its "Characteristics" list
    const char* flag;
    bool set;
    const char* why;
};

// clang-format off
const HeaderFlag HEADER_FLAGS[] = {
    // block                  flag                                       set    why
    {"ImageFileHeader",       "IMAGE_FILE_32BIT_MACHINE",                true,  "a 32-bit program"},
    {"ImageFileHeader",       "IMAGE_FILE_EXECUTABLE_IMAGE",             true,  "a program, linked"},
    {"ImageFileHeader",       "IMAGE_FILE_RELOCS_STRIPPED",              false, "ASLR needs the relocations"},
    {"ImageOptionalHeader",   "IMAGE_DLL_CHARACTERISTICS_DYNAMIC_BASE",  true,  "ASLR"},
    {"ImageOptionalHeader",   "IMAGE_DLL_CHARACTERISTICS_NX_COMPAT",     true,  "DEP"},
};
// clang-format on

TEST_F(PeHeader, AllowsAslrAndDep)
{
    for (const HeaderFlag& row : HEADER_FLAGS) {
        const readobj::Block* header = At(row.block);
        ASSERT_NE(header, nullptr) << "no block " << row.block;
        EXPECT_EQ(row.set, readobj::HasFlag(header->Child("Characteristics"), row.flag))
            << row.block << ": " << row.flag << (row.set ? " missing" : " set") << " (" << row.why << ")";
    }
}

TEST_F(PeHeader, NamesAResourceTableWhoseDirectoriesCarryNoTimeStamp)
{
    const readobj::Block* directories = DataDirectory();
    ASSERT_NE(directories, nullptr);
    EXPECT_NE("0x0", directories->Value("ResourceTableSize"));
    const readobj::Block* table = root_.Child("Resources");
    ASSERT_NE(table, nullptr);
    int stamps = 0;
    // Every directory that llvm-readobj describes lists its stamp.
    std::vector<const readobj::Block*> pending{table};
    while (!pending.empty()) {
        const readobj::Block* block = pending.back();
        pending.pop_back();
        const std::string stamp = block->Value("Time/Date Stamp");
        if (!stamp.empty()) {
            ++stamps;
            EXPECT_NE(std::string::npos, stamp.find("(0x0)")) << block->head << ": " << stamp;
        }
        for (const readobj::Block& child : block->children) {
            pending.push_back(&child);
        }
    }
    EXPECT_GT(stamps, 0);
}

TEST_F(Relocations, FixUpThe32BitAddressesWhenTheImageMoves)
{
    const readobj::Block* directories = DataDirectory();
    ASSERT_NE(directories, nullptr);
    EXPECT_NE("0x0", directories->Value("BaseRelocationTableRVA"));
    EXPECT_NE("0x0", directories->Value("BaseRelocationTableSize"));

    const readobj::Block* relocations = root_.Child("BaseReloc");
    ASSERT_NE(relocations, nullptr) << "llvm-readobj lists no base relocations";
    size_t addresses = 0;
    for (const readobj::Block* entry : relocations->ChildrenStartingWith("Entry")) {
        if (entry->Value("Type") == "HIGHLOW") {
            ++addresses;
        }
    }
    EXPECT_GT(addresses, 0u) << "32-bit absolute addresses to fix up";
}

TEST_F(Imports, ComeOnlyFromKernelUserCommonControlsAndOle)
{
    std::set<std::string> dlls;
    for (const readobj::Block* import : root_.ChildrenStartingWith("Import")) {
        std::string name = import->Value("Name");
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
        dlls.insert(name);
    }
    const std::set<std::string> wanted = {"KERNEL32.DLL", "USER32.DLL", "COMCTL32.DLL", "OLE32.DLL"};
    EXPECT_EQ(wanted, dlls);
    EXPECT_TRUE(root_.ChildrenStartingWith("DelayImport").empty()) << "no delay-loaded imports";
}

TEST(FileSize, IsWithinTheBudget)
{
    struct stat file {};
    ASSERT_EQ(0, stat(Options().qodex.c_str(), &file)) << Options().qodex;
    const uint64_t size = static_cast<uint64_t>(file.st_size);
    EXPECT_LE(size, Options().sizeBudget) << "Qodex.exe has " << size << " bytes, " << size - Options().sizeBudget
                                          << " more than its budget of " << Options().sizeBudget;
    std::printf("Qodex.exe: %llu bytes, budget %llu\n", static_cast<unsigned long long>(size),
                static_cast<unsigned long long>(Options().sizeBudget));
}

}  // namespace
