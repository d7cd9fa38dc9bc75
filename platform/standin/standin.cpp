// The host stand-in of the Win32 API: the program's platform calls, done the
// way the program expects of each of them, with tests scripting the inputs
// and reading back what the program did.

#include "standin.h"

#include <stdlib.h>
#include <string.h>

#include <map>

namespace standin {
namespace {

// Handle values: recognisable in a debugger, never null, never pointers.
const uintptr_t DESKTOP_HANDLE = 0x10010;
const uintptr_t MODULE_HANDLE = 0x00400000;
const uintptr_t DIALOG_HANDLE = 0x20000;
const uintptr_t CONTROL_HANDLE_STEP = 4;

// Single-line edits take this much from the keyboard and from pastes unless
// told otherwise; WM_SETTEXT is not limited.
const size_t USER_TEXT_LIMIT = 32767;
const SIZE_T LARGEST_BLOCK = 256u * 1024 * 1024;
const BYTE UNINITIALISED_BYTE = 0xA5;
const char SCRIBBLE_CHAR = '#';
const DWORD FIRST_TLS_INDEX = 5;

enum class Kind { DIALOG, LABEL, NUMBER_EDIT, DESCRIPTION_EDIT, DEFAULT_BUTTON, BUTTON, GROUP_BOX };

struct Window {
    HWND handle;
    int id;
    Kind kind;
    std::string text;
};

struct State {
    std::vector<char> commandLine = std::vector<char>(1, '\0');
    std::map<DWORD, std::string> messageTable;

    bool failTlsAlloc = false;
    int failGlobalAllocAt = 0;
    bool failGlobalAllocOnward = false;
    int globalAllocCount = 0;
    int failFormatMessageAt = 0;
    bool failFormatMessageOnward = false;
    int formatMessageCount = 0;
    BOOL initCommonControlsExResult = TRUE;
    HRESULT coInitializeResult = S_OK;
    bool failDialogCreation = false;
    std::vector<Action> script;

    std::vector<std::string> calls;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FormatMessageCall> formatMessageCalls;
    std::vector<DWORD> sleeps;
    std::vector<DWORD> charUpperLengths;
    std::vector<INITCOMMONCONTROLSEX> initCommonControlsExCalls;
    std::vector<UINT> exitCodes;
    std::vector<DialogRun> dialogs;
    std::vector<std::string> misuses;

    std::map<void*, SIZE_T> blocks;
    std::map<DWORD, LPVOID> tlsSlots;
    DWORD nextTlsIndex = FIRST_TLS_INDEX;

    // The dialog while it is open.
    bool dialogOpen = false;
    DLGPROC dialogProc = nullptr;
    std::vector<Window> windows;
    HWND focus = nullptr;
};

State& TheState()
{
    static State state;
    return state;
}

void Log(const char* name) { TheState().calls.push_back(name); }

void Misuse(const std::string& what) { TheState().misuses.push_back(what); }

// ---- The simulated dialog --------------------------------------------------

HWND DialogHandle() { return reinterpret_cast<HWND>(DIALOG_HANDLE); }

Window* FindWindow(HWND handle)
{
    State& s = TheState();
    if (!s.dialogOpen) {
        return nullptr;
    }
    for (Window& w : s.windows) {
        if (w.handle == handle) {
            return &w;
        }
    }
    return nullptr;
}

Window* FindControl(int id)
{
    for (Window& w : TheState().windows) {
        if (w.kind != Kind::DIALOG && w.id == id) {
            return &w;
        }
    }
    return nullptr;
}

bool IsEdit(const Window& w) { return w.kind == Kind::NUMBER_EDIT || w.kind == Kind::DESCRIPTION_EDIT; }
bool IsPushButton(const Window& w) { return w.kind == Kind::DEFAULT_BUTTON || w.kind == Kind::BUTTON; }

DialogRun& CurrentDialog() { return TheState().dialogs.back(); }

INT_PTR Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    State& s = TheState();
    INT_PTR result = s.dialogProc(DialogHandle(), message, wParam, lParam);
    CurrentDialog().messages.push_back(ProcCall{message, wParam, lParam, result, s.blocks.size()});
    return result;
}

void Notify(const Window& w, WORD code)
{
    Send(WM_COMMAND, MAKEWPARAM(w.id, code), reinterpret_cast<LPARAM>(w.handle));
}

// Edits tell their parent when they gain or lose the focus.
void MoveFocus(HWND to)
{
    State& s = TheState();
    if (to == s.focus) {
        return;
    }
    Window* old = FindWindow(s.focus);
    s.focus = to;
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
    State& s = TheState();
    DialogState state;
    state.code = FindControl(101)->text;
    state.description = FindControl(102)->text;
    Window* focused = FindWindow(s.focus);
    state.focus = (focused && focused->kind != Kind::DIALOG) ? focused->id : 0;
    return state;
}

void Play(const Action& action)
{
    State& s = TheState();
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
        Window* focused = FindWindow(s.focus);
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
    State& s = TheState();
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
    s.windows.clear();
    s.windows.push_back(Window{DialogHandle(), 0, Kind::DIALOG, "Qodex decoder"});
    uintptr_t handle = DIALOG_HANDLE;
    for (const Control& c : controls) {
        handle += CONTROL_HANDLE_STEP;
        s.windows.push_back(Window{reinterpret_cast<HWND>(handle), c.id, c.kind, c.text});
    }
    s.focus = nullptr;
}

bool IsOurTemplate(LPCSTR name)
{
    // Names below 0x10000 are numeric resource ids, not strings.
    return reinterpret_cast<uintptr_t>(name) >= 0x10000 && strcmp(name, "QODEXDECODER") == 0;
}

BYTE UpperCp1252(BYTE c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<BYTE>(c - 0x20);
    }
    switch (c) {
    case 0x9A: return 0x8A;  // s with caron
    case 0x9C: return 0x8C;  // oe ligature
    case 0x9E: return 0x8E;  // z with caron
    case 0xFF: return 0x9F;  // y with diaeresis
    default: return c;
    }
}

}  // namespace

// ---- Scripting -------------------------------------------------------------

void Reset()
{
    State& s = TheState();
    for (auto& block : s.blocks) {
        free(block.first);
    }
    s = State();
}

void SetCommandLine(const std::string& commandLine)
{
    TheState().commandLine.assign(commandLine.begin(), commandLine.end());
    TheState().commandLine.push_back('\0');
}

void SetMessage(DWORD id, const std::string& text) { TheState().messageTable[id] = text; }

void FailTlsAlloc() { TheState().failTlsAlloc = true; }

void FailGlobalAlloc(int n, bool fromThenOn)
{
    TheState().failGlobalAllocAt = n;
    TheState().failGlobalAllocOnward = fromThenOn;
}

void FailFormatMessage(int n, bool fromThenOn)
{
    TheState().failFormatMessageAt = n;
    TheState().failFormatMessageOnward = fromThenOn;
}

void SetInitCommonControlsExResult(BOOL result) { TheState().initCommonControlsExResult = result; }
void SetCoInitializeResult(HRESULT result) { TheState().coInitializeResult = result; }
void FailDialogCreation() { TheState().failDialogCreation = true; }

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

void ScriptDialog(const std::vector<Action>& actions) { TheState().script = actions; }

const std::vector<std::string>& Calls() { return TheState().calls; }
const std::vector<MessageBoxCall>& MessageBoxes() { return TheState().messageBoxes; }
const std::vector<FormatMessageCall>& FormatMessageCalls() { return TheState().formatMessageCalls; }
const std::vector<DWORD>& Sleeps() { return TheState().sleeps; }
const std::vector<DWORD>& CharUpperLengths() { return TheState().charUpperLengths; }
const std::vector<INITCOMMONCONTROLSEX>& InitCommonControlsExCalls() { return TheState().initCommonControlsExCalls; }
const std::vector<UINT>& ExitCodes() { return TheState().exitCodes; }
const std::vector<DialogRun>& Dialogs() { return TheState().dialogs; }
size_t LiveBlocks() { return TheState().blocks.size(); }
size_t LiveTlsSlots() { return TheState().tlsSlots.size(); }
const std::vector<std::string>& Misuses() { return TheState().misuses; }

}  // namespace standin

using standin::TheState;
using standin::Log;
using standin::Misuse;

// ---- kernel32 --------------------------------------------------------------

LPSTR WINAPI GetCommandLineA(void)
{
    Log("GetCommandLineA");
    return TheState().commandLine.data();
}

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                            LPSTR lpBuffer, DWORD nSize, va_list* Arguments)
{
    Log("FormatMessageA");
    auto& s = TheState();
    DWORD result = 0;
    auto entry = s.messageTable.find(dwMessageId);
    int n = ++s.formatMessageCount;
    if (n == s.failFormatMessageAt ||
        (s.failFormatMessageOnward && s.failFormatMessageAt > 0 && n > s.failFormatMessageAt)) {
        entry = s.messageTable.end();  // fails as for an id the table does not hold
    }
    if (!lpBuffer || (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) || !(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)) {
        Misuse("FormatMessageA asked for something but a lookup into the caller's buffer");
    } else if (entry != s.messageTable.end() && entry->second.size() < nSize) {
        memcpy(lpBuffer, entry->second.c_str(), entry->second.size() + 1);
        result = static_cast<DWORD>(entry->second.size());
    } else {
        // No description, or one too long for the buffer: the call fails,
        // and what it leaves in the buffer is no text at all.
        memset(lpBuffer, standin::SCRIBBLE_CHAR, nSize);
    }
    s.formatMessageCalls.push_back(standin::FormatMessageCall{dwFlags, lpSource, dwMessageId, dwLanguageId, nSize,
                                                              Arguments != nullptr, result});
    return result;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    Log("GetModuleHandleA");
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(standin::MODULE_HANDLE);
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    Log("Sleep");
    TheState().sleeps.push_back(dwMilliseconds);
}

DWORD WINAPI TlsAlloc(void)
{
    Log("TlsAlloc");
    auto& s = TheState();
    if (s.failTlsAlloc) {
        return TLS_OUT_OF_INDEXES;
    }
    DWORD index = s.nextTlsIndex++;
    s.tlsSlots[index] = nullptr;
    return index;
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue)
{
    Log("TlsSetValue");
    auto slot = TheState().tlsSlots.find(dwTlsIndex);
    if (slot == TheState().tlsSlots.end()) {
        Misuse("TlsSetValue on a slot that is not allocated");
        return FALSE;
    }
    slot->second = lpTlsValue;
    return TRUE;
}

LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex)
{
    Log("TlsGetValue");
    auto slot = TheState().tlsSlots.find(dwTlsIndex);
    if (slot == TheState().tlsSlots.end()) {
        Misuse("TlsGetValue on a slot that is not allocated");
        return nullptr;
    }
    return slot->second;
}

BOOL WINAPI TlsFree(DWORD dwTlsIndex)
{
    Log("TlsFree");
    if (TheState().tlsSlots.erase(dwTlsIndex) == 0) {
        Misuse("TlsFree on a slot that is not allocated");
        return FALSE;
    }
    return TRUE;
}

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    Log("GlobalAlloc");
    auto& s = TheState();
    int n = ++s.globalAllocCount;
    if (n == s.failGlobalAllocAt || (s.failGlobalAllocOnward && s.failGlobalAllocAt > 0 && n > s.failGlobalAllocAt)) {
        return nullptr;
    }
    if ((uFlags & ~static_cast<UINT>(GMEM_ZEROINIT)) != GMEM_FIXED) {
        Misuse("GlobalAlloc of a block that is not fixed: the program uses the result as a pointer");
        return nullptr;
    }
    if (dwBytes > standin::LARGEST_BLOCK) {
        return nullptr;
    }
    void* block = malloc(dwBytes ? dwBytes : 1);
    if (!block) {
        return nullptr;
    }
    // Unasked-for zeros would hide code that relies on them.
    memset(block, (uFlags & GMEM_ZEROINIT) ? 0 : standin::UNINITIALISED_BYTE, dwBytes);
    s.blocks[block] = dwBytes;
    return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    Log("GlobalFree");
    if (!hMem) {
        return nullptr;
    }
    if (TheState().blocks.erase(hMem) == 0) {
        Misuse("GlobalFree of a block that is not allocated");
        return hMem;
    }
    free(hMem);
    return nullptr;
}

void WINAPI ExitProcess(UINT uExitCode)
{
    Log("ExitProcess");
    TheState().exitCodes.push_back(uExitCode);
    throw standin::ProcessExit{uExitCode};
}

// ---- user32 ----------------------------------------------------------------

DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength)
{
    Log("CharUpperBuffA");
    TheState().charUpperLengths.push_back(cchLength);
    if (!lpsz) {
        Misuse("CharUpperBuffA without a text");
        return 0;
    }
    for (DWORD i = 0; i < cchLength; ++i) {
        lpsz[i] = static_cast<char>(standin::UpperCp1252(static_cast<BYTE>(lpsz[i])));
    }
    return cchLength;
}

HWND WINAPI GetDesktopWindow(void)
{
    Log("GetDesktopWindow");
    return reinterpret_cast<HWND>(standin::DESKTOP_HANDLE);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    Log("MessageBoxA");
    TheState().messageBoxes.push_back(
        standin::MessageBoxCall{hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "", uType});
    return IDOK;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    Log("DialogBoxParamA");
    auto& s = TheState();
    standin::DialogRun run;
    run.templateName = reinterpret_cast<uintptr_t>(lpTemplateName) >= 0x10000 ? lpTemplateName : "#number";
    run.parent = hWndParent;
    run.initParam = dwInitParam;
    run.liveBlocksAtStart = s.blocks.size();
    run.returned = -1;
    if (s.dialogOpen) {
        standin::Misuse("DialogBoxParamA while the decoder dialog is open");
        return -1;
    }
    bool found = hInstance == reinterpret_cast<HINSTANCE>(standin::MODULE_HANDLE) &&
                 standin::IsOurTemplate(lpTemplateName);
    if (s.failDialogCreation || !found || !lpDialogFunc) {
        s.dialogs.push_back(run);
        return -1;
    }
    run.created = true;
    s.dialogs.push_back(run);
    s.dialogOpen = true;
    s.dialogProc = lpDialogFunc;
    standin::CreateDecoderControls();
    standin::DialogRun& dialog = standin::CurrentDialog();

    HWND firstTabStop = standin::FindControl(101)->handle;
    if (standin::Send(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), dwInitParam) != 0) {
        standin::MoveFocus(firstTabStop);
    }
    dialog.states.push_back(standin::Snapshot());
    for (const standin::Action& action : s.script) {
        if (dialog.ended) {
            break;
        }
        standin::Play(action);
        ++dialog.actionsPlayed;
        dialog.states.push_back(standin::Snapshot());
    }
    dialog.leftOpen = !dialog.ended;
    standin::Send(0x0002 /* WM_DESTROY */, 0, 0);
    s.dialogOpen = false;
    s.dialogProc = nullptr;
    s.focus = nullptr;
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
    HWND previous = TheState().focus;
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

// ---- comctl32 --------------------------------------------------------------

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    Log("InitCommonControlsEx");
    if (!picce) {
        Misuse("InitCommonControlsEx without its structure");
        return FALSE;
    }
    TheState().initCommonControlsExCalls.push_back(*picce);
    return TheState().initCommonControlsExResult;
}

// ---- ole32 -----------------------------------------------------------------

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    Log("CoInitialize");
    if (pvReserved) {
        Misuse("CoInitialize with a non-null argument");
    }
    return TheState().coInitializeResult;
}

void WINAPI CoUninitialize(void) { Log("CoUninitialize"); }
