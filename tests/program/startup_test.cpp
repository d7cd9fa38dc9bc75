#include <string>

#include "app/floating_point_mode.h"
#include "dialog/dialog_ids.h"
#include "dialog/start_code.h"
#include "storage/working_storage.h"
#include "program_test_support.h"
#include "x87_control_word.h"

namespace {

using standin::Calls;
using standin::FallibleCall;

const std::vector<std::string> STARTUP_CALLS = {"CoInitialize", "GetCommandLineA", "TlsAlloc",
                                                "GlobalAlloc",  "TlsSetValue",     "InitCommonControlsEx"};
const std::vector<std::string> SHUTDOWN_CALLS = {"TlsGetValue", "GlobalFree",     "TlsSetValue",
                                                 "TlsFree",     "CoUninitialize", "ExitProcess"};

std::vector<std::string> FirstCalls(size_t n)
{
    const std::vector<std::string>& calls = Calls();
    return std::vector<std::string>(calls.begin(), calls.begin() + static_cast<ptrdiff_t>(std::min(n, calls.size())));
}

std::vector<std::string> LastCalls(size_t n)
{
    const std::vector<std::string>& calls = Calls();
    return std::vector<std::string>(calls.end() - static_cast<ptrdiff_t>(std::min(n, calls.size())), calls.end());
}

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, PreparesRunsAndReleasesInOrder)
{
    EXPECT_EQ(RunQodex("Qodex.exe /?"), 0u);

    EXPECT_EQ(Join(FirstCalls(STARTUP_CALLS.size())), Join(STARTUP_CALLS));
    // Shutdown frees the working storage's block alone: the program's texts
    // were all released before RunProgram returned.
    EXPECT_EQ(Join(LastCalls(SHUTDOWN_CALLS.size())), Join(SHUTDOWN_CALLS));
    ASSERT_EQ(CountCalls("MessageBoxA"), 1u);
    ASSERT_EQ(standin::InitCommonControlsExCalls().size(), 1u);
    EXPECT_EQ(standin::InitCommonControlsExCalls()[0].dwSize, 8u);
    EXPECT_EQ(standin::InitCommonControlsExCalls()[0].dwICC, 0x706Fu)
        << Hex(standin::InitCommonControlsExCalls()[0].dwICC);
    ExpectNothingLeft();
}

TEST_F(StartupTest, EveryWayOutOfTheProgramEndsWithZero)
{
    using namespace standin;
    struct Ending {
        const char* tail;
        std::vector<Action> actions;
    } endings[] = {
        {"/h", {}},
        {"", {PressEscape()}},
        {"", {Click(IDCANCEL)}},
        {"", {CloseBox()}},
        {"5", {Clear(IDC_CODE), Type("2", IDC_CODE), PressEnter(), Click(IDCANCEL)}},
    };
    for (const Ending& e : endings) {
        Reset();
        ScriptDialog(e.actions);
        EXPECT_EQ(RunQodex(std::string("Qodex.exe ") + e.tail), 0u) << "tail [" << e.tail << "]";
        EXPECT_EQ(Join(LastCalls(SHUTDOWN_CALLS.size())), Join(SHUTDOWN_CALLS));
        ExpectNothingLeft();
    }
}

#if defined(__i386__) || defined(__x86_64__)
// A run that starts in another floating-point mode ends in the program's.
TEST_F(StartupTest, LoadsTheFloatingPointControlWord)
{
    // 53-bit precision and rounding toward zero; still no exception unmasked.
    const unsigned short ANOTHER_MODE = 0x0E7F;
    const unsigned short outer = ControlWord();
    LoadControlWord(ANOTHER_MODE);
    standin::ScriptDialog({standin::PressEscape()});

    const UINT exitCode = RunQodex("Qodex.exe 5");
    const unsigned short after = ControlWord();
    LoadControlWord(outer);

    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(after & CONTROL_WORD_FIELDS, FLOATING_POINT_CONTROL_WORD) << "control word " << Hex(after);
}
#endif

TEST_F(StartupTest, WithoutWorkingStorageEndsWith255AndShowsNothing)
{
    // clang-format off
    struct Failure {
        const char* name;
        void (*inject)();
        std::vector<std::string> calls;
    } failures[] = {
        {"no TLS slot", [] { standin::Fail(FallibleCall::TLS_ALLOC, 1); },
         {"CoInitialize", "GetCommandLineA", "TlsAlloc", "CoUninitialize", "ExitProcess"}},
        {"no memory for the block", [] { standin::Fail(FallibleCall::GLOBAL_ALLOC, 1); },
         {"CoInitialize", "GetCommandLineA", "TlsAlloc", "GlobalAlloc", "CoUninitialize", "ExitProcess"}},
    };
    // clang-format on
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        standin::Reset();
        f.inject();
        StartCode = 77;  // RunProgram would reset it

        EXPECT_EQ(RunQodex("Qodex.exe 5"), 255u);

        EXPECT_EQ(Join(Calls()), Join(f.calls));
        EXPECT_TRUE(standin::MessageBoxes().empty());
        EXPECT_TRUE(standin::Dialogs().empty());
        EXPECT_TRUE(standin::InitCommonControlsExCalls().empty());
        EXPECT_EQ(StartCode, 77) << "RunProgram ran";
        EXPECT_EQ(standin::LiveBlocks(), 0u);
    }
}

TEST_F(StartupTest, ComAndCommonControlResultsChangeNothing)
{
    auto run = [] {
        standin::SetMessage(5, "Access is denied.\r\n");
        standin::ScriptDialog({standin::PressEscape()});
        EXPECT_EQ(RunQodex("Qodex.exe 5"), 0u);
        return Calls();
    };
    const std::vector<std::string> normal = run();

    struct Variant {
        const char* name;
        void (*inject)();
    } variants[] = {
        {"CoInitialize S_FALSE", [] { standin::SetCoInitializeResult(S_FALSE); }},
        {"CoInitialize RPC_E_CHANGED_MODE", [] { standin::SetCoInitializeResult(RPC_E_CHANGED_MODE); }},
        {"CoInitialize E_OUTOFMEMORY", [] { standin::SetCoInitializeResult(E_OUTOFMEMORY); }},
        {"InitCommonControlsEx FALSE", [] { standin::Fail(FallibleCall::INIT_COMMON_CONTROLS_EX, 1); }},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        standin::Reset();
        v.inject();
        EXPECT_EQ(Join(run()), Join(normal));
        EXPECT_EQ(CountCalls("CoUninitialize"), 1u);
        ASSERT_EQ(standin::Dialogs().size(), 1u);
        EXPECT_EQ(standin::Dialogs()[0].states[0].Text(IDC_DESCRIPTION), "Access is denied.\r\n");
        ExpectNothingLeft();
    }
}

// Every allocation after the working storage's fails in turn, once and from
// then on: the run goes on to its end and leaves nothing behind.
TEST_F(StartupTest, FailedTextAllocationsAreNeitherShownNorFatal)
{
    const std::vector<standin::Action> actions = {standin::Clear(IDC_CODE), standin::Type("2", IDC_CODE),
                                                  standin::PressEnter(), standin::Click(IDOK), standin::PressEscape()};
    const char* const commandLines[] = {"Qodex.exe 5", "Qodex.exe -h", "Qodex.exe"};
    for (const char* commandLine : commandLines) {
        standin::Reset();
        standin::ScriptDialog(actions);
        ASSERT_EQ(RunQodex(commandLine), 0u);
        size_t allocations = CountCalls("GlobalAlloc");
        ASSERT_GE(allocations, 2u) << commandLine << ": no text was allocated";

        for (int n = 2; n <= static_cast<int>(allocations) + 1; ++n) {
            for (bool fromThenOn : {false, true}) {
                SCOPED_TRACE(std::string(commandLine) + ", failing allocation " + std::to_string(n) +
                             (fromThenOn ? " and all after it" : ""));
                standin::Reset();
                standin::SetMessage(2, "The system cannot find the file specified.\r\n");
                standin::ScriptDialog(actions);
                standin::Fail(FallibleCall::GLOBAL_ALLOC, n, fromThenOn);

                EXPECT_EQ(RunQodex(commandLine), 0u);

                EXPECT_TRUE(standin::Misuses().empty()) << Join(standin::Misuses());
                EXPECT_EQ(standin::MessageBoxes().size() + standin::Dialogs().size(), 1u);
                for (const standin::DialogRun& dialog : standin::Dialogs()) {
                    EXPECT_TRUE(dialog.ended);
                    EXPECT_EQ(dialog.actionsPlayed, actions.size()) << "the dialog ended early";
                }
                EXPECT_EQ(Join(LastCalls(2)), "CoUninitialize, ExitProcess");
                ExpectNothingLeft();
            }
        }
    }
}

TEST_F(StartupTest, NoCopyOfTheTailIsAnEmptyTail)
{
    standin::ScriptDialog({standin::PressEscape()});
    standin::Fail(FallibleCall::GLOBAL_ALLOC, 2);  // the copy of the tail
    EXPECT_EQ(RunQodex("Qodex.exe /?"), 0u);
    EXPECT_TRUE(standin::MessageBoxes().empty());
    EXPECT_EQ(StartCode, START_CODE_UNSET);
    ASSERT_EQ(standin::Dialogs().size(), 1u);
    EXPECT_EQ(standin::Dialogs()[0].states[0].Text(IDC_CODE), "");
    EXPECT_TRUE(standin::CharUpperLengths().empty());
}

TEST_F(StartupTest, ShutdownReleasesTextsLeftInTheWorkingStorage)
{
    ASSERT_TRUE(ObtainWorkingStorage());
    char* kept = CopyText("12345", 5);
    char* released = AllocateText(1000);
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(released, nullptr);
    EXPECT_STREQ(kept, "12345");
    EXPECT_EQ(released[1000], '\0');
    ReleaseText(released);
    EXPECT_EQ(standin::LiveBlocks(), 2u);

    ReleaseWorkingStorage();
    ExpectNothingLeft();
    EXPECT_EQ(AllocateText(1), nullptr) << "a text without working storage";
}

}  // namespace
