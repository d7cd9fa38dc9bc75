// The decoder dialog as the command line opens it: the number put into the
// number box, the description looked up at once, and the window itself.
#include <cstdlib>

#include "e2e.h"

namespace qodex_e2e {
namespace {

// Where the command line comes from.
enum class Layout {
    Build,             // "<build tree>\Qodex.exe" TAIL
    SpacedFolder,      // "<folder with spaces>\Qodex.exe" TAIL
    SpacedFolderGlued  // "<folder with spaces>\Qodex.exe"TAIL: no space after the quote
};

struct StartCase {
    const char* name;
    Layout layout;
    const char* tail;
    const char* numberBox;  // what the box shows
    bool lookedUp;          // whether a description is shown at once
    DWORD messageId;        // the id it must be the description of
};

// Test names and failure messages show the case by its name.
void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

// clang-format off
const StartCase START_CASES[] = {
    // name                  layout                     tail           number box      looked up  message id
    {"Five",                 Layout::Build,             "5",           "5",            true,      5},
    {"MinusFive",            Layout::Build,             "-5",          "-5",           true,      0xFFFFFFFB},
    {"RadixText",            Layout::Build,             "&H80004005",  "-2147467259",  true,      0x80004005},
    {"BeyondInt32",          Layout::Build,             "4294967295",  "-2147483648",  true,      0x80000000},
    {"NotANumber",           Layout::Build,             "abc",         "0",            true,      0},
    {"NoTail",               Layout::Build,             "",            "",             false,     0},
    {"QuotedPathWithSpaces", Layout::SpacedFolder,      "5",           "5",            true,      5},
    {"TailGluedToTheQuote",  Layout::SpacedFolderGlued, "5",           "5",            true,      5},
};
// clang-format on

// A copy of Qodex.exe in a folder whose name has spaces, next to the test.
std::string SpacedCopy()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\folder with  spaces";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\Qodex.exe";
    EXPECT_TRUE(CopyFileA(QodexExe().c_str(), copy.c_str(), FALSE))
        << "cannot copy Qodex.exe to " << copy << ": error " << Hex(GetLastError());
    return copy;
}

class StartTail : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartTail, PrefillsDecodesAndFocusesTheNumberBox)
{
    const StartCase& c = GetParam();
    std::string exe = QodexExe();
    std::string commandLine = QuotedCommandLine(exe, c.tail);
    if (c.layout != Layout::Build) {
        exe = SpacedCopy();
        commandLine = "\"" + exe + "\"" + (c.layout == Layout::SpacedFolder ? " " : "") + c.tail;
    }
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder(exe, commandLine, &run));

    EXPECT_EQ(c.numberBox, TextOf(run.numberBox)) << "command line: " << commandLine;
    const std::string expected = c.lookedUp ? ExpectedDescription(c.messageId) : "";
    EXPECT_EQ(Visible(expected), Visible(TextOf(run.descriptionBox)))
        << "message id " << Hex(c.messageId) << ", command line: " << commandLine;
    EXPECT_EQ(run.numberBox, FocusOf(run.process.ThreadId())) << "the focus is not in the number box";

    EXPECT_EQ(DIALOG_CLASS, ClassNameOf(run.dialog));
    EXPECT_EQ(DIALOG_CAPTION, CaptionOf(run.dialog));
    const DWORD style = StyleOf(run.dialog);
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(wanted, style & wanted) << "dialog style " << Hex(style);
    EXPECT_EQ(0u, style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_DISABLED))
        << "dialog style " << Hex(style);
    const DWORD exStyle = ExStyleOf(run.dialog);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW))
        << "dialog extended style " << Hex(exStyle);

    const DWORD numberStyle = StyleOf(run.numberBox);
    EXPECT_EQ(static_cast<DWORD>(ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE),
              numberStyle & (ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE | ES_READONLY | WS_TABSTOP | WS_VISIBLE))
        << "number box style " << Hex(numberStyle);
    const DWORD descriptionStyle = StyleOf(run.descriptionBox);
    EXPECT_EQ(static_cast<DWORD>(ES_MULTILINE | ES_READONLY | WS_TABSTOP | WS_VISIBLE),
              descriptionStyle & (ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_NUMBER | WS_HSCROLL | WS_VSCROLL |
                                  WS_TABSTOP | WS_VISIBLE))
        << "description box style " << Hex(descriptionStyle);

    CloseWithEscape(&run);
}

INSTANTIATE_TEST_SUITE_P(E2E, StartTail, ::testing::ValuesIn(START_CASES),
                         [](const ::testing::TestParamInfo<StartCase>& row) { return row.param.name; });

// DS_CENTER: the dialog sits in the middle of the screen's work area.
TEST(DecoderWindow, OpensCentredOnTheScreen)
{
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("5", &run));
    RECT window = {};
    GetWindowRect(run.dialog, &window);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const long dx = (window.left + window.right) - (work.left + work.right);
    const long dy = (window.top + window.bottom) - (work.top + work.bottom);
    EXPECT_LE(labs(dx), 2) << "window " << window.left << "," << window.top << " - " << window.right << ","
                           << window.bottom;
    EXPECT_LE(labs(dy), 2) << "window " << window.left << "," << window.top << " - " << window.right << ","
                           << window.bottom;
    CloseWithEscape(&run);
}

}  // namespace
}  // namespace qodex_e2e
