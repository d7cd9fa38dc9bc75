// The edit that users make to a small utility: a copy of Qodex.exe gets a
// version stamp of its own and a new, larger icon through the system's
// resource update calls. Read back, the copy holds exactly the new
// resources and the others as they were; started, it works as Qodex.exe
// does. The copy lies next to this test, in a folder of its own.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "e2e.h"
#include "expected_resources.h"
#include "win32_resources.h"

namespace qodex_e2e {
namespace {

using expected::Bytes;

void PutWord(Bytes& bytes, uint16_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void PutDword(Bytes& bytes, uint32_t value)
{
    PutWord(bytes, static_cast<uint16_t>(value));
    PutWord(bytes, static_cast<uint16_t>(value >> 16));
}

// ASCII as UTF-16 with its terminating zero.
void PutUtf16(Bytes& bytes, const std::string& ascii)
{
    for (unsigned char c : ascii) {
        PutWord(bytes, c);
    }
    PutWord(bytes, 0);
}

void PadToDword(Bytes& bytes)
{
    while (bytes.size() % 4 != 0) {
        bytes.push_back(0);
    }
}

// ---- the new version information -------------------------------------------

// A node of a version resource: its header (length, value length, type),
// its key, its value and its children, each of the last three starting on a
// 32-bit boundary. The length covers the padding in front of each child,
// never the padding after the node's own end.
struct VersionNode {
    std::string key;
    uint16_t type;         // 0 binary, 1 text
    uint16_t valueLength;  // bytes of a binary value, characters (with the zero) of a text
    Bytes value;
    std::vector<VersionNode> children;
};

Bytes Serialise(const VersionNode& node)
{
    Bytes bytes(6);  // the header, written once the length is known
    PutUtf16(bytes, node.key);
    PadToDword(bytes);
    bytes.insert(bytes.end(), node.value.begin(), node.value.end());
    for (const VersionNode& child : node.children) {
        PadToDword(bytes);
        const Bytes serialised = Serialise(child);
        bytes.insert(bytes.end(), serialised.begin(), serialised.end());
    }
    Bytes header;
    PutWord(header, static_cast<uint16_t>(bytes.size()));
    PutWord(header, node.valueLength);
    PutWord(header, node.type);
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

VersionNode TextNode(const std::string& key, const std::string& text)
{
    Bytes value;
    PutUtf16(value, text);
    return {key, 1, static_cast<uint16_t>(text.size() + 1), value, {}};
}

const uint32_t NEW_FILE_VERSION_MS = 0x00020007;  // 2.7
const uint32_t NEW_FILE_VERSION_LS = 0x00010003;  // .1.3
const char NEW_STRING_TABLE_KEY[] = "040904B0";   // English (United States), Unicode
const char NEW_DESCRIPTION[] = "Error numbers, explained";

// Another publisher's stamp: other numbers, strings under another code page,
// all flags of the fixed part declared.
Bytes NewVersionInformation()
{
    // clang-format off
    const uint32_t fixedFields[] = {
        0xFEEF04BD, 0x00010000,                    // signature, structure version
        NEW_FILE_VERSION_MS, NEW_FILE_VERSION_LS,  // file version
        NEW_FILE_VERSION_MS, NEW_FILE_VERSION_LS,  // product version
        0x3F, 0,                                   // flags mask, flags
        VOS_NT_WINDOWS32, VFT_APP, 0,              // OS, type, subtype
        0, 0,                                      // date
    };
    // clang-format on
    VersionNode root{"VS_VERSION_INFO", 0, 0, {}, {}};
    for (uint32_t field : fixedFields) {
        PutDword(root.value, field);
    }
    root.valueLength = static_cast<uint16_t>(root.value.size());

    VersionNode strings{NEW_STRING_TABLE_KEY, 1, 0, {}, {}};
    strings.children = {TextNode("CompanyName", "Example Tools"),
                        TextNode("FileDescription", NEW_DESCRIPTION),
                        TextNode("FileVersion", "2.7.1.3"),
                        TextNode("OriginalFilename", "Qodex.exe"),
                        TextNode("ProductName", "Qodex, as Example Tools ship it"),
                        TextNode("ProductVersion", "2.7.1.3")};
    VersionNode translation{"Translation", 0, 4, {}, {}};
    PutWord(translation.value, 0x0409);
    PutWord(translation.value, 0x04B0);

    root.children = {{"StringFileInfo", 1, 0, {}, {strings}}, {"VarFileInfo", 1, 0, {}, {translation}}};
    return Serialise(root);
}

// ---- the new icon -----------------------------------------------------------

const int NEW_ICON_SIZE = 48;                                   // pixels, each way; Qodex's own is 32
const int NEW_ICON_COLOUR_ROW = NEW_ICON_SIZE / 2;              // 4 bits a pixel
const int NEW_ICON_MASK_ROW = (NEW_ICON_SIZE / 8 + 3) / 4 * 4;  // 1 bit a pixel, rows of whole dwords

// A 48 by 48, 16-colour image: header, the standard palette, diagonal
// stripes of colour, and a mask that leaves a square in the middle
// transparent.
Bytes NewIconImage()
{
    Bytes image;
    PutDword(image, 40);                                   // biSize
    PutDword(image, NEW_ICON_SIZE);                        // biWidth
    PutDword(image, 2 * NEW_ICON_SIZE);                    // biHeight: colour bitmap and mask
    PutWord(image, 1);                                     // biPlanes
    PutWord(image, 4);                                     // biBitCount
    PutDword(image, BI_RGB);                               // biCompression
    PutDword(image, NEW_ICON_COLOUR_ROW * NEW_ICON_SIZE);  // biSizeImage
    for (int unused = 0; unused < 4; ++unused) {
        PutDword(image, 0);
    }
    for (uint32_t rgb : expected::ICON_PALETTE) {
        PutDword(image, ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));  // stored as blue, green, red, 0
    }
    for (int y = 0; y < NEW_ICON_SIZE; ++y) {
        for (int x = 0; x < NEW_ICON_SIZE; x += 2) {
            image.push_back(static_cast<uint8_t>((((x + y) / 6 % 16) << 4) | ((x + 1 + y) / 6 % 16)));
        }
    }
    for (int y = 0; y < NEW_ICON_SIZE; ++y) {
        for (int byte = 0; byte < NEW_ICON_MASK_ROW; ++byte) {
            const bool middle = y >= 16 && y < 32 && byte >= 2 && byte < 4;
            image.push_back(middle ? 0xFF : 0x00);
        }
    }
    return image;
}

Bytes NewIconGroup(size_t imageSize)
{
    Bytes group;
    PutWord(group, 0);  // reserved
    PutWord(group, 1);  // icon
    PutWord(group, 1);  // one image
    group.push_back(NEW_ICON_SIZE);
    group.push_back(NEW_ICON_SIZE);
    group.push_back(16);  // colours
    group.push_back(0);
    PutWord(group, 1);  // planes
    PutWord(group, 4);  // bits per pixel
    PutDword(group, static_cast<uint32_t>(imageSize));
    PutWord(group, expected::ICON_IMAGE_KEY.nameId);
    return group;
}

// ---- the edit ---------------------------------------------------------------

struct NewResource {
    const expected::ResourceKey& key;
    const Bytes& data;
};

std::string FirstDifference(const Bytes& wanted, const Bytes& got)
{
    for (size_t i = 0; i < wanted.size() && i < got.size(); ++i) {
        if (wanted[i] != got[i]) {
            return "byte " + Hex(i) + ": expected " + Hex(wanted[i]) + ", got " + Hex(got[i]);
        }
    }
    return wanted.size() == got.size() ? "" : "expected " + Hex(wanted.size()) + " bytes, got " + Hex(got.size());
}

class EditedCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string folder(self);
        folder = folder.substr(0, folder.find_last_of('\\')) + "\\edited copy";
        CreateDirectoryA(folder.c_str(), nullptr);
        copy_ = folder + "\\Qodex.exe";
        ASSERT_TRUE(CopyFileA(QodexExe().c_str(), copy_.c_str(), FALSE))
            << "cannot copy Qodex.exe to " << copy_ << ": error " << Hex(GetLastError());

        HANDLE update = BeginUpdateResourceA(copy_.c_str(), FALSE);
        ASSERT_NE(nullptr, update) << "BeginUpdateResourceA, error " << Hex(GetLastError());
        for (const NewResource& edit : Edits()) {
            Bytes data = edit.data;  // the call takes a pointer to data it may change
            EXPECT_TRUE(UpdateResourceA(update, win32_resources::NameArgument(edit.key.typeId, edit.key.typeName),
                                        win32_resources::NameArgument(edit.key.nameId, edit.key.name),
                                        edit.key.language, data.data(), static_cast<DWORD>(data.size())))
                << expected::Describe(edit.key) << ": UpdateResourceA, error " << Hex(GetLastError());
        }
        ASSERT_TRUE(EndUpdateResourceA(update, FALSE)) << "EndUpdateResourceA, error " << Hex(GetLastError());
    }

    std::vector<NewResource> Edits() const
    {
        return {
            {expected::VERSION_KEY, version_}, {expected::ICON_IMAGE_KEY, icon_}, {expected::ICON_GROUP_KEY, group_}};
    }

    std::string copy_;
    const Bytes version_ = NewVersionInformation();
    const Bytes icon_ = NewIconImage();
    const Bytes group_ = NewIconGroup(icon_.size());
};

TEST_F(EditedCopy, HoldsExactlyTheNewResourcesAndTheOthersAsTheyWere)
{
    std::string error;
    const std::vector<reader::Resource> original = win32_resources::ReadResources(QodexExe(), error);
    ASSERT_FALSE(original.empty()) << error;
    const std::vector<reader::Resource> edited = win32_resources::ReadResources(copy_, error);
    ASSERT_FALSE(edited.empty()) << error;

    ASSERT_EQ(original.size(), edited.size()) << "resources before and after the edit";
    for (size_t i = 0; i < original.size(); ++i) {
        const expected::ResourceKey& key = original[i].key;
        ASSERT_EQ(expected::Describe(key), expected::Describe(edited[i].key));
        const Bytes* wanted = &original[i].data;
        for (const NewResource& edit : Edits()) {
            if (edit.key == key) {
                wanted = &edit.data;
            }
        }
        EXPECT_EQ("", FirstDifference(*wanted, edited[i].data)) << expected::Describe(key);
    }
}

TEST_F(EditedCopy, SystemReadsTheNewVersionAndTheLargerIcon)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(copy_.c_str(), &ignored));
    ASSERT_FALSE(block.empty()) << "GetFileVersionInfoSizeA, error " << Hex(GetLastError());
    ASSERT_TRUE(GetFileVersionInfoA(copy_.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(NEW_FILE_VERSION_MS, fixed->dwFileVersionMS) << Hex(fixed->dwFileVersionMS);
    EXPECT_EQ(NEW_FILE_VERSION_LS, fixed->dwFileVersionLS) << Hex(fixed->dwFileVersionLS);
    char* description = nullptr;
    const std::string path = std::string("\\StringFileInfo\\") + NEW_STRING_TABLE_KEY + "\\FileDescription";
    ASSERT_TRUE(VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ(NEW_DESCRIPTION, description);

    Bytes group = group_;
    EXPECT_EQ(expected::ICON_IMAGE_KEY.nameId,
              LookupIconIdFromDirectoryEx(group.data(), TRUE, NEW_ICON_SIZE, NEW_ICON_SIZE, LR_DEFAULTCOLOR));
    Bytes image = icon_;
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                          NEW_ICON_SIZE, NEW_ICON_SIZE, LR_DEFAULTCOLOR);
    ASSERT_NE(nullptr, icon) << "CreateIconFromResourceEx, error " << Hex(GetLastError());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(NEW_ICON_SIZE, bitmap.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_F(EditedCopy, StartsDecodesATypedNumberAndEndsWithZero)
{
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder(copy_, QuotedCommandLine(copy_, "5"), &run));
    EXPECT_EQ("5", TextOf(run.numberBox));
    EXPECT_EQ(Visible(ExpectedDescription(5)), Visible(TextOf(run.descriptionBox)));

    ASSERT_TRUE(WriteText(run.numberBox, ""));
    ASSERT_TRUE(TypeText(run.numberBox, run.descriptionBox, "87"));
    PressKey(FocusOf(run.process.ThreadId()), VK_RETURN);
    ASSERT_TRUE(Settle(run.descriptionBox)) << "the dialog does not answer";
    EXPECT_EQ(Visible(ExpectedDescription(87)), Visible(TextOf(run.descriptionBox)));
    CloseWithEscape(&run);
}

}  // namespace
}  // namespace qodex_e2e
