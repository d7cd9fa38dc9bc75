// Failure sweep: the program run once for every result of CoInitialize,
// and once for every call of every platform function that can fail,
// failing in turn, once and from then on. Each run must end with its exit code (255 only
// without working storage), show nothing but what a run may show (the
// usage box only for a switch; in the description box only the table's
// text for the box's number, NOT_FOUND_TEXT, or what it showed before) and
// leave nothing allocated.
#include <map>
#include <string>
#include <vector>

#include "app/usage.h"
#include "dialog/dialog_ids.h"
#include "dialog/lookup_description.h"
#include "numtext.h"
#include "program_test_support.h"

namespace {

using standin::Action;
using standin::FallibleCall;

const std::map<DWORD, std::string> MESSAGE_TABLE = {
    {2, "The system cannot find the file specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {0x80004005, "Unspecified error\r\n"},
};

struct Scenario {
    const char* commandLine;
    const char* startText;  // the number box once open: the tail's number, or ""
    bool helpSwitch;
};

const Scenario SCENARIOS[] = {
    {"Qodex.exe 5", "5", false},
    {"Qodex.exe 12 /?", "", true},
    {"Qodex.exe", "", false},
};

// A few decodes: a table text, a pasted '&' form, an empty box, a number
// the table does not hold.
std::vector<Action> Decodes()
{
    using namespace standin;
    return {Clear(IDC_CODE), Type("2", IDC_CODE), PressEnter(), Paste("&H80004005", IDC_CODE),
            Click(IDOK),     Clear(IDC_CODE),     PressEnter(), Type("12", IDC_CODE),
            PressEnter(),    PressEscape()};
}

bool IsDecode(const Action& action)
{
    return action.kind == Action::ENTER || (action.kind == Action::CLICK && action.control == IDOK);
}

// What decoding `text` shows when nothing fails.
std::string Described(const std::string& text)
{
    const auto entry = MESSAGE_TABLE.find(NumberToDword(TextToNumber(text.data(), text.size())));
    return entry == MESSAGE_TABLE.end() ? std::string(NOT_FOUND_TEXT) : entry->second;
}

const HRESULT CO_INITIALIZE_RESULTS[] = {S_FALSE, RPC_E_CHANGED_MODE, E_OUTOFMEMORY};

// Every call that can fail, and what its failing does to the run.
struct PlannedFailure {
    FallibleCall call;
    int leastCalls;          // made at the least by a run without a help switch
    int workingStorageCall;  // the call whose failure leaves start-up without working storage (255), or 0
    bool createsTheDialog;   // failing it leaves no dialog
};

// clang-format off
constexpr PlannedFailure PLANNED_FAILURES[] = {
    // call                                least  storage  dialog
    {FallibleCall::TLS_ALLOC,               1,     1,       false},
    {FallibleCall::GLOBAL_ALLOC,            2,     1,       false},
    {FallibleCall::INIT_COMMON_CONTROLS_EX, 1,     0,       false},
    {FallibleCall::DIALOG_BOX_PARAM,        1,     0,       true},
    {FallibleCall::FORMAT_MESSAGE,          2,     0,       false},
};
// clang-format on
static_assert(sizeof PLANNED_FAILURES / sizeof PLANNED_FAILURES[0] ==
                  sizeof standin::FALLIBLE_CALLS / sizeof standin::FALLIBLE_CALLS[0],
              "the sweep fails every call that the stand-in can make fail");

class FailureSweepTest : public ProgramTest {
protected:
    // One run of `scenario` with `inject` applied first; its exit code.
    template <typename Inject>
    static UINT Run(const Scenario& scenario, Inject inject)
    {
        standin::Reset();
        for (const auto& entry : MESSAGE_TABLE) {
            standin::SetMessage(entry.first, entry.second);
        }
        standin::ScriptDialog(Decodes());
        inject();
        return RunQodex(scenario.commandLine);
    }

    // What every run must hold to, whatever failed.
    static void CheckRun(const Scenario& scenario, UINT exitCode, UINT expectedExitCode, bool dialogCreated)
    {
        EXPECT_EQ(exitCode, expectedExitCode) << Hex(exitCode);
        EXPECT_TRUE(standin::Misuses().empty()) << Join(standin::Misuses());
        EXPECT_EQ(CountCalls("CoUninitialize"), 1u);
        EXPECT_EQ(CountCalls("ExitProcess"), 1u);
        if (expectedExitCode == 255) {
            // Only COM is released on this way out; a slot that TlsAlloc
            // gave stays until ExitProcess, which ends the process at once.
            EXPECT_EQ(standin::LiveBlocks(), 0u) << "GlobalAlloc blocks still allocated";
            EXPECT_LE(standin::LiveTlsSlots(), 1u);
            EXPECT_TRUE(standin::MessageBoxes().empty()) << "a box without working storage";
            EXPECT_TRUE(standin::Dialogs().empty()) << "a dialog without working storage";
            EXPECT_TRUE(standin::InitCommonControlsExCalls().empty());
            return;
        }
        ExpectNothingLeft();
        EXPECT_EQ(standin::MessageBoxes().size() + standin::Dialogs().size(), 1u);
        for (const standin::MessageBoxCall& box : standin::MessageBoxes()) {
            EXPECT_TRUE(scenario.helpSwitch) << "a usage box without a switch";
            EXPECT_EQ(box.text, USAGE_TEXT);
            EXPECT_EQ(box.caption, USAGE_CAPTION);
        }
        for (const standin::DialogRun& dialog : standin::Dialogs()) {
            EXPECT_EQ(dialog.created, dialogCreated);
            if (dialog.created) {
                CheckDialog(scenario, dialog);
            }
        }
    }

    // Each box shows what its text asks for, NOT_FOUND_TEXT, or (when the
    // text could not be read) what it showed before; each message releases
    // what it made.
    static void CheckDialog(const Scenario& scenario, const standin::DialogRun& dialog)
    {
        const std::vector<Action> actions = Decodes();
        EXPECT_TRUE(dialog.ended);
        ASSERT_EQ(dialog.actionsPlayed, actions.size()) << "the dialog ended early";
        ASSERT_EQ(dialog.states.size(), actions.size() + 1);

        const std::string& openCode = dialog.states[0].Text(IDC_CODE);
        const std::string& openDescription = dialog.states[0].Text(IDC_DESCRIPTION);
        EXPECT_TRUE(openCode.empty() || openCode == scenario.startText) << "[" << openCode << "]";
        // The box starts empty: an unread start number leaves it so.
        EXPECT_TRUE(openDescription.empty() || (!openCode.empty() && (openDescription == Described(openCode) ||
                                                                      openDescription == NOT_FOUND_TEXT)))
            << "[" << openDescription << "] once open with [" << openCode << "]";
        for (size_t k = 1; k < dialog.states.size(); ++k) {
            const std::string& before = dialog.states[k - 1].Text(IDC_DESCRIPTION);
            const std::string& code = dialog.states[k].Text(IDC_CODE);
            const std::string& description = dialog.states[k].Text(IDC_DESCRIPTION);
            EXPECT_LE(description.size(), DESCRIPTION_BUFFER_SIZE - 1);
            if (IsDecode(actions[k - 1]) && !code.empty()) {
                EXPECT_TRUE(description == Described(code) || description == NOT_FOUND_TEXT || description == before)
                    << "[" << description << "] after decoding [" << code << "]";
            } else {
                EXPECT_EQ(description, before) << "action " << k << " changed the description";
            }
        }
        for (const standin::ProcCall& call : dialog.messages) {
            EXPECT_EQ(call.liveBlocksAfter, dialog.liveBlocksAtStart)
                << "message " << Hex(call.message) << " left a text allocated";
        }
    }
};

// Without failures each decode shows exactly its text's description: the
// sweep's looser checks below start from a run that does show things.
TEST_F(FailureSweepTest, CleanRunsShowWhatTheirTextsAskFor)
{
    for (const Scenario& scenario : SCENARIOS) {
        SCOPED_TRACE(scenario.commandLine);
        const UINT exitCode = Run(scenario, [] {});
        CheckRun(scenario, exitCode, 0, true);
        ASSERT_EQ(standin::MessageBoxes().size(), scenario.helpSwitch ? 1u : 0u);
        for (const standin::DialogRun& dialog : standin::Dialogs()) {
            const std::vector<Action> actions = Decodes();
            EXPECT_EQ(dialog.states[0].Text(IDC_CODE), scenario.startText);
            for (size_t k = 1; k < dialog.states.size(); ++k) {
                const std::string& code = dialog.states[k].Text(IDC_CODE);
                if (IsDecode(actions[k - 1]) && !code.empty()) {
                    EXPECT_EQ(dialog.states[k].Text(IDC_DESCRIPTION), Described(code))
                        << "after decoding [" << code << "]";
                }
            }
            EXPECT_EQ(dialog.states.back().Text(IDC_DESCRIPTION), NOT_FOUND_TEXT) << "12 is not in the table";
        }
    }
}

TEST_F(FailureSweepTest, EachResultOfCoInitializeIsSurvived)
{
    for (const Scenario& scenario : SCENARIOS) {
        for (const HRESULT result : CO_INITIALIZE_RESULTS) {
            SCOPED_TRACE(std::string(scenario.commandLine) + ": CoInitialize gives " +
                         Hex(static_cast<uint32_t>(result)));
            const UINT exitCode = Run(scenario, [&] { standin::SetCoInitializeResult(result); });
            CheckRun(scenario, exitCode, 0, true);
        }
    }
}

TEST_F(FailureSweepTest, EachCallThatCanFailFailingInTurnIsSurvived)
{
    for (const Scenario& scenario : SCENARIOS) {
        for (const PlannedFailure& failure : PLANNED_FAILURES) {
            // The calls to sweep are those of a run in which nothing fails.
            Run(scenario, [] {});
            const char* name = standin::NameOf(failure.call);
            const int calls = static_cast<int>(CountCalls(name));
            if (!scenario.helpSwitch) {
                ASSERT_GE(calls, failure.leastCalls)
                    << scenario.commandLine << ": too few " << name << " calls to sweep";
            }
            for (int n = 1; n <= calls; ++n) {
                for (bool fromThenOn : {false, true}) {
                    SCOPED_TRACE(std::string(scenario.commandLine) + ": " + name + " number " + std::to_string(n) +
                                 (fromThenOn ? " and every later one" : "") + " fails");
                    const UINT exitCode = Run(scenario, [&] { standin::Fail(failure.call, n, fromThenOn); });
                    const bool noStorage = n == failure.workingStorageCall;
                    CheckRun(scenario, exitCode, noStorage ? 255 : 0, !noStorage && !failure.createsTheDialog);
                }
            }
        }
    }
}

}  // namespace
