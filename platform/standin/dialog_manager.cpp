// The dialog manager on the stand-in: the modal loop of DialogBoxParamA,
// played from the tests' script instead of a user, the controls' texts and
// the focus, the notifications that edits and buttons send, and the user32
// calls that the dialog procedure makes.

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

enum class Kind { DIALOG, LABEL, NUMBER_EDIT, DESCRIPTION_EDIT, DEFAULT_BUTTON, BUTTON, GROUP_BOX };

struct Window {
    HWND handle;
    int id;
    Kind kind;
    std::string text;
};

struct DialogManager {
    std::vector<Action> script;
    std::vector<DialogRun> dialogs;

    // The dialog while it is open.
    bool dialogOpen = false;
    DLGPROC dialogProc = nullptr;
    std::vector<Window> windows;
    HWND focus = nullptr;
};

DialogManager& TheDialogManager()
{
    static DialogManager manager;
    return manager;
}

HWND DialogHandle() { return reinterpret_cast<HWND>(DIALOG_HANDLE); }

Window* FindWindow(HWND handle)
{
    DialogManager& m = TheDialogManager();
    if (!m.dialogOpen) {
        return nullptr;
    }
    for (Window& w : m.windows) {
        if (w.handle == handle) {
            return &w;
        }
    }
    return nullptr;
}

Window* FindControl(int id)
{
    for (Window& w : TheDialogManager().windows) {
        if (w.kind != Kind::DIALOG && w.id == id) {
            return &w;
        }
    }
    return nullptr;
}

bool IsEdit(const Window& w) { return w.kind == Kind::NUMBER_EDIT || w.kind == Kind::DESCRIPTION_EDIT; }
bool IsPushButton(const Window& w) { return w.kind == Kind::DEFAULT_BUTTON || w.kind == Kind::BUTTON; }

DialogRun& CurrentDialog() { return TheDialogManager().dialogs.back(); }

INT_PTR Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogManager& m = TheDialogManager();
    INT_PTR result = m.dialogProc(DialogHandle(), message, wParam, lParam);
    CurrentDialog().messages.push_back(ProcCall{message, wParam, lParam, result, LiveBlocks()});
    return result;
}

void Notify(const Window& w, WORD code)
{
    Send(WM_COMMAND, MAKEWPARAM(w.id, code), reinterpret_cast<LPARAM>(w.handle));
}

// Edits tell their parent when they gain or lose the focus.
void MoveFocus(HWND to)
{
    DialogManager& m = TheDialogManager();
    if (to == m.focus) {
        return;
    }
    Window* old = FindWindow(m.focus);
    m.focus = to;
    if (old && IsEdit(*old)) {
        Notify(*old, EN_KILLFOCUS);
    }
    Window* now = FindWindow(to);
    if (now && IsEdit(*now)) {
        Notify(*now, EN_SETFOCUS);
    }
}

// A single-line edit reports every change of its text; a multi-line edit
// stays silent when its text is set by WM_SETTEXT.
void ReplaceText(Window& w, const std::string& text, bool fromUser)
{
    w.text = text;
    if (w.kind == Kind::NUMBER_EDIT || (fromUser && w.kind == Kind::DESCRIPTION_EDIT)) {
        Notify(w, EN_UPDATE);
        Notify(w, EN_CHANGE);
    }
}

void Click(Window& button)
{
    MoveFocus(button.handle);
    Send(WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(button.handle));
}

void PressButtonById(int id)
{
    Window* button = FindControl(id);
    Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button ? button->handle : nullptr));
}

DialogState Snapshot()
{
    DialogManager& m = TheDialogManager();
    DialogState state;
    state.code = FindControl(101)->text;
    state.description = FindControl(102)->text;
    Window* focused = FindWindow(m.focus);
    state.focus = (focused && focused->kind != Kind::DIALOG) ? focused->id : 0;
    return state;
}

void Play(const Action& action)
{
    DialogManager& m = TheDialogManager();
    switch (action.kind) {
    case Action::TYPE: {
        Window* box = FindControl(action.control);
        if (!box || !IsEdit(*box)) {
            return;
        }
        MoveFocus(box->handle);
        if (box->kind != Kind::NUMBER_EDIT) {
            return;  // the description box is read-only
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
        Window* box = FindControl(action.control);
        if (!box || !IsEdit(*box)) {
            return;
        }
        MoveFocus(box->handle);
        if (box->kind != Kind::NUMBER_EDIT) {
            return;
        }
        if (action.text.size() > USER_TEXT_LIMIT) {
            Notify(*box, EN_MAXTEXT);
        }
        ReplaceText(*box, action.text.substr(0, USER_TEXT_LIMIT), true);
        return;
    }
    case Action::SET_TEXT: {
        Window* w = FindControl(action.control);
        if (w) {
            ReplaceText(*w, action.text, false);
        }
        return;
    }
    case Action::ENTER: {
        // A focused push button takes Enter itself; otherwise the default
        // button does.
        Window* focused = FindWindow(m.focus);
        PressButtonById(focused && IsPushButton(*focused) ? focused->id : IDOK);
        return;
    }
    case Action::ESCAPE:
        PressButtonById(IDCANCEL);
        return;
    case Action::CLICK: {
        Window* w = FindControl(action.control);
        if (w && IsPushButton(*w)) {
            Click(*w);
        } else if (w && IsEdit(*w)) {
            MoveFocus(w->handle);
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

void CreateDecoderControls()
{
    DialogManager& m = TheDialogManager();
    struct Control {
        int id;
        Kind kind;
        const char* text;
    };
    // Template order, which is also the tab order.
    static const Control controls[] = {
        {-1, Kind::LABEL, "Error Code :"},   {101, Kind::NUMBER_EDIT, ""},
        {IDOK, Kind::DEFAULT_BUTTON, "Decode"}, {IDCANCEL, Kind::BUTTON, "Cancel"},
        {-1, Kind::GROUP_BOX, "Error Description"}, {102, Kind::DESCRIPTION_EDIT, ""},
    };
    m.windows.clear();
    m.windows.push_back(Window{DialogHandle(), 0, Kind::DIALOG, "Qodex decoder"});
    uintptr_t handle = DIALOG_HANDLE;
    for (const Control& c : controls) {
        handle += CONTROL_HANDLE_STEP;
        m.windows.push_back(Window{reinterpret_cast<HWND>(handle), c.id, c.kind, c.text});
    }
    m.focus = nullptr;
}

bool IsOurTemplate(LPCSTR name)
{
    // Names below 0x10000 are numeric resource ids, not strings.
    return reinterpret_cast<uintptr_t>(name) >= 0x10000 && strcmp(name, "QODEXDECODER") == 0;
}

}  // namespace

void ResetDialogManager() { TheDialogManager() = DialogManager(); }

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
    run.templateName = reinterpret_cast<uintptr_t>(lpTemplateName) >= 0x10000 ? lpTemplateName : "#number";
    run.parent = hWndParent;
    run.initParam = dwInitParam;
    run.liveBlocksAtStart = standin::LiveBlocks();
    run.returned = -1;
    if (m.dialogOpen) {
        Misuse("DialogBoxParamA while the decoder dialog is open");
        return -1;
    }
    bool found = hInstance == reinterpret_cast<HINSTANCE>(standin::MODULE_HANDLE) &&
                 standin::IsOurTemplate(lpTemplateName);
    if (planned || !found || !lpDialogFunc) {
        m.dialogs.push_back(run);
        return -1;
    }
    run.created = true;
    m.dialogs.push_back(run);
    m.dialogOpen = true;
    m.dialogProc = lpDialogFunc;
    standin::CreateDecoderControls();
    standin::DialogRun& dialog = standin::CurrentDialog();

    HWND firstTabStop = standin::FindControl(101)->handle;
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
    if (hDlg != standin::DialogHandle() || !standin::FindWindow(hDlg)) {
        Misuse("GetDlgItem on a window that is not the open dialog");
        return nullptr;
    }
    standin::Window* control = standin::FindControl(nIDDlgItem);
    return control ? control->handle : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd)
{
    Log("SetFocus");
    HWND previous = TheDialogManager().focus;
    if (hWnd && !standin::FindWindow(hWnd)) {
        Misuse("SetFocus on a window that does not exist");
        return nullptr;
    }
    standin::MoveFocus(hWnd);
    return previous;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Log("EndDialog");
    if (hDlg != standin::DialogHandle() || !standin::FindWindow(hDlg)) {
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
    standin::Window* w = standin::FindWindow(hWnd);
    if (!w) {
        Misuse("GetWindowTextLengthA on a window that does not exist");
        return 0;
    }
    return static_cast<int>(w->text.size());
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    Log("GetWindowTextA");
    standin::Window* w = standin::FindWindow(hWnd);
    if (!w) {
        Misuse("GetWindowTextA on a window that does not exist");
        if (lpString && nMaxCount > 0) {
            lpString[0] = '\0';
        }
        return 0;
    }
    if (!lpString || nMaxCount <= 0) {
        return 0;
    }
    size_t count = w->text.size() < static_cast<size_t>(nMaxCount - 1) ? w->text.size()
                                                                        : static_cast<size_t>(nMaxCount - 1);
    memcpy(lpString, w->text.data(), count);
    lpString[count] = '\0';
    return static_cast<int>(count);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    Log("SetWindowTextA");
    standin::Window* w = standin::FindWindow(hWnd);
    if (!w) {
        Misuse("SetWindowTextA on a window that does not exist");
        return FALSE;
    }
    standin::ReplaceText(*w, lpString ? lpString : "", false);
    return TRUE;
}
