// The dialog template inside Qodex.exe, read through the system's resource
// calls and compared byte for byte with the layout it must have: an extended
// template (DLGTEMPLATEEX) and its six DLGITEMTEMPLATEEX entries.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "e2e.h"

namespace qodex_e2e {
namespace {

constexpr WORD kEnglishUnitedStates = 1033;

struct Header {
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    WORD controls;
    short x, y, cx, cy;
    const char* caption;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charSet;
    const char* typeface;
};

const Header kHeader = {
    0, 0x00000080, 0x80C808C0, 6, 0, 0, 239, 83, "Qodex decoder - https://varnholt.example",
    8, 0, 0, 1, "Courier New",
};

struct Item {
    const char* name;
    WORD classOrdinal;  // BUTTON 0x80, EDIT 0x81, STATIC 0x82
    DWORD id;
    const char* text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

// clang-format off
const Item kItems[] = {
    // name                class   id          text                  x    y    cx   cy  style       extended style
    {"label",              0x0082, 0xFFFFFFFF, "Error Code :",       12,  8,   49,  11, 0x50020000, 0x00000000},
    {"number box",         0x0081, 101,        "",                   69,  6,   44,  13, 0x50812080, 0x00020001},
    {"Decode",             0x0080, 1,          "Decode",             128, 6,   44,  13, 0x50010001, 0x00000200},
    {"Cancel",             0x0080, 2,          "Cancel",             186, 6,   44,  13, 0x50010000, 0x00000200},
    {"group box",          0x0080, 0xFFFFFFFF, "Error Description",  7,   27,  226, 49, 0x50000007, 0x00000000},
    {"description box",    0x0081, 102,        "",                   14,  40,  212, 29, 0x50810804, 0x00000000},
};
// clang-format on

// Lays the template out field by field, little-endian, remembering which
// field each byte belongs to for the failure messages.
class Layout {
  public:
    void Field(const std::string& name) { names_.push_back({bytes_.size(), name}); }
    void Word(WORD value) {
        bytes_.push_back(static_cast<uint8_t>(value));
        bytes_.push_back(static_cast<uint8_t>(value >> 8));
    }
    void Dword(DWORD value) {
        Word(static_cast<WORD>(value));
        Word(static_cast<WORD>(value >> 16));
    }
    void Byte(BYTE value) { bytes_.push_back(value); }
    void Text(const char* ascii) {  // UTF-16, NUL-terminated; "" is a single 0
        for (const char* c = ascii; *c != '\0'; ++c) {
            Word(static_cast<unsigned char>(*c));
        }
        Word(0);
    }
    void AlignToDword() {
        Field("padding");
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::string FieldAt(size_t offset) const {
        std::string name = "(past the end)";
        for (const auto& field : names_) {
            if (field.first <= offset) {
                name = field.second;
            }
        }
        return name;
    }

  private:
    std::vector<uint8_t> bytes_;
    std::vector<std::pair<size_t, std::string>> names_;
};

Layout ExpectedTemplate() {
    Layout t;
    t.Field("header: version");
    t.Word(1);
    t.Field("header: signature");
    t.Word(0xFFFF);
    t.Field("header: help id");
    t.Dword(kHeader.helpId);
    t.Field("header: extended style");
    t.Dword(kHeader.exStyle);
    t.Field("header: style");
    t.Dword(kHeader.style);
    t.Field("header: number of controls");
    t.Word(kHeader.controls);
    t.Field("header: position and size");
    t.Word(static_cast<WORD>(kHeader.x));
    t.Word(static_cast<WORD>(kHeader.y));
    t.Word(static_cast<WORD>(kHeader.cx));
    t.Word(static_cast<WORD>(kHeader.cy));
    t.Field("header: menu (none)");
    t.Word(0);
    t.Field("header: window class (none)");
    t.Word(0);
    t.Field("header: caption");
    t.Text(kHeader.caption);
    t.Field("header: font point size");
    t.Word(kHeader.pointSize);
    t.Field("header: font weight");
    t.Word(kHeader.weight);
    t.Field("header: font italic");
    t.Byte(kHeader.italic);
    t.Field("header: font character set");
    t.Byte(kHeader.charSet);
    t.Field("header: typeface");
    t.Text(kHeader.typeface);
    for (const Item& item : kItems) {
        const std::string name = std::string("control '") + item.name + "': ";
        t.AlignToDword();
        t.Field(name + "help id");
        t.Dword(0);
        t.Field(name + "extended style");
        t.Dword(item.exStyle);
        t.Field(name + "style");
        t.Dword(item.style);
        t.Field(name + "position and size");
        t.Word(static_cast<WORD>(item.x));
        t.Word(static_cast<WORD>(item.y));
        t.Word(static_cast<WORD>(item.cx));
        t.Word(static_cast<WORD>(item.cy));
        t.Field(name + "id");
        t.Dword(item.id);
        t.Field(name + "class");
        t.Word(0xFFFF);
        t.Word(item.classOrdinal);
        t.Field(name + "text");
        t.Text(item.text);
        t.Field(name + "creation data size");
        t.Word(0);
    }
    return t;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR data) {
    reinterpret_cast<std::vector<WORD>*>(data)->push_back(language);
    return TRUE;
}

class DialogTemplate : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(QodexExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_) << "cannot load " << QodexExe() << ": error " << Hex(GetLastError());
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    HMODULE module_ = nullptr;
};

TEST_F(DialogTemplate, IsNamedQodexDecoderInEnglishUnitedStatesOnly) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module_, MAKEINTRESOURCEA(5) /* RT_DIALOG */, "QODEXDECODER", CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_EQ(1u, languages.size()) << "languages of the dialog template: " << languages.size();
    EXPECT_EQ(kEnglishUnitedStates, languages[0]) << "language " << Hex(languages[0]);
}

TEST_F(DialogTemplate, MatchesItsLayoutByteForByte) {
    HRSRC found = FindResourceExA(module_, MAKEINTRESOURCEA(5) /* RT_DIALOG */, "QODEXDECODER", kEnglishUnitedStates);
    ASSERT_NE(nullptr, found) << "no dialog template \"QODEXDECODER\" in language 1033";
    const DWORD size = SizeofResource(module_, found);
    const auto* actual = static_cast<const uint8_t*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(nullptr, actual);

    const Layout expected = ExpectedTemplate();
    const std::vector<uint8_t>& bytes = expected.Bytes();
    const size_t common = std::min<size_t>(size, bytes.size());
    for (size_t i = 0; i < common; ++i) {
        if (actual[i] != bytes[i]) {
            char detail[160];
            std::snprintf(detail, sizeof detail, "first difference at offset %zu (0x%zX): expected 0x%02X, found 0x%02X",
                          i, i, bytes[i], actual[i]);
            ADD_FAILURE() << detail << ", in " << expected.FieldAt(i);
            break;
        }
    }
    EXPECT_EQ(bytes.size(), size) << "the template is " << size << " bytes long, its layout " << bytes.size();
}

}  // namespace
}  // namespace qodex_e2e
