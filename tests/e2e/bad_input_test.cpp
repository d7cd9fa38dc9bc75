// Input at the limits: a pasted number-box text of 1 MiB and a command line
// as long as the system allows. Neither may crash the program or stop it
// answering; each still gives the number that stands at its start.
#include "e2e.h"

namespace qodex_e2e {
namespace {

constexpr size_t MIB = 1024 * 1024;

// The system's limit for a command line: 32,767 characters with the final NUL.
constexpr size_t LONGEST_COMMAND_LINE = 32766;

struct PasteCase {
    const char* name;
    std::string text;
    DWORD messageId;
};

// Test names and failure messages show the case by its name.
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

std::vector<PasteCase> PasteCases()
{
    std::string allBytes(MIB, '\0');
    for (size_t i = 0; i < MIB; ++i) {
        allBytes[i] = static_cast<char>(1 + i % 255);
    }
    std::string digitGroups;
    while (digitGroups.size() < MIB) {
        digitGroups += "1234567890x";
    }
    digitGroups.resize(MIB);
    return {
        // A number, then junk to the end.
        {"NumberThenLetters", "7" + std::string(MIB - 1, 'x'), 7},
        // The blanks are skipped however many there are.
        {"BlanksThenNumber", std::string(MIB - 2, ' ') + "87", 87},
        // Every byte but NUL, over and over: no number at its start.
        {"AllBytes", allBytes, 0},
        // Only the number at the start counts: 1234567890.
        {"DigitGroups", digitGroups, 1234567890},
        // Far more digits than the extended range holds: id 0. Only 32 KiB:
        // Wine's edit control lays out one run of digits in quadratic time
        // (1 MiB of them would take it half an hour).
        {"LongDigitRun", std::string(32 * 1024, '9'), 0},
    };
}

class PastedText : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedText, IsDecodedWithoutACrash)
{
    const PasteCase& c = GetParam();
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("", &run));
    // Set inside the program's thread: Wine carries no text of 1 MiB in a
    // window message from one process to another.
    ASSERT_TRUE(WriteTextInThread(run.numberBox, run.process.ThreadId(), c.text))
        << "the number box did not take " << c.text.size() << " bytes";
    ClickButton(GetDlgItem(run.dialog, IDOK));
    ASSERT_TRUE(Settle(run.descriptionBox)) << "the dialog stopped answering";
    ASSERT_TRUE(run.process.Running()) << "Qodex.exe ended";

    std::string held;
    ASSERT_TRUE(ReadTextInThread(run.numberBox, run.process.ThreadId(), &held)) << "the number box stopped answering";
    EXPECT_EQ(c.text.size(), held.size());
    EXPECT_TRUE(held == c.text) << "the number box text changed";
    EXPECT_EQ(Visible(ExpectedDescription(c.messageId)), Visible(TextOf(run.descriptionBox)))
        << "message id " << Hex(c.messageId);
    CloseWithEscape(&run);
}

INSTANTIATE_TEST_SUITE_P(E2E, PastedText, ::testing::ValuesIn(PasteCases()),
                         [](const ::testing::TestParamInfo<PasteCase>& row) { return row.param.name; });

// A tail that fills the command line up to the system's limit.
std::string LongTail(const std::string& head, char filler, const std::string& end)
{
    const size_t prefix = QuotedCommandLine(QodexExe(), "x").size() - 1;
    return head + std::string(LONGEST_COMMAND_LINE - prefix - head.size() - end.size(), filler) + end;
}

struct LongCase {
    const char* name;
    std::string (*tail)();
    const char* numberBox;  // nullptr: the usage box
    DWORD messageId;
};

// Test names and failure messages show the case by its name.
void PrintTo(const LongCase& c, std::ostream* os) { *os << c.name; }

// clang-format off
const LongCase LONG_CASES[] = {
    {"NumberThenLetters", [] { return LongTail("7", 'x', ""); },   "7",           7},
    {"Digits",            [] { return LongTail("", '9', ""); },    "-2147483648", 0x80000000},
    {"SwitchAtTheEnd",    [] { return LongTail("5", ' ', "/?"); }, nullptr,       0},
};
// clang-format on

class LongCommandLine : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongCommandLine, IsReadToItsEnd)
{
    const LongCase& c = GetParam();
    const std::string commandLine = QuotedCommandLine(QodexExe(), c.tail());
    ASSERT_EQ(LONGEST_COMMAND_LINE, commandLine.size());

    if (c.numberBox == nullptr) {
        QodexProcess qodex;
        ASSERT_TRUE(qodex.Start(QodexExe(), commandLine)) << qodex.Error();
        bool isUsage = false;
        HWND box = qodex.WaitForDialogOrUsage(WAIT_MS, &isUsage);
        ASSERT_NE(nullptr, box);
        EXPECT_TRUE(isUsage) << "the switch at the end of the tail was not seen";
        PressKey(box, VK_ESCAPE);  // both the usage box and the dialog close on it
        EXPECT_TRUE(ExitsWithZero(&qodex));
        return;
    }
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder(QodexExe(), commandLine, &run));
    EXPECT_EQ(c.numberBox, TextOf(run.numberBox));
    EXPECT_EQ(Visible(ExpectedDescription(c.messageId)), Visible(TextOf(run.descriptionBox)))
        << "message id " << Hex(c.messageId);
    CloseWithEscape(&run);
}

INSTANTIATE_TEST_SUITE_P(E2E, LongCommandLine, ::testing::ValuesIn(LONG_CASES),
                         [](const ::testing::TestParamInfo<LongCase>& row) { return row.param.name; });

}  // namespace
}  // namespace qodex_e2e
