// The help switches: the usage box instead of the dialog.
#include "e2e.h"
#include "../expected_usage_text.h"

namespace qodex_e2e {
namespace {

struct HelpCase {
    const char* name;
    const char* tail;
};

// Test names and failure messages show the case by its name.
void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }

// clang-format off
const HelpCase HELP_CASES[] = {
    {"SlashQuestionMark", "/?"},
    {"DashH",             "-h"},
    {"SlashHelp",         "/help"},
    {"NumberThenSwitch",  "12 /?"},    // the switch wins over the number
    {"PathWithSlashH",    "c:/home"},  // any "/H" counts
};
// clang-format on

class HelpSwitch : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpSwitch, ShowsTheUsageBoxAndNoDialog)
{
    const std::string commandLine = QuotedCommandLine(QodexExe(), GetParam().tail);
    QodexProcess qodex;
    ASSERT_TRUE(qodex.Start(QodexExe(), commandLine)) << qodex.Error();
    bool isUsage = false;
    HWND box = qodex.WaitForDialogOrUsage(WAIT_MS, &isUsage);
    ASSERT_NE(nullptr, box) << "no window for the command line " << commandLine;
    ASSERT_TRUE(isUsage) << "the decoder dialog opened for the command line " << commandLine;

    EXPECT_EQ(USAGE_BOX_CAPTION, CaptionOf(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "the usage box has an owner window";
    std::string text;
    ASSERT_TRUE(ReadText(GetDlgItem(box, MESSAGE_TEXT_ID), &text)) << "the usage box has no text control";
    EXPECT_EQ(Visible(EXPECTED_USAGE_TEXT), Visible(text));

    HWND icon = FindIconControl(box);
    ASSERT_NE(nullptr, icon) << "the usage box shows no icon";
    const char* shown = ShownSystemIcon(icon, 5000);
    EXPECT_STREQ("IDI_INFORMATION", shown ? shown : "no system icon");

    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(nullptr, ok) << "the usage box has no OK button";
    EXPECT_EQ("OK", TextOf(ok));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL)) << "the usage box has a Cancel button";
    ClickButton(ok);
    EXPECT_EQ(nullptr, qodex.WaitForWindow(DIALOG_CAPTION)) << "the decoder dialog opened after the usage box";
    EXPECT_TRUE(ExitsWithZero(&qodex));
}

INSTANTIATE_TEST_SUITE_P(E2E, HelpSwitch, ::testing::ValuesIn(HELP_CASES),
                         [](const ::testing::TestParamInfo<HelpCase>& row) { return row.param.name; });

}  // namespace
}  // namespace qodex_e2e
