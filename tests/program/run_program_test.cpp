#include <string>

#include "dialog/dialog_ids.h"
#include "dialog/start_code.h"
#include "program_test_support.h"
#include "../expected_usage_text.h"

namespace {

struct CommandLineCase {
    const char* commandLine;
    bool usage;         // the usage box instead of the dialog
    int32_t startCode;  // START_CODE_UNSET: the dialog opens empty
};

// clang-format off
const CommandLineCase COMMAND_LINE_CASES[] = {
    // command line                                         usage  StartCode
    {"Qodex.exe",                                           false, START_CODE_UNSET},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\"",             false, START_CODE_UNSET},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\" 5",           false, 5},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\"5",            false, 5},
    {"Qodex.exe\t7",                                        false, 7},
    {"Qodex.exe\t",                                         false, 0},
    {"  Qodex.exe 42",                                      false, 0},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe 5",             false, START_CODE_UNSET},
    {"Qodex.exe     ",                                      false, START_CODE_UNSET},
    {"Qodex.exe /?",                                        true,  START_CODE_UNSET},
    {"Qodex.exe -?",                                        true,  START_CODE_UNSET},
    {"Qodex.exe /h",                                        true,  START_CODE_UNSET},
    {"Qodex.exe -H",                                        true,  START_CODE_UNSET},
    {"Qodex.exe /help",                                     true,  START_CODE_UNSET},
    {"Qodex.exe -Help",                                     true,  START_CODE_UNSET},
    {"Qodex.exe 12 /?",                                     true,  START_CODE_UNSET},
    {"Qodex.exe c:/home",                                   true,  START_CODE_UNSET},
    {"Qodex.exe x-hy",                                      true,  START_CODE_UNSET},
    {"\"C:\\Tools/Help\\Qodex.exe\" 5",                     false, 5},  // the name is not searched
    {"Qodex.exe /",                                         false, 0},
    {"Qodex.exe -5",                                        false, -5},
    {"Qodex.exe abc",                                       false, 0},
    {"Qodex.exe \"5\"",                                     false, 0},
    {"Qodex.exe 5 7",                                       false, 5},
    {"Qodex.exe 0",                                         false, 0},
    {"Qodex.exe 1223334444",                                false, START_CODE_UNSET},
    {"Qodex.exe 2147483647",                                false, 2147483647},
    {"Qodex.exe -2147483648",                               false, INT32_MIN},
    {"Qodex.exe 2147483648",                                false, INT32_MIN},
    {"Qodex.exe 4294967295",                                false, INT32_MIN},
    {"Qodex.exe 2.5",                                       false, 2},
    {"Qodex.exe 3.5",                                       false, 4},
    {"Qodex.exe -2.5",                                      false, -2},
    {"Qodex.exe 2.51",                                      false, 3},
    {"Qodex.exe &h1f",                                      false, 31},
    {"Qodex.exe &H80004005",                                false, -2147467259},
};
// clang-format on

class CommandLineTest : public ProgramTest {};

TEST_F(CommandLineTest, ChoosesUsageOrDialogAndTheStartNumber)
{
    for (const CommandLineCase& c : COMMAND_LINE_CASES) {
        SCOPED_TRACE(std::string("command line [") + c.commandLine + "]");
        standin::Reset();
        standin::ScriptDialog({standin::PressEscape()});

        EXPECT_EQ(RunQodex(c.commandLine), 0u);

        EXPECT_EQ(standin::MessageBoxes().size(), c.usage ? 1u : 0u);
        EXPECT_EQ(standin::Dialogs().size(), c.usage ? 0u : 1u);
        EXPECT_EQ(StartCode, c.startCode) << "StartCode " << StartCode << ", expected " << c.startCode;
        if (!c.usage && standin::Dialogs().size() == 1) {
            const standin::DialogRun& dialog = standin::Dialogs()[0];
            bool given = c.startCode != START_CODE_UNSET;
            ASSERT_FALSE(dialog.states.empty());
            EXPECT_EQ(dialog.states[0].Text(IDC_CODE), given ? std::to_string(c.startCode) : "");
            EXPECT_EQ(LookedUpIds(),
                      given ? std::vector<uint32_t>{static_cast<uint32_t>(c.startCode)} : std::vector<uint32_t>{});
            EXPECT_TRUE(dialog.ended);
        }
        EXPECT_EQ(CountCalls("CoUninitialize"), 1u);
        EXPECT_EQ(CountCalls("ExitProcess"), 1u);
        EXPECT_EQ(standin::LiveBlocks(), 0u);
    }
}

TEST_F(CommandLineTest, UsageBoxHasItsTextCaptionAndStyle)
{
    EXPECT_EQ(RunQodex("Qodex.exe /?"), 0u);

    ASSERT_EQ(standin::MessageBoxes().size(), 1u);
    const standin::MessageBoxCall& box = standin::MessageBoxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Qodex version 1.0.0.0");
    EXPECT_EQ(box.type, 64u) << Hex(box.type);
    EXPECT_EQ(box.text, EXPECTED_USAGE_TEXT);

    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = box.text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(box.text.substr(start, end - start));
    }
    lines.push_back(box.text.substr(start));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Qodex 1.0.0.0 - Varnholt - https://varnholt.example");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[9], "/? | /h   Display this help.");
    EXPECT_EQ(box.text.find('\n'), box.text.find("\r\n") + 1) << "a line end other than CR LF";

    // The pause comes right before the box.
    EXPECT_EQ(standin::Sleeps(), std::vector<DWORD>{5});
    const std::vector<std::string>& calls = standin::Calls();
    size_t boxCall = 0;
    while (boxCall < calls.size() && calls[boxCall] != "MessageBoxA") {
        ++boxCall;
    }
    ASSERT_GT(boxCall, 0u);
    EXPECT_EQ(calls[boxCall - 1], "Sleep");
}

TEST_F(CommandLineTest, UpperCasesACopyOfTheWholeTailOnly)
{
    std::string commandLine = "Qodex.exe &hff\xE9 x/h";
    EXPECT_EQ(RunQodex(commandLine), 0u);
    EXPECT_EQ(standin::CharUpperLengths(), std::vector<DWORD>{9});
    EXPECT_EQ(std::string(GetCommandLineA()), commandLine) << "the command line itself was changed";

    standin::Reset();
    standin::ScriptDialog({standin::PressEscape()});
    EXPECT_EQ(RunQodex("Qodex.exe"), 0u);
    EXPECT_TRUE(standin::CharUpperLengths().empty()) << "an empty tail went to CharUpperBuffA";
}

TEST_F(CommandLineTest, OpensTheDialogOverTheDesktop)
{
    standin::ScriptDialog({standin::PressEscape()});
    EXPECT_EQ(RunQodex("Qodex.exe 5"), 0u);
    ASSERT_EQ(standin::Dialogs().size(), 1u);
    EXPECT_EQ(standin::Dialogs()[0].templateName, "QODEXDECODER");
    EXPECT_EQ(standin::Dialogs()[0].parent, GetDesktopWindow());
    EXPECT_EQ(standin::Dialogs()[0].initParam, 0);
    EXPECT_EQ(standin::Dialogs()[0].returned, 0);
}

TEST_F(CommandLineTest, LongestCommandLinesAreRead)
{
    // 32,767 characters in all, the most a Windows command line holds.
    const size_t total = 32767;
    std::string name = "Qodex.exe ";

    standin::ScriptDialog({standin::PressEscape()});
    EXPECT_EQ(RunQodex(name + std::string(total - name.size(), '9')), 0u);
    EXPECT_EQ(StartCode, INT32_MIN);
    EXPECT_EQ(standin::CharUpperLengths(), std::vector<DWORD>{static_cast<DWORD>(total - name.size())});
    ExpectNothingLeft();

    standin::Reset();
    EXPECT_EQ(RunQodex(name + std::string(total - name.size() - 2, 'x') + "-h"), 0u);
    EXPECT_EQ(standin::MessageBoxes().size(), 1u) << "a switch at the very end was missed";

    standin::Reset();
    standin::ScriptDialog({standin::PressEscape()});
    EXPECT_EQ(RunQodex(name + std::string(total - name.size() - 1, ' ') + "5"), 0u);
    EXPECT_EQ(StartCode, 5);

    standin::Reset();
    standin::ScriptDialog({standin::PressEscape()});
    EXPECT_EQ(RunQodex(std::string(total, ' ')), 0u);
    EXPECT_EQ(StartCode, START_CODE_UNSET);
    ExpectNothingLeft();
}

}  // namespace
