// The dialog template inside Qodex.exe, read through the system's resource
// calls and compared byte for byte with the tests' one expectation of it
// (tests/expected/expected_dialog.h).
#include <cstdint>
#include <vector>

#include "e2e.h"
#include "expected_dialog.h"
#include "expected_resources.h"

namespace qodex_e2e {
namespace {

LPCSTR DialogType() { return MAKEINTRESOURCEA(expected::DIALOG_KEY.typeId); }

LPCSTR DialogName() { return expected::DIALOG_KEY.name.c_str(); }

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR data)
{
    reinterpret_cast<std::vector<WORD>*>(data)->push_back(language);
    return TRUE;
}

class DialogTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(QodexExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_) << "cannot load " << QodexExe() << ": error " << Hex(GetLastError());
    }
    void TearDown() override
    {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    HMODULE module_ = nullptr;
};

TEST_F(DialogTemplate, IsNamedQodexDecoderInEnglishUnitedStatesOnly)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module_, DialogType(), DialogName(), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_EQ(1u, languages.size()) << "languages of the dialog template: " << languages.size();
    EXPECT_EQ(expected::DIALOG_KEY.language, languages[0]) << "language " << Hex(languages[0]);
}

TEST_F(DialogTemplate, MatchesItsLayoutByteForByte)
{
    HRSRC found = FindResourceExA(module_, DialogType(), DialogName(), expected::DIALOG_KEY.language);
    ASSERT_NE(nullptr, found) << "no dialog template \"" << DialogName() << "\" in language "
                              << expected::DIALOG_KEY.language;
    const DWORD size = SizeofResource(module_, found);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ("", expected::FirstDifference(expected::DialogTemplate(), expected::Bytes(bytes, bytes + size)));
}

}  // namespace
}  // namespace qodex_e2e
