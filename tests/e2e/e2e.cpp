#include "e2e.h"

#include <cstdio>
#include <cstring>

namespace qodex_e2e {
namespace {

std::string qodexExe;

}  // namespace

const std::string& QodexExe() { return qodexExe; }

::testing::AssertionResult OpenDecoder(const std::string& exe, const std::string& commandLine, DecoderRun* run)
{
    if (!run->process.Start(exe, commandLine)) {
        return ::testing::AssertionFailure() << run->process.Error();
    }
    run->dialog = run->process.WaitForWindow(DIALOG_CAPTION);
    if (run->dialog == nullptr) {
        return ::testing::AssertionFailure() << "no decoder dialog for the command line '" << Visible(commandLine)
                                             << "'" << (run->process.Running() ? "" : " (the process ended)");
    }
    run->numberBox = GetDlgItem(run->dialog, NUMBER_BOX_ID);
    run->descriptionBox = GetDlgItem(run->dialog, DESCRIPTION_BOX_ID);
    if (run->numberBox == nullptr || run->descriptionBox == nullptr) {
        return ::testing::AssertionFailure() << "the dialog has no number box (101) or description box (102)";
    }
    if (!Settle(run->descriptionBox)) {
        return ::testing::AssertionFailure() << "the dialog does not answer";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult OpenDecoder(const std::string& tail, DecoderRun* run)
{
    return OpenDecoder(QodexExe(), QuotedCommandLine(QodexExe(), tail), run);
}

std::string TextOf(HWND control)
{
    std::string text;
    EXPECT_TRUE(ReadText(control, &text)) << "control " << control << " did not answer WM_GETTEXT";
    return text;
}

::testing::AssertionResult ExitsWithZero(QodexProcess* process)
{
    DWORD exitCode = 0;
    if (!process->WaitForExit(WAIT_MS, &exitCode)) {
        return ::testing::AssertionFailure() << "Qodex.exe did not end";
    }
    if (exitCode != 0) {
        return ::testing::AssertionFailure() << "exit code " << Hex(exitCode);
    }
    return ::testing::AssertionSuccess();
}

void CloseWithEscape(DecoderRun* run)
{
    PressKey(run->numberBox, VK_ESCAPE);
    EXPECT_TRUE(ExitsWithZero(&run->process));
}

}  // namespace qodex_e2e

// gtest's own options, then --qodex=PATH: the executable under test.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--qodex=", 8) == 0) {
            qodex_e2e::qodexExe = qodex_driver::DosPath(argv[i] + 8);
        }
    }
    if (qodex_e2e::qodexExe.empty()) {
        std::fprintf(stderr, "usage: qodex_e2e --qodex=PATH [gtest options]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
