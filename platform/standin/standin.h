// Test-side control of the host stand-in: what the tests script (command
// line, message table, dialog templates, the user's actions in a dialog,
// failures) and what they read back (the calls made, message boxes, dialog
// states, memory). The stand-in knows nothing of the program's dialog: the
// tests put its template in the program's module.
#pragma once

#include <stddef.h>

#include <map>
#include <string>
#include <vector>

#include "win32_standin.h"

namespace standin {

// Thrown by ExitProcess so that a test regains control after the entry
// routine has ended the "process".
struct ProcessExit {
    UINT code;
};

// Back to a fresh process: empty command line, empty message table, no
// dialog templates, no failures, no records. Memory still held from an
// earlier run is freed and forgotten.
void Reset();

// ---- Scripted inputs -------------------------------------------------------

void SetCommandLine(const std::string& commandLine);

// The system message table. An id without an entry has no description.
void SetMessage(DWORD id, const std::string& text);

// What CoInitialize gives: S_OK unless set. No fault plan, since it has
// several results that a test names: S_FALSE (COM already set up on the
// thread), RPC_E_CHANGED_MODE (set up as another apartment), E_OUTOFMEMORY.
void SetCoInitializeResult(HRESULT result);

// ---- Fault plans -----------------------------------------------------------

// The calls that a test can make fail, each failing as the real one does:
// TlsAlloc gives TLS_OUT_OF_INDEXES, GlobalAlloc NULL, FormatMessageA 0 as
// for an id without a description, DialogBoxParamA -1 with no dialog
// created, InitCommonControlsEx FALSE.
enum class FallibleCall { TLS_ALLOC, GLOBAL_ALLOC, INIT_COMMON_CONTROLS_EX, DIALOG_BOX_PARAM, FORMAT_MESSAGE };

constexpr FallibleCall FALLIBLE_CALLS[] = {FallibleCall::TLS_ALLOC, FallibleCall::GLOBAL_ALLOC,
                                           FallibleCall::INIT_COMMON_CONTROLS_EX, FallibleCall::DIALOG_BOX_PARAM,
                                           FallibleCall::FORMAT_MESSAGE};

// The call's name, as Calls() records it.
const char* NameOf(FallibleCall call);

// The fault plan of `call`: its n-th call of the run (1 = the first) fails;
// with `fromThenOn`, every later one as well. A new plan for the same call
// replaces the old one; Reset clears them all.
void Fail(FallibleCall call, int n, bool fromThenOn = false);

// ---- Dialogs ---------------------------------------------------------------

// The controls as the dialog manager tells them apart.
enum class ControlKind {
    LABEL,
    GROUP_BOX,
    NUMBER_EDIT,                // single-line, ES_NUMBER: only digits from the keyboard
    READ_ONLY_MULTI_LINE_EDIT,  // silent when its text is set
    DEFAULT_BUTTON,             // takes Enter unless another button has the focus
    BUTTON,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
};

// A dialog template as DialogBoxParamA finds it, by name, in the program's
// module: its controls in template order, which is also the tab order. The
// first edit or button takes the focus when the dialog opens.
struct DialogTemplate {
    std::string name;
    std::vector<ControlTemplate> controls;
};

// The dialog templates in the program's module.
void SetDialogTemplates(const std::vector<DialogTemplate>& templates);

// One action of the user in a dialog.
struct Action {
    enum Kind {
        TYPE,      // keys typed into a box, which takes the focus first
        PASTE,     // the box's whole text replaced by a paste
        SET_TEXT,  // WM_SETTEXT from outside: any length, no limit
        ENTER,
        ESCAPE,
        CLICK,      // mouse click on a button: focus, then BN_CLICKED
        CLOSE_BOX,  // the caption's close box (WM_CLOSE)
        MESSAGE,    // any message, straight to the dialog procedure
    } kind;
    int control;       // TYPE, PASTE, SET_TEXT, CLICK
    std::string text;  // TYPE, PASTE, SET_TEXT
    UINT message;      // MESSAGE
    WPARAM wParam;     // MESSAGE
    LPARAM lParam;     // MESSAGE
};
Action Type(const std::string& keys, int control);
Action Paste(const std::string& text, int control);
Action Clear(int control);  // select all, Delete
Action SetText(const std::string& text, int control);
Action PressEnter();
Action PressEscape();
Action Click(int control);
Action CloseBox();
Action Command(WPARAM wParam, LPARAM lParam = 0);
Action Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The actions played, in order, in the next dialog opened.
void ScriptDialog(const std::vector<Action>& actions);

// ---- Records -----------------------------------------------------------------

// Every platform call, by name, in the order made.
const std::vector<std::string>& Calls();

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
const std::vector<MessageBoxCall>& MessageBoxes();

struct FormatMessageCall {
    DWORD flags;
    LPCVOID source;
    DWORD messageId;
    DWORD languageId;
    DWORD size;
    bool arguments;  // a non-null argument list was passed
    DWORD result;
};
const std::vector<FormatMessageCall>& FormatMessageCalls();

const std::vector<DWORD>& Sleeps();
const std::vector<DWORD>& CharUpperLengths();
const std::vector<INITCOMMONCONTROLSEX>& InitCommonControlsExCalls();
const std::vector<UINT>& ExitCodes();

// What the dialog showed after it opened and after each action.
struct DialogState {
    std::map<int, std::string> edits;  // each edit control's text, by id
    int focus;                         // control id with the keyboard focus, 0 for none

    // The text of the edit control `id`; std::out_of_range for any other.
    const std::string& Text(int id) const { return edits.at(id); }
};

// One message handed to the dialog procedure.
struct ProcCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    INT_PTR result;
    size_t liveBlocksAfter;  // GlobalAlloc blocks alive when it returned
    int focusAfter;          // control id with the focus when it returned, 0 for none
};

struct DialogRun {
    std::string templateName;
    HWND parent;
    LPARAM initParam;
    INT_PTR returned;  // DialogBoxParamA's result
    bool created = false;
    bool ended = false;     // EndDialog was called
    bool leftOpen = false;  // the script ran out first
    INT_PTR endResult = 0;
    size_t actionsPlayed = 0;
    size_t liveBlocksAtStart = 0;     // GlobalAlloc blocks alive on entry
    std::vector<DialogState> states;  // [0] once open, then one per action
    std::vector<ProcCall> messages;
};
const std::vector<DialogRun>& Dialogs();

// Memory and slots the program holds now, and misuse seen (freeing what
// it does not own, handles it was never given, ...).
size_t LiveBlocks();
size_t LiveTlsSlots();
const std::vector<std::string>& Misuses();

}  // namespace standin
