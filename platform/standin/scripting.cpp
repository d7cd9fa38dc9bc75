// What a test sets up and reads back across the stand-in's rooms: a fresh
// process, the fault plans, the record of every call and of misuse, and the
// user's actions.

#include "process.h"

namespace standin {
namespace {

const size_t FALLIBLE_CALL_COUNT = sizeof FALLIBLE_CALLS / sizeof FALLIBLE_CALLS[0];

// One kind of plan for every call that can fail.
struct FaultPlan {
    int failingCall = 0;  // 1 = the first call of the run; 0 = none fails
    bool fromThenOn = false;
    int callsMade = 0;
};

struct Record {
    FaultPlan plans[FALLIBLE_CALL_COUNT];
    std::vector<std::string> calls;
    std::vector<std::string> misuses;
};

Record& TheRecord()
{
    static Record record;
    return record;
}

FaultPlan& PlanOf(FallibleCall call) { return TheRecord().plans[static_cast<size_t>(call)]; }

}  // namespace

bool PlannedToFail(FallibleCall call)
{
    FaultPlan& plan = PlanOf(call);
    const int n = ++plan.callsMade;
    return plan.failingCall > 0 && (n == plan.failingCall || (plan.fromThenOn && n > plan.failingCall));
}

void Fail(FallibleCall call, int n, bool fromThenOn)
{
    FaultPlan& plan = PlanOf(call);
    plan.failingCall = n;
    plan.fromThenOn = fromThenOn;
}

const char* NameOf(FallibleCall call)
{
    switch (call) {
        case FallibleCall::TLS_ALLOC:
            return "TlsAlloc";
        case FallibleCall::GLOBAL_ALLOC:
            return "GlobalAlloc";
        case FallibleCall::INIT_COMMON_CONTROLS_EX:
            return "InitCommonControlsEx";
        case FallibleCall::DIALOG_BOX_PARAM:
            return "DialogBoxParamA";
        case FallibleCall::FORMAT_MESSAGE:
            return "FormatMessageA";
    }
    return "?";
}

void Log(const char* name) { TheRecord().calls.push_back(name); }
void Misuse(const std::string& what) { TheRecord().misuses.push_back(what); }

void Reset()
{
    ResetKernel();
    ResetDesktop();
    ResetDialogManager();
    TheRecord() = Record();
}

const std::vector<std::string>& Calls() { return TheRecord().calls; }
const std::vector<std::string>& Misuses() { return TheRecord().misuses; }

Action Type(const std::string& keys, int control) { return Action{Action::TYPE, control, keys, 0, 0, 0}; }
Action Paste(const std::string& text, int control) { return Action{Action::PASTE, control, text, 0, 0, 0}; }
Action Clear(int control) { return Action{Action::PASTE, control, "", 0, 0, 0}; }
Action SetText(const std::string& text, int control) { return Action{Action::SET_TEXT, control, text, 0, 0, 0}; }
Action PressEnter() { return Action{Action::ENTER, 0, "", 0, 0, 0}; }
Action PressEscape() { return Action{Action::ESCAPE, 0, "", 0, 0, 0}; }
Action Click(int control) { return Action{Action::CLICK, control, "", 0, 0, 0}; }
Action CloseBox() { return Action{Action::CLOSE_BOX, 0, "", 0, 0, 0}; }
Action Command(WPARAM wParam, LPARAM lParam) { return Action{Action::MESSAGE, 0, "", WM_COMMAND, wParam, lParam}; }
Action Message(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Action{Action::MESSAGE, 0, "", message, wParam, lParam};
}

}  // namespace standin
