// However the user ends the program, its exit code is 0.
#include "e2e.h"

namespace qodex_e2e {
namespace {

enum class Ending { Escape, CancelButton, CloseBox, CloseMessage, DecodeThenEscape };

struct EndingCase {
    const char* name;
    const char* tail;
    Ending ending;
};

// Test names and failure messages show the case by its name.
void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }

// clang-format off
const EndingCase ENDINGS[] = {
    {"Escape",           "5", Ending::Escape},
    {"CancelButton",     "5", Ending::CancelButton},
    {"CloseBox",         "5", Ending::CloseBox},          // WM_SYSCOMMAND SC_CLOSE
    {"CloseMessage",     "",  Ending::CloseMessage},      // WM_CLOSE, as Alt+F4 sends
    {"DecodeThenEscape", "",  Ending::DecodeThenEscape},  // a decoded number changes nothing
};
// clang-format on

class DialogEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DialogEnding, ExitCodeIsZero)
{
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder(GetParam().tail, &run));
    switch (GetParam().ending) {
        case Ending::Escape:
            PressKey(FocusOf(run.process.ThreadId()), VK_ESCAPE);
            break;
        case Ending::CancelButton:
            ClickButton(GetDlgItem(run.dialog, IDCANCEL));
            break;
        case Ending::CloseBox:
            CloseBox(run.dialog);
            break;
        case Ending::CloseMessage:
            SendCloseMessage(run.dialog);
            break;
        case Ending::DecodeThenEscape:
            ASSERT_TRUE(TypeText(run.numberBox, run.descriptionBox, "87"));
            PressKey(run.numberBox, VK_RETURN);
            ASSERT_TRUE(Settle(run.descriptionBox));
            ASSERT_EQ(Visible(ExpectedDescription(87)), Visible(TextOf(run.descriptionBox)));
            PressKey(run.numberBox, VK_ESCAPE);
            break;
    }
    EXPECT_TRUE(ExitsWithZero(&run.process));
}

INSTANTIATE_TEST_SUITE_P(E2E, DialogEnding, ::testing::ValuesIn(ENDINGS),
                         [](const ::testing::TestParamInfo<EndingCase>& row) { return row.param.name; });

// The usage box closed with its OK button by the keyboard (the help tests
// click it).
TEST(UsageEnding, EnterOnOkExitCodeIsZero)
{
    QodexProcess qodex;
    ASSERT_TRUE(qodex.Start(QodexExe(), QuotedCommandLine(QodexExe(), "/?"))) << qodex.Error();
    HWND box = qodex.WaitForWindow(USAGE_BOX_CAPTION);
    ASSERT_NE(nullptr, box);
    HWND focus = FocusOf(qodex.ThreadId());
    ASSERT_EQ(GetDlgItem(box, IDOK), focus) << "the focus is not on OK";
    PressKey(focus, VK_RETURN);
    EXPECT_TRUE(ExitsWithZero(&qodex));
}

}  // namespace
}  // namespace qodex_e2e
