// Qodex.exe's resources as only Windows can tell: read through the Win32
// resource functions (under Wine in the cross build) on the file loaded as
// a data file, which run the shared resource checks
// (tests/expected/resources_as_read_test.cpp); found by the version
// functions; and the icon as the system draws it.
//
// Arguments: --qodex=<Qodex.exe> --icon-map=<the icon's pixel map>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "expected_resources.h"
#include "resource_reader.h"
#include "test_support.h"
#include "win32_resources.h"

namespace {

using expected::Bytes;
using reader::Resource;
using support::Hex;

std::string g_qodexPath;
std::string g_iconMapPath;

}  // namespace

namespace reader {

std::vector<Resource> ReadQodexResources(std::string& error)
{
    return win32_resources::ReadResources(support::WindowsPath(g_qodexPath), error);
}

}  // namespace reader

namespace {

// ---- what the version functions make of it ----------------------------------

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
        const std::string path = std::string("\\StringFileInfo\\") + expected::STRING_TABLE_KEY + "\\" + key;
        if (!VerQueryValueA(block_.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr) {
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
    // In the order stored, which is the order of the expected table.
    const DWORD got[] = {
        fixed->dwSignature,        fixed->dwStrucVersion,     fixed->dwFileVersionMS, fixed->dwFileVersionLS,
        fixed->dwProductVersionMS, fixed->dwProductVersionLS, fixed->dwFileFlagsMask, fixed->dwFileFlags,
        fixed->dwFileOS,           fixed->dwFileType,         fixed->dwFileSubtype,   fixed->dwFileDateMS,
        fixed->dwFileDateLS,
    };
    static_assert(std::size(got) == std::size(expected::FIXED_FILE_INFO), "one expected value for each field");
    for (size_t i = 0; i < std::size(got); ++i) {
        const expected::NamedValue& field = expected::FIXED_FILE_INFO[i];
        EXPECT_EQ(field.value, got[i]) << field.name << ": expected " << Hex(field.value) << ", got " << Hex(got[i]);
    }
    // The system's own names for what the table writes as numbers.
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST_F(VersionFunctions, FindTheStringsUnderEnglishAndCodePage1252)
{
    for (const expected::VersionString& s : expected::VERSION_STRINGS) {
        EXPECT_EQ(s.value, String(s.key)) << s.key;
    }
}

TEST_F(VersionFunctions, FindOneTranslationPair)
{
    WORD* pairs = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pairs), &length));
    ASSERT_EQ(4u, length) << "one language and code page pair";
    EXPECT_EQ(expected::TRANSLATION_LANGUAGE, pairs[0]) << Hex(pairs[0]);
    EXPECT_EQ(expected::TRANSLATION_CODE_PAGE, pairs[1]) << Hex(pairs[1]);
}

// ---- the icon as the system draws it ----------------------------------------

// Palette index per pixel, -1 for transparent, from the icon's source.
bool ReadIconMap(std::vector<std::vector<int>>& rows)
{
    std::string text;
    if (!support::ReadFile(g_iconMapPath, text)) {
        return false;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
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
std::vector<uint32_t> DrawOver(HICON icon, COLORREF background)
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
    std::vector<uint32_t> pixels;
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
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
    const std::vector<Resource> resources = reader::ReadQodexResources(error);
    ASSERT_TRUE(error.empty()) << error;
    const Bytes* group = nullptr;
    const Bytes* image = nullptr;
    for (const Resource& r : resources) {
        if (r.key == expected::ICON_GROUP_KEY) {
            group = &r.data;
        }
        if (r.key == expected::ICON_IMAGE_KEY) {
            image = &r.data;
        }
    }
    ASSERT_TRUE(group != nullptr && image != nullptr);

    Bytes groupCopy = *group;
    EXPECT_EQ(expected::ICON_IMAGE_KEY.nameId,
              LookupIconIdFromDirectoryEx(groupCopy.data(), TRUE, 32, 32, LR_DEFAULTCOLOR));

    Bytes imageCopy = *image;
    HICON icon = CreateIconFromResourceEx(imageCopy.data(), static_cast<DWORD>(imageCopy.size()), TRUE, 0x00030000, 32,
                                          32, LR_DEFAULTCOLOR);
    ASSERT_NE(nullptr, icon) << "CreateIconFromResourceEx, error " << Hex(GetLastError());

    std::vector<std::vector<int>> map;
    ASSERT_TRUE(ReadIconMap(map)) << "cannot read " << g_iconMapPath;
    ASSERT_EQ(32u, map.size());

    // Two backgrounds that are not in the palette: a transparent pixel
    // shows each of them, an opaque one neither.
    const uint32_t backgrounds[] = {0x123456, 0xA9CB87};
    int transparent = 0;
    std::set<int> colours;
    for (uint32_t background : backgrounds) {
        const COLORREF colorref = RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF);
        const std::vector<uint32_t> pixels = DrawOver(icon, colorref);
        ASSERT_EQ(32u * 32u, pixels.size()) << "could not draw into a memory bitmap";
        for (int y = 0; y < 32; ++y) {
            ASSERT_EQ(32u, map[static_cast<size_t>(y)].size()) << "map row " << y;
            for (int x = 0; x < 32; ++x) {
                const int index = map[static_cast<size_t>(y)][static_cast<size_t>(x)];
                const uint32_t wanted = index < 0 ? background : expected::ICON_PALETTE[index];
                const uint32_t got = pixels[static_cast<size_t>(y * 32 + x)];
                ASSERT_EQ(wanted, got) << "pixel (" << x << ", " << y << ") over " << Hex(background) << ": expected "
                                       << Hex(wanted) << ", got " << Hex(got);
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

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* name) { return arg.substr(std::strlen(name)); };
        if (arg.rfind("--qodex=", 0) == 0) {
            g_qodexPath = value("--qodex=");
        } else if (arg.rfind("--icon-map=", 0) == 0) {
            g_iconMapPath = value("--icon-map=");
        }
    }
    if (g_qodexPath.empty() || g_iconMapPath.empty()) {
        std::fprintf(stderr, "usage: %s --qodex=<Qodex.exe> --icon-map=<map>\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
