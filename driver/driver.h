// Drives a running Qodex.exe from outside, the way a user and the system do:
// starts it with an exact command line, finds its windows, reads and sets the
// boxes' texts, presses keys and buttons and waits for the exit code. Works
// across processes only through window messages and the system's own calls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qodex_driver {

constexpr char DIALOG_CAPTION[] = "Qodex decoder - https://varnholt.example";
constexpr char USAGE_BOX_CAPTION[] = "Qodex version 1.0.0.0";
constexpr char DIALOG_CLASS[] = "#32770";
constexpr char NOT_FOUND_SENTENCE[] = "Sorry, couldn't find an error's description!";
constexpr int NUMBER_BOX_ID = 101;
constexpr int DESCRIPTION_BOX_ID = 102;
constexpr int MESSAGE_TEXT_ID = 0xFFFF;  // the static that holds a message box's text

// Generous: the first program that Wine starts in a prefix can take seconds.
constexpr DWORD WAIT_MS = 30000;

// Wine maps the Unix root to drive Z:; a path that is already a Windows path
// is returned unchanged.
std::string DosPath(const std::string& path);

// The command line Qodex.exe is started with: its quoted path, then a space
// and the tail when there is one.
std::string QuotedCommandLine(const std::string& exe, const std::string& tail);

// What the decoder should show for a message id: the system's own text, asked
// for exactly as the program asks (system table only, language 0, 512 bytes,
// no arguments), or the fallback sentence when the system has none.
std::string ExpectedDescription(DWORD id);
bool SystemHasDescription(DWORD id);

std::string ClassNameOf(HWND window);
std::string CaptionOf(HWND window);  // a top-level window's own text
DWORD StyleOf(HWND window);
DWORD ExStyleOf(HWND window);
HWND FocusOf(DWORD threadId);  // the thread's keyboard focus (GetGUIThreadInfo)

// A control's text through WM_GETTEXTLENGTH / WM_GETTEXT, which the owning
// thread answers; fails when it does not answer in time.
bool ReadText(HWND window, std::string* text);
bool WriteText(HWND window, const std::string& text);  // WM_SETTEXT, like a paste of anything

// The same for texts of any size, done inside the thread that owns the control
// (threadId) by qodex_text_hook.dll, which must lie next to the driver.
bool WriteTextInThread(HWND control, DWORD threadId, const std::string& text);
bool ReadTextInThread(HWND control, DWORD threadId, std::string* text);

// Keyboard input posted to the window with the focus as the system queues
// it: key down, then key up; the program's own loop translates keys into
// characters and dialog commands.
void PressKey(HWND focus, UINT virtualKey);

// Types characters that need no Shift, one key at a time. TranslateMessage
// queues each character behind whatever already waits in the queue, so after
// each key the driver waits twice (Settle on settleEdit, an edit control of
// the same thread): once for the key, once for the character it made.
bool TypeText(HWND focus, HWND settleEdit, const std::string& text);
void ClickButton(HWND button);         // BM_CLICK
void CloseBox(HWND topLevel);          // WM_SYSCOMMAND SC_CLOSE, as the caption's close box
void SendCloseMessage(HWND topLevel);  // WM_CLOSE

// Waits until the thread that owns the edit control has handled every message
// posted before, by posting a harmless EM_SETLIMITTEXT behind them and
// reading the limit back.
bool Settle(HWND edit);

// The child window with the SS_ICON style, if any.
HWND FindIconControl(HWND parent);

// Which of the system's four message-box icons the control shows, found by
// drawing each one as the control does and comparing the screen's pixels:
// IDI_INFORMATION, IDI_WARNING, IDI_ERROR, IDI_QUESTION, or nullptr when
// none matches within the time.
const char* ShownSystemIcon(HWND iconControl, DWORD waitMs);

// One run of Qodex.exe. The destructor ends a run that a failing test left
// open, so no window stays behind for the next one.
class QodexProcess {
public:
    QodexProcess() = default;
    ~QodexProcess();
    QodexProcess(const QodexProcess&) = delete;
    QodexProcess& operator=(const QodexProcess&) = delete;

    // CreateProcessA with the executable's path as application name and the
    // command line passed as it is, so the program sees exactly that text.
    bool Start(const std::string& exe, const std::string& commandLine);
    const std::string& Error() const { return error_; }

    // A visible top-level dialog-class window of this process with exactly
    // this caption; nullptr when none appears in time or the process ends.
    HWND WaitForWindow(const char* caption, DWORD waitMs = WAIT_MS) const;
    // The decoder dialog or the usage box, whichever appears first.
    HWND WaitForDialogOrUsage(DWORD waitMs, bool* isUsage) const;
    HWND FindWindowNow(const char* caption) const;

    bool WaitForExit(DWORD waitMs, DWORD* exitCode);
    bool Running() const;
    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::string error_;
};

// "0x0000007B (123)": numbers in failure messages, both ways.
std::string Hex(unsigned long value);

// Text with control characters shown as escapes, for messages.
std::string Visible(const std::string& text);

}  // namespace qodex_driver
