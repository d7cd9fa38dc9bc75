// The dialog manager on the stand-in: the modal loop of DialogBoxParamA,
// played from the tests' script instead of a user, over the controls of a
// template that the tests put in the program's module; the controls' texts
// and the focus, the notifications that edits and buttons send, and the
// user32 calls that a dialog procedure makes.

#include <string.h>

#include "process.h"

namespace standin {
namespace {

// Handle values: recognisable in a debugger, never null, never pointers.
const uintptr_t DIALOG_HANDLE = 0x20000;
const uintptr_t CONTROL_HANDLE_STEP = 4;

// Single-line edits take this much from the keyboard and from pastes unless
// told otherwise; WM_SETTEXT is not limited.
const size_t USER_TEXT_LIMIT = 32767;

struct Control {
    HWND handle;
    int id;
    ControlKind kind;
    std::string text;
};

struct DialogManager {
    std::vector<DialogTemplate> templates;
    std::vector<Action> script;
    std::vector<DialogRun> dialogs;

    // The dialog while it is open.
    bool dialogOpen = false;
    DLGPROC dialogProc = nullptr;
    std::vector<Control> controls;
    HWND focus = nullptr;
};

DialogManager& TheDialogManager()
{
    static DialogManager manager;
    return manager;
}

HWND DialogHandle() { return reinterpret_cast<HWND>(DIALOG_HANDLE); }

bool IsOpenDialog(HWND handle) { return TheDialogManager().dialogOpen && handle == DialogHandle(); }

// Only the controls of the open dialog exist; the dialog window itself has
// no text here.
Control* ControlByHandle(HWND handle)
{
    DialogManager& m = TheDialogManager();
    if (!m.dialogOpen) {
        return nullptr;
    }
    for (Control& c : m.controls) {
        if (c.handle == handle) {
            return &c;
        }
    }
    return nullptr;
}

// The first control with the id, as GetDlgItem finds it.
Control* ControlById(int id)
{
    for (Control& c : TheDialogManager().controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

bool IsEdit(const Control& c)
{
    return c.kind == ControlKind::NUMBER_EDIT || c.kind == ControlKind::READ_ONLY_MULTI_LINE_EDIT;
}

bool IsPushButton(const Control& c) { return c.kind == ControlKind::DEFAULT_BUTTON || c.kind == ControlKind::BUTTON; }

DialogRun& CurrentDialog() { return TheDialogManager().dialogs.back(); }

int FocusedControlId()
{
    const Control* focused = ControlByHandle(TheDialogManager().focus);
    return focused ? focused->id : 0;
}

INT_PTR Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogManager& m = TheDialogManager();
    INT_PTR result = m.dialogProc(DialogHandle(), message, wParam, lParam);
    CurrentDialog().messages.push_back(ProcCall{message, wParam, lParam, result, LiveBlocks(), FocusedControlId()});
    return result;
}

void Notify(const Control& c, WORD code)
{
    Send(WM_COMMAND, MAKEWPARAM(c.id, code), reinterpret_cast<LPARAM>(c.handle));
}

// Edits tell their parent when they gain or lose the focus.
void MoveFocus(HWND to)
{
    DialogManager& m = TheDialogManager();
    if (to == m.focus) {
        return;
    }
    Control* old = ControlByHandle(m.focus);
    m.focus = to;
    if (old && IsEdit(*old)) {
        Notify(*old, EN_KILLFOCUS);
    }
    Control* now = ControlByHandle(to);
    if (now && IsEdit(*now)) {
        Notify(*now, EN_SETFOCUS);
    }
}

// A single-line edit reports every change of its text; a multi-line edit
// stays silent when its text is set by WM_SETTEXT.
void ReplaceText(Control& c, const std::string& text, bool fromUser)
{
    c.text = text;
    if (c.kind == ControlKind::NUMBER_EDIT || (fromUser && c.kind == ControlKind::READ_ONLY_MULTI_LINE_EDIT)) {
        Notify(c, EN_UPDATE);
        Notify(c, EN_CHANGE);
    }
}

void Click(Control& button)
{
    MoveFocus(button.handle);
    Send(WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(button.handle));
}

void PressButtonById(int id)
{
    Control* button = ControlById(id);
    Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button ? button->handle : nullptr));
}

// Enter presses the default push button, or IDOK when there is none.
int DefaultButtonId()
{
    for (const Control& c : TheDialogManager().controls) {
        if (c.kind == ControlKind::DEFAULT_BUTTON) {
            return c.id;
        }
    }
    return IDOK;
}

DialogState Snapshot()
{
    DialogManager& m = TheDialogManager();
    DialogState state;
    for (const Control& c : m.controls) {
        if (IsEdit(c)) {
            state.edits[c.id] = c.text;
        }
    }
    state.focus = FocusedControlId();
    return state;
}

// The edit that the user types or pastes into, focused first; null when
// the control is no edit that takes text from the user.
Control* FocusedUserEdit(int id)
{
    Control* box = ControlById(id);
    if (!box || !IsEdit(*box)) {
        return nullptr;
    }
    MoveFocus(box->handle);
    return box->kind == ControlKind::NUMBER_EDIT ? box : nullptr;  // a read-only edit takes nothing
}

void Play(const Action& action)
{
    DialogManager& m = TheDialogManager();
    switch (action.kind) {
        case Action::TYPE: {
            Control* box = FocusedUserEdit(action.control);
            if (!box) {
                return;
            }
            for (char c : action.text) {
                if (c < '0' || c > '9') {
                    continue;  // ES_NUMBER refuses anything but digits from the keyboard
                }
                if (box->text.size() >= USER_TEXT_LIMIT) {
                    Notify(*box, EN_MAXTEXT);
                    break;
                }
                ReplaceText(*box, box->text + c, true);
            }
            return;
        }
        case Action::PASTE: {
            Control* box = FocusedUserEdit(action.control);
            if (!box) {
                return;
            }
            if (action.text.size() > USER_TEXT_LIMIT) {
                Notify(*box, EN_MAXTEXT);
            }
            ReplaceText(*box, action.text.substr(0, USER_TEXT_LIMIT), true);
            return;
        }
        case Action::SET_TEXT: {
            Control* c = ControlById(action.control);
            if (c) {
                ReplaceText(*c, action.text, false);
            }
            return;
        }
        case Action::ENTER: {
            // A focused push button takes Enter itself.
            Control* focused = ControlByHandle(m.focus);
            PressButtonById(focused && IsPushButton(*focused) ? focused->id : DefaultButtonId());
            return;
        }
        case Action::ESCAPE:
            PressButtonById(IDCANCEL);
            return;
        case Action::CLICK: {
            Control* c = ControlById(action.control);
            if (c && IsPushButton(*c)) {
                Click(*c);
            } else if (c && IsEdit(*c)) {
                MoveFocus(c->handle);
            }
            return;
        }
        case Action::CLOSE_BOX:
            // The default processing of WM_CLOSE presses "Cancel".
            if (Send(WM_CLOSE, 0, 0) == 0) {
                PressButtonById(IDCANCEL);
            }
            return;
        case Action::MESSAGE:
            Send(action.message, action.wParam, action.lParam);
            return;
    }
}

// Names below 0x10000 are numeric resource ids, not strings.
bool IsTemplateName(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) >= 0x10000; }

const DialogTemplate* FindTemplate(HINSTANCE module, LPCSTR name)
{
    if (module != reinterpret_cast<HINSTANCE>(MODULE_HANDLE) || !IsTemplateName(name)) {
        return nullptr;
    }
    for (const DialogTemplate& found : TheDialogManager().templates) {
        if (found.name == name) {
            return &found;
        }
    }
    return nullptr;
}

// Creates the template's controls, empty; returns the first that takes
// the focus (an edit or a button), or null.
HWND CreateControls(const DialogTemplate& dialogTemplate)
{
    DialogManager& m = TheDialogManager();
    m.controls.clear();
    m.focus = nullptr;
    HWND firstTabStop = nullptr;
    uintptr_t handle = DIALOG_HANDLE;
    for (const ControlTemplate& c : dialogTemplate.controls) {
        handle += CONTROL_HANDLE_STEP;
        m.controls.push_back(Control{reinterpret_cast<HWND>(handle), c.id, c.kind, ""});
        if (!firstTabStop && (IsEdit(m.controls.back()) || IsPushButton(m.controls.back()))) {
            firstTabStop = m.controls.back().handle;
        }
    }
    return firstTabStop;
}

}  // namespace

void ResetDialogManager() { TheDialogManager() = DialogManager(); }

void SetDialogTemplates(const std::vector<DialogTemplate>& templates) { TheDialogManager().templates = templates; }
void ScriptDialog(const std::vector<Action>& actions) { TheDialogManager().script = actions; }
const std::vector<DialogRun>& Dialogs() { return TheDialogManager().dialogs; }

}  // namespace standin

using standin::Log;
using standin::Misuse;
using standin::TheDialogManager;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    Log("DialogBoxParamA");
    const bool planned = standin::PlannedToFail(standin::FallibleCall::DIALOG_BOX_PARAM);
    auto& m = TheDialogManager();
    standin::DialogRun run;
    run.templateName = standin::IsTemplateName(lpTemplateName) ? lpTemplateName : "#number";
    run.parent = hWndParent;
    run.initParam = dwInitParam;
    run.liveBlocksAtStart = standin::LiveBlocks();
    run.returned = -1;
    if (m.dialogOpen) {
        Misuse("DialogBoxParamA while a dialog is open");
        return -1;
    }
    const standin::DialogTemplate* found = standin::FindTemplate(hInstance, lpTemplateName);
    if (planned || !found || !lpDialogFunc) {
        m.dialogs.push_back(run);
        return -1;
    }
    run.created = true;
    m.dialogs.push_back(run);
    m.dialogOpen = true;
    m.dialogProc = lpDialogFunc;
    HWND firstTabStop = standin::CreateControls(*found);
    standin::DialogRun& dialog = standin::CurrentDialog();

    if (standin::Send(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), dwInitParam) != 0) {
        standin::MoveFocus(firstTabStop);
    }
    dialog.states.push_back(standin::Snapshot());
    for (const standin::Action& action : m.script) {
        if (dialog.ended) {
            break;
        }
        standin::Play(action);
        ++dialog.actionsPlayed;
        dialog.states.push_back(standin::Snapshot());
    }
    dialog.leftOpen = !dialog.ended;
    standin::Send(0x0002 /* WM_DESTROY */, 0, 0);
    m.dialogOpen = false;
    m.dialogProc = nullptr;
    m.focus = nullptr;
    dialog.returned = dialog.ended ? dialog.endResult : 0;
    return dialog.returned;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    Log("GetDlgItem");
    if (!standin::IsOpenDialog(hDlg)) {
        Misuse("GetDlgItem on a window that is not the open dialog");
        return nullptr;
    }
    standin::Control* control = standin::ControlById(nIDDlgItem);
    return control ? control->handle : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd)
{
    Log("SetFocus");
    HWND previous = TheDialogManager().focus;
    if (hWnd && !standin::IsOpenDialog(hWnd) && !standin::ControlByHandle(hWnd)) {
        Misuse("SetFocus on a window that does not exist");
        return nullptr;
    }
    standin::MoveFocus(hWnd);
    return previous;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Log("EndDialog");
    if (!standin::IsOpenDialog(hDlg)) {
        Misuse("EndDialog on a window that is not the open dialog");
        return FALSE;
    }
    standin::DialogRun& dialog = standin::CurrentDialog();
    dialog.ended = true;
    dialog.endResult = nResult;
    return TRUE;
}

int WINAPI GetWindowTextLengthA(HWND hWnd)
{
    Log("GetWindowTextLengthA");
    standin::Control* c = standin::ControlByHandle(hWnd);
    if (!c) {
        Misuse("GetWindowTextLengthA on a window that is no control of the open dialog");
        return 0;
    }
    return static_cast<int>(c->text.size());
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    Log("GetWindowTextA");
    standin::Control* c = standin::ControlByHandle(hWnd);
    if (!c) {
        Misuse("GetWindowTextA on a window that is no control of the open dialog");
        if (lpString && nMaxCount > 0) {
            lpString[0] = '\0';
        }
        return 0;
    }
    if (!lpString || nMaxCount <= 0) {
        return 0;
    }
    size_t count =
        c->text.size() < static_cast<size_t>(nMaxCount - 1) ? c->text.size() : static_cast<size_t>(nMaxCount - 1);
    memcpy(lpString, c->text.data(), count);
    lpString[count] = '\0';
    return static_cast<int>(count);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    Log("SetWindowTextA");
    standin::Control* c = standin::ControlByHandle(hWnd);
    if (!c) {
        Misuse("SetWindowTextA on a window that is no control of the open dialog");
        return FALSE;
    }
    standin::ReplaceText(*c, lpString ? lpString : "", false);
    return TRUE;
}
