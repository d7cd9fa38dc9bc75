// What a test sets up and reads back across the stand-in's rooms: a fresh
// process, the record of every call and of misuse, and the user's actions.

#include "process.h"

namespace standin {
namespace {

struct Record {
    std::vector<std::string> calls;
    std::vector<std::string> misuses;
};

Record& TheRecord()
{
    static Record record;
    return record;
}

}  // namespace

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
