#include <string.h>

#include "app/command_tail.h"
#include "program_test_support.h"

namespace {

struct TailCase {
    const char* commandLine;
    const char* tail;  // always the end of the command line
};

// Only the space separates; a quoted name ends at its closing quote.
// clang-format off
const TailCase TAIL_CASES[] = {
    {"", ""},
    {"Qodex.exe", ""},
    {"Qodex.exe 5", "5"},
    {"Qodex.exe   5 7  ", "5 7  "},
    {"Qodex.exe    ", ""},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\"", ""},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\" 5", "5"},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\"5", "5"},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe\"   \"5\"\t", "\"5\"\t"},
    {"\"C:\\Program Files\\Qodex\\Qodex.exe 5", ""},
    {"\"", ""},
    {"\"\"", ""},
    {"\"\" 5", "5"},
    {"Qodex.exe\t7", "\t7"},
    {"Qodex.exe\t", "\t"},
    {"Qodex.exe\x01" "5", "\x01" "5"},
    {"  Qodex.exe 42", "Qodex.exe 42"},
    {"   ", ""},
    {"\tQodex.exe 5", "5"},                 // a tab first is part of the name
    {"Q\xE9" "dex\xFF.exe 5", "5"},           // bytes above 127 are name characters
    {"Qodex.exe \"5\"", "\"5\""},
    {"Qodex.exe 12 /?", "12 /?"},
};
// clang-format on

TEST(FindCommandTail, FindsTheTextAfterTheProgramName)
{
    for (const TailCase& c : TAIL_CASES) {
        const char* tail = FindCommandTail(c.commandLine);
        size_t length = strlen(c.commandLine);
        EXPECT_EQ(tail, c.commandLine + length - strlen(c.tail))
            << "command line [" << c.commandLine << "]: tail at offset " << (tail - c.commandLine);
        EXPECT_STREQ(tail, c.tail) << "command line [" << c.commandLine << "]";
    }
}

TEST(FindCommandTail, StopsAtTheEndOfALongUnclosedQuote)
{
    std::string line = "\"" + std::string(32766, 'q');
    EXPECT_EQ(FindCommandTail(line.c_str()), line.c_str() + line.size());
}

}  // namespace
