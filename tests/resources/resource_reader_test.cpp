// Reads the built Qodex.exe with readers of other makers and checks its
// resources and PE header against what they must be:
//   - the Win32 resource, version and icon functions (under Wine in the
//     cross build), on the file loaded as a data file;
//   - llvm-readobj, whose printed output a ctest fixture step left in a file.
//
// Arguments: --qodex=<Qodex.exe> --readobj=<llvm-readobj output>
//            --icon-map=<the icon's pixel map>
#include "expected_resources.h"
#include "readobj_output.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

using expected::Bytes;
using expected::ResourceKey;
using support::Hex;

std::string g_qodexPath;
std::string g_readobjPath;
std::string g_iconMapPath;

struct Resource {
    ResourceKey key;
    Bytes data;
};

std::string Describe(const ResourceKey& key)
{
    const std::string type = key.typeName.empty() ? "type " + std::to_string(key.typeId) : "type \"" + key.typeName + "\"";
    const std::string name = key.name.empty() ? "id " + std::to_string(key.nameId) : "name \"" + key.name + "\"";
    return type + ", " + name + ", language " + std::to_string(key.language);
}

bool SameKey(const ResourceKey& a, const ResourceKey& b)
{
    return a.typeId == b.typeId && a.typeName == b.typeName && a.nameId == b.nameId && a.name == b.name &&
           a.language == b.language;
}

// ---- the Win32 API as reader ------------------------------------------

void SplitResourceName(LPCSTR text, std::uint16_t& id, std::string& name)
{
    if (IS_INTRESOURCE(text)) {
        id = static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(text));
        name.clear();
    } else {
        id = 0;
        name = text;
    }
}

LPCSTR ResourceNameArgument(std::uint16_t id, const std::string& name)
{
    return name.empty() ? MAKEINTRESOURCEA(id) : name.c_str();
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    ResourceKey key{};
    SplitResourceName(type, key.typeId, key.typeName);
    SplitResourceName(name, key.nameId, key.name);
    key.language = language;
    reinterpret_cast<std::vector<ResourceKey>*>(param)->push_back(key);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, param);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param)
{
    EnumResourceNamesA(module, type, CollectName, param);
    return TRUE;
}

class DataFile {
public:
    explicit DataFile(const std::string& path)
        : module_(LoadLibraryExA(support::WindowsPath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~DataFile()
    {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

std::vector<Resource> ReadWithWin32(std::string& error)
{
    DataFile file(g_qodexPath);
    if (file.Module() == nullptr) {
        error = "LoadLibraryExA failed for " + g_qodexPath + ", error " + Hex(GetLastError());
        return {};
    }
    std::vector<ResourceKey> keys;
    EnumResourceTypesA(file.Module(), CollectType, reinterpret_cast<LONG_PTR>(&keys));

    std::vector<Resource> resources;
    for (const ResourceKey& key : keys) {
        HRSRC found = FindResourceExA(file.Module(), ResourceNameArgument(key.typeId, key.typeName),
                                      ResourceNameArgument(key.nameId, key.name), key.language);
        if (found == nullptr) {
            error = "FindResourceExA does not find what it enumerated: " + Describe(key);
            return {};
        }
        const DWORD size = SizeofResource(file.Module(), found);
        HGLOBAL loaded = LoadResource(file.Module(), found);
        const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
        if (bytes == nullptr) {
            error = "LoadResource/LockResource failed for " + Describe(key);
            return {};
        }
        resources.push_back({key, Bytes(bytes, bytes + size)});
    }
    return resources;
}

// ---- llvm-readobj as reader --------------------------------------------

bool LoadReadobj(readobj::Block& root, std::string& error)
{
    std::string text;
    if (!support::ReadFile(g_readobjPath, text)) {
        error = "cannot read the llvm-readobj output " + g_readobjPath;
        return false;
    }
    if (!readobj::Parse(text, root)) {
        error = "the llvm-readobj output does not pair its brackets";
        return false;
    }
    return true;
}

void SplitReadobjName(const std::string& head, const std::string& label, std::uint16_t& id, std::string& name)
{
    const long number = readobj::IdOf(head);
    if (number >= 0) {
        id = static_cast<std::uint16_t>(number);
        name.clear();
    } else {
        id = 0;
        name = head.substr(label.size());
    }
}

std::vector<Resource> ReadWithReadobj(std::string& error)
{
    readobj::Block root;
    if (!LoadReadobj(root, error)) {
        return {};
    }
    const readobj::Block* table = root.Child("Resources");
    if (table == nullptr) {
        error = "llvm-readobj printed no resource table";
        return {};
    }
    std::vector<Resource> resources;
    for (const readobj::Block* type : table->ChildrenStartingWith("Type: ")) {
        for (const readobj::Block* name : type->ChildrenStartingWith("Name: ")) {
            for (const readobj::Block* language : name->ChildrenStartingWith("Language: ")) {
                Resource resource;
                SplitReadobjName(type->head, "Type: ", resource.key.typeId, resource.key.typeName);
                SplitReadobjName(name->head, "Name: ", resource.key.nameId, resource.key.name);
                resource.key.language = static_cast<std::uint16_t>(readobj::IdOf(language->head));
                const readobj::Block* entry = language->Child("Data");
                const readobj::Block* dump = entry == nullptr ? nullptr : entry->Child("Data");
                if (dump == nullptr || !readobj::HexDumpBytes(*dump, resource.data)) {
                    error = "no readable data dump for " + Describe(resource.key);
                    return {};
                }
                resources.push_back(resource);
            }
        }
    }
    return resources;
}

// ---- the checks, once for each reader ------------------------------------

enum class Reader { Win32Api, LlvmReadobj };

void PrintTo(Reader reader, std::ostream* out)
{
    *out << (reader == Reader::Win32Api ? "the Win32 resource functions" : "llvm-readobj");
}

class ResourcesOfQodex : public ::testing::TestWithParam<Reader> {
protected:
    void SetUp() override
    {
        std::string error;
        resources_ = GetParam() == Reader::Win32Api ? ReadWithWin32(error) : ReadWithReadobj(error);
        ASSERT_TRUE(error.empty()) << error;
    }

    // The data of the one resource with this key; fails the test if absent.
    const Bytes* Find(const ResourceKey& key)
    {
        for (const Resource& resource : resources_) {
            if (SameKey(resource.key, key)) {
                return &resource.data;
            }
        }
        ADD_FAILURE() << "no resource " << Describe(key);
        return nullptr;
    }

    std::vector<Resource> resources_;
};

const ResourceKey kIcon{3, "", 1, "", 1033};
const ResourceKey kDialog{5, "", 0, "QODEXDECODER", 1033};
const ResourceKey kIconGroup{14, "", 0, "QODEX", 1033};
const ResourceKey kVersion{16, "", 1, "", 1033};
const ResourceKey kManifest{24, "", 1, "", 1033};

TEST_P(ResourcesOfQodex, HoldsExactlyTheFiveResourcesUnderLanguage1033)
{
    std::vector<std::string> found;
    for (const Resource& resource : resources_) {
        found.push_back(Describe(resource.key));
    }
    std::vector<std::string> wanted;
    for (const ResourceKey& key : expected::ResourceDirectory()) {
        wanted.push_back(Describe(key));
    }
    std::sort(found.begin(), found.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(wanted, found);
}

TEST_P(ResourcesOfQodex, VersionInformationIsByteForByteTheExpectedTree)
{
    const Bytes* data = Find(kVersion);
    ASSERT_NE(data, nullptr);
    const Bytes wanted = expected::VersionInfo();
    EXPECT_EQ(wanted.size(), 860u);  // the root node's own length
    EXPECT_EQ("", support::FirstDifference(wanted, *data));
}

// Walks the tree as any reader does (each child at the next 32-bit boundary
// after its predecessor) and compares what it meets with the expected
// nodes, so a fault is named by node rather than by byte offset. A node
// that is not padded to its boundary shows up as a wrong key or length.
struct WalkedNode {
    std::size_t offset;
    expected::VersionNode node;
};

bool WalkVersionNode(const Bytes& data, std::size_t offset, int depth, std::vector<WalkedNode>& out)
{
    auto word = [&](std::size_t at) { return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8)); };
    if (offset + 6 > data.size()) {
        return false;
    }
    expected::VersionNode node{depth, "", word(offset), word(offset + 2), word(offset + 4)};
    const std::size_t end = offset + node.length;
    if (end > data.size() || node.length < 6) {
        return false;
    }
    std::size_t at = offset + 6;
    for (; at + 1 < end && word(at) != 0; at += 2) {
        node.key.push_back(static_cast<char>(word(at)));
    }
    at = (at + 2 + 3) & ~std::size_t{3};
    out.push_back({offset, node});
    // Text values count characters, the others bytes.
    at += node.type == 1 ? 2u * node.valueLength : node.valueLength;
    at = (at + 3) & ~std::size_t{3};
    while (at < end) {
        const std::size_t child = out.size();
        if (!WalkVersionNode(data, at, depth + 1, out)) {
            return false;
        }
        at = (at + out[child].node.length + 3) & ~std::size_t{3};
    }
    return true;
}

TEST_P(ResourcesOfQodex, VersionNodesSitOn32BitBoundariesWithTheirTypesAndLengths)
{
    const Bytes* data = Find(kVersion);
    ASSERT_NE(data, nullptr);
    std::vector<WalkedNode> walked;
    ASSERT_TRUE(WalkVersionNode(*data, 0, 0, walked)) << "a node's length runs past the resource";
    const std::vector<expected::VersionNode> wanted = expected::VersionNodes();
    ASSERT_EQ(wanted.size(), walked.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const expected::VersionNode& got = walked[i].node;
        SCOPED_TRACE("node " + std::to_string(i) + " \"" + wanted[i].key + "\" at offset " +
                     Hex(static_cast<std::uint32_t>(walked[i].offset)));
        EXPECT_EQ(wanted[i].key, got.key);
        EXPECT_EQ(wanted[i].depth, got.depth);
        EXPECT_EQ(wanted[i].type, got.type) << "node type";
        EXPECT_EQ(wanted[i].length, got.length) << Hex(wanted[i].length) << " vs " << Hex(got.length);
        EXPECT_EQ(wanted[i].valueLength, got.valueLength)
            << Hex(wanted[i].valueLength) << " vs " << Hex(got.valueLength);
    }
}

TEST_P(ResourcesOfQodex, ManifestIsByteForByteTheExpectedDocument)
{
    const Bytes* data = Find(kManifest);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(670u, data->size());
    ASSERT_GE(data->size(), 3u);
    EXPECT_FALSE((*data)[0] == 0xEF && (*data)[1] == 0xBB && (*data)[2] == 0xBF) << "byte-order mark";
    std::size_t crlf = 0;
    std::size_t bareLf = 0;
    for (std::size_t i = 0; i < data->size(); ++i) {
        if ((*data)[i] == '\n') {
            ++(i > 0 && (*data)[i - 1] == '\r' ? crlf : bareLf);
        }
    }
    EXPECT_EQ(21u, crlf);
    EXPECT_EQ(0u, bareLf);
    EXPECT_TRUE(data->size() >= 2 && (*data)[data->size() - 2] == '\r' && data->back() == '\n')
        << "the last line ends in CR LF";
    EXPECT_EQ("", support::FirstDifference(expected::Manifest(), *data));
}

TEST_P(ResourcesOfQodex, IconGroupNamesTheOneImage)
{
    const Bytes* group = Find(kIconGroup);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(20u, group->size());
    EXPECT_EQ("", support::FirstDifference(expected::IconGroup(), *group));
}

TEST_P(ResourcesOfQodex, IconImageHasTheHeaderPaletteAndSize)
{
    const Bytes* image = Find(kIcon);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(744u, image->size()) << "40 header + 64 palette + 512 colour bitmap + 128 mask";
    EXPECT_EQ("", support::FirstDifference(expected::IconImageHeader(), Bytes(image->begin(), image->begin() + 40)));
    EXPECT_EQ("", support::FirstDifference(expected::PaletteOfIcon(),
                                           Bytes(image->begin() + 40, image->begin() + 104)));
}

TEST_P(ResourcesOfQodex, DialogTemplateHasTheHeaderAndSixItems)
{
    const Bytes* data = Find(kDialog);
    ASSERT_NE(data, nullptr);
    const Bytes wanted = expected::DialogTemplate();
    EXPECT_EQ("", support::FirstDifference(wanted, *data));
}

INSTANTIATE_TEST_SUITE_P(Readers, ResourcesOfQodex, ::testing::Values(Reader::Win32Api, Reader::LlvmReadobj),
                         [](const ::testing::TestParamInfo<Reader>& param) {
                             return param.param == Reader::Win32Api ? "Win32Api" : "LlvmReadobj";
                         });

// ---- what the version functions make of it ------------------------------

class VersionFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = support::WindowsPath(g_qodexPath);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_NE(0u, size) << "GetFileVersionInfoSizeA, error " << Hex(GetLastError());
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block_.data()));
    }

    std::string String(const std::string& key)
    {
        char* text = nullptr;
        UINT length = 0;
        const std::string path = "\\StringFileInfo\\040904E4\\" + key;
        if (!VerQueryValueA(block_.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
            text == nullptr) {
            return "<VerQueryValueA finds no " + key + ">";
        }
        return text;
    }

    std::vector<char> block_;
};

TEST_F(VersionFunctions, FindTheFixedPart)
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    const struct {
        const char* field;
        DWORD wanted;
        DWORD got;
    } fields[] = {
        {"dwSignature", 0xFEEF04BD, fixed->dwSignature},
        {"dwStrucVersion", 0x00010000, fixed->dwStrucVersion},
        {"dwFileVersionMS", 0x00010000, fixed->dwFileVersionMS},
        {"dwFileVersionLS", 0x00000000, fixed->dwFileVersionLS},
        {"dwProductVersionMS", 0x00010000, fixed->dwProductVersionMS},
        {"dwProductVersionLS", 0x00000000, fixed->dwProductVersionLS},
        {"dwFileFlagsMask", 0, fixed->dwFileFlagsMask},
        {"dwFileFlags", 0, fixed->dwFileFlags},
        {"dwFileOS", VOS__WINDOWS32, fixed->dwFileOS},
        {"dwFileType", VFT_APP, fixed->dwFileType},
        {"dwFileSubtype", 0, fixed->dwFileSubtype},
        {"dwFileDateMS", 0, fixed->dwFileDateMS},
        {"dwFileDateLS", 0, fixed->dwFileDateLS},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(f.wanted, f.got) << f.field << ": expected " << Hex(f.wanted) << ", got " << Hex(f.got);
    }
}

TEST_F(VersionFunctions, FindTheStringsUnderEnglishAndCodePage1252)
{
    const std::pair<const char*, const char*> strings[] = {
        {"CompanyName", "Varnholt"},
        {"FileDescription", "Display the error"},
        {"FileVersion", "1.0.0.0"},
        {"InternalName", "QODEX"},
        {"OriginalFilename", "Qodex.exe"},
        {"LegalCopyright", "Copyright (C) 2026 Varnholt"},
        {"ProductName", "QODEX"},
        {"ProductVersion", "1.0.0.0"},
        {"Comments", "For others utilities please visit the web site: https://varnholt.example"},
    };
    for (const auto& s : strings) {
        EXPECT_EQ(s.second, String(s.first)) << s.first;
    }
}

TEST_F(VersionFunctions, FindOneTranslationPair)
{
    WORD* pairs = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pairs), &length));
    ASSERT_EQ(4u, length) << "one language and code page pair";
    EXPECT_EQ(0x0409, pairs[0]) << Hex(pairs[0]);
    EXPECT_EQ(0x04E4, pairs[1]) << Hex(pairs[1]);
}

// ---- the icon as the system draws it -------------------------------------

// Palette index per pixel, -1 for transparent, from the icon's source.
bool ReadIconMap(std::vector<std::vector<int>>& rows)
{
    std::string text;
    if (!support::ReadFile(g_iconMapPath, text)) {
        return false;
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<int> row;
        for (char c : line) {
            row.push_back(c == '.' ? -1 : (c <= '9' ? c - '0' : c - 'A' + 10));
        }
        rows.push_back(row);
    }
    return true;
}

// Draws the icon over a plain background and returns the 32x32 pixels as
// 0xRRGGBB, top row first.
std::vector<std::uint32_t> DrawOver(HICON icon, COLORREF background)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < 32 * 32; ++i) {
            pixels.push_back(p[i] & 0xFFFFFF);
        }
        SelectObject(dc, old);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return pixels;
}

TEST(IconOfQodex, SystemChoosesAndDrawsItAsItsPixelMapShowsIt)
{
    std::string error;
    const std::vector<Resource> resources = ReadWithWin32(error);
    ASSERT_TRUE(error.empty()) << error;
    const Bytes* group = nullptr;
    const Bytes* image = nullptr;
    for (const Resource& r : resources) {
        if (SameKey(r.key, kIconGroup)) {
            group = &r.data;
        }
        if (SameKey(r.key, kIcon)) {
            image = &r.data;
        }
    }
    ASSERT_TRUE(group != nullptr && image != nullptr);

    Bytes groupCopy = *group;
    EXPECT_EQ(1, LookupIconIdFromDirectoryEx(groupCopy.data(), TRUE, 32, 32, LR_DEFAULTCOLOR));

    Bytes imageCopy = *image;
    HICON icon = CreateIconFromResourceEx(imageCopy.data(), static_cast<DWORD>(imageCopy.size()), TRUE,
                                          0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_NE(nullptr, icon) << "CreateIconFromResourceEx, error " << Hex(GetLastError());

    std::vector<std::vector<int>> map;
    ASSERT_TRUE(ReadIconMap(map)) << "cannot read " << g_iconMapPath;
    ASSERT_EQ(32u, map.size());

    const std::uint32_t palette[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    // Two backgrounds that are not in the palette: a transparent pixel
    // shows each of them, an opaque one neither.
    const std::uint32_t backgrounds[] = {0x123456, 0xA9CB87};
    int transparent = 0;
    std::set<int> colours;
    for (std::uint32_t background : backgrounds) {
        const COLORREF colorref = RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF);
        const std::vector<std::uint32_t> pixels = DrawOver(icon, colorref);
        ASSERT_EQ(32u * 32u, pixels.size()) << "could not draw into a memory bitmap";
        for (int y = 0; y < 32; ++y) {
            ASSERT_EQ(32u, map[static_cast<std::size_t>(y)].size()) << "map row " << y;
            for (int x = 0; x < 32; ++x) {
                const int index = map[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                const std::uint32_t wanted = index < 0 ? background : palette[index];
                const std::uint32_t got = pixels[static_cast<std::size_t>(y * 32 + x)];
                ASSERT_EQ(wanted, got) << "pixel (" << x << ", " << y << ") over " << Hex(background)
                                       << ": expected " << Hex(wanted) << ", got " << Hex(got);
                transparent += index < 0 ? 1 : 0;
                if (index >= 0) {
                    colours.insert(index);
                }
            }
        }
    }
    DestroyIcon(icon);
    // A picture, not a blank: some of it is see-through, most of it is not,
    // and it uses several colours.
    EXPECT_GT(transparent / 2, 32 * 32 / 10);
    EXPECT_LT(transparent / 2, 32 * 32 / 2);
    EXPECT_GE(colours.size(), 4u);
}

// ---- the PE header, as llvm-readobj reads it -----------------------------

class PeHeader : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadReadobj(root_, error)) << error;
    }
    readobj::Block root_;
};

bool HasLine(const readobj::Block* block, const std::string& prefix)
{
    if (block == nullptr) {
        return false;
    }
    return std::any_of(block->lines.begin(), block->lines.end(),
                       [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; });
}

TEST_F(PeHeader, Is32BitGuiWithAslrAndDep)
{
    EXPECT_EQ("32bit", root_.Value("AddressSize"));
    const readobj::Block* file = root_.Child("ImageFileHeader");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ("IMAGE_FILE_MACHINE_I386 (0x14C)", file->Value("Machine"));
    EXPECT_NE(std::string::npos, file->Value("TimeDateStamp").find("(0x0)")) << file->Value("TimeDateStamp");
    const readobj::Block* fileFlags = file->Child("Characteristics");
    EXPECT_TRUE(HasLine(fileFlags, "IMAGE_FILE_32BIT_MACHINE "));
    EXPECT_TRUE(HasLine(fileFlags, "IMAGE_FILE_EXECUTABLE_IMAGE "));
    EXPECT_FALSE(HasLine(fileFlags, "IMAGE_FILE_RELOCS_STRIPPED ")) << "relocations are needed for ASLR";
    EXPECT_EQ("0", file->Value("SymbolCount")) << "no symbol table";

    const readobj::Block* optional = root_.Child("ImageOptionalHeader");
    ASSERT_NE(optional, nullptr);
    EXPECT_EQ("0x10B", optional->Value("Magic")) << "PE32";
    EXPECT_EQ("IMAGE_SUBSYSTEM_WINDOWS_GUI (0x2)", optional->Value("Subsystem"));
    const readobj::Block* dllFlags = optional->Child("Characteristics");
    EXPECT_TRUE(HasLine(dllFlags, "IMAGE_DLL_CHARACTERISTICS_DYNAMIC_BASE "));
    EXPECT_TRUE(HasLine(dllFlags, "IMAGE_DLL_CHARACTERISTICS_NX_COMPAT "));
    const readobj::Block* directories = optional->Child("DataDirectory");
    ASSERT_NE(directories, nullptr);
    EXPECT_NE("0x0", directories->Value("BaseRelocationTableRVA"));
    EXPECT_NE("0x0", directories->Value("BaseRelocationTableSize"));
    EXPECT_NE("0x0", directories->Value("ResourceTableSize"));
}

TEST_F(PeHeader, CarriesBaseRelocations)
{
    const readobj::Block* relocations = root_.Child("BaseReloc");
    ASSERT_NE(relocations, nullptr) << "llvm-readobj lists no base relocations";
    std::size_t addresses = 0;
    for (const readobj::Block* entry : relocations->ChildrenStartingWith("Entry")) {
        if (entry->Value("Type") == "HIGHLOW") {
            ++addresses;
        }
    }
    EXPECT_GT(addresses, 0u) << "32-bit absolute addresses to fix up when the image moves";
}

TEST_F(PeHeader, ImportsOnlyKernelUserCommonControlsAndOle)
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

TEST_F(PeHeader, ResourceDirectoryCarriesNoTimeStamp)
{
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

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* name) { return arg.substr(std::strlen(name)); };
        if (arg.rfind("--qodex=", 0) == 0) {
            g_qodexPath = value("--qodex=");
        } else if (arg.rfind("--readobj=", 0) == 0) {
            g_readobjPath = value("--readobj=");
        } else if (arg.rfind("--icon-map=", 0) == 0) {
            g_iconMapPath = value("--icon-map=");
        }
    }
    if (g_qodexPath.empty() || g_readobjPath.empty() || g_iconMapPath.empty()) {
        std::fprintf(stderr, "usage: %s --qodex=<Qodex.exe> --readobj=<llvm-readobj output> --icon-map=<map>\n",
                     argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
