#include "driver.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text_hook.h"

namespace qodex_driver {
namespace {

constexpr DWORD POLL_MS = 20;
// A live window answers a sent message well within this, even on an emulated
// processor (the guest route), where setting 64 KiB of text takes seconds.
// No SMTO_ABORTIFHUNG: a thread busy for 5 s with a huge text there would
// count as hung.
constexpr UINT ANSWER_MS = 60000;

bool Answered(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, ANSWER_MS, result) != 0;
}

struct WindowSearch {
    DWORD processId;
    const char* caption;  // nullptr: either of the program's two captions
    HWND found;
};

bool IsProgramWindow(HWND window, DWORD processId, const char* caption)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId || !IsWindowVisible(window) || ClassNameOf(window) != DIALOG_CLASS) {
        return false;
    }
    const std::string text = CaptionOf(window);
    if (caption != nullptr) {
        return text == caption;
    }
    return text == DIALOG_CAPTION || text == USAGE_BOX_CAPTION;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (IsProgramWindow(window, search->processId, search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectIcon(HWND window, LPARAM data)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// A 32-bit top-down picture, for pixel comparisons.
class Picture {
public:
    Picture(HDC screen, int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Picture()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HDC Dc() const { return dc_; }
    bool Valid() const { return bits_ != nullptr; }
    uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0x00FFFFFF; }
    bool SameAs(const Picture& other) const
    {
        GdiFlush();
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (At(x, y) != other.At(x, y)) {
                    return false;
                }
            }
        }
        return true;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

}  // namespace

std::string DosPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string dos = "Z:" + path;
    for (char& c : dos) {
        if (c == '/') {
            c = '\\';
        }
    }
    return dos;
}

std::string QuotedCommandLine(const std::string& exe, const std::string& tail)
{
    std::string line = "\"" + exe + "\"";
    if (!tail.empty()) {
        line += " " + tail;
    }
    return line;
}

std::string ExpectedDescription(DWORD id)
{
    char buffer[512] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, id, 0, buffer, sizeof buffer, nullptr) == 0) {
        return NOT_FOUND_SENTENCE;
    }
    return buffer;
}

bool SystemHasDescription(DWORD id)
{
    char buffer[512] = {};
    return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, id, 0, buffer, sizeof buffer, nullptr) != 0;
}

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string CaptionOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)); }

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool ReadText(HWND window, std::string* text)
{
    DWORD_PTR length = 0;
    if (!Answered(window, WM_GETTEXTLENGTH, 0, 0, &length)) {
        return false;
    }
    std::vector<char> buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!Answered(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied)) {
        return false;
    }
    if (copied > length) {
        return false;
    }
    text->assign(buffer.data(), copied);
    return true;
}

bool WriteText(HWND window, const std::string& text)
{
    DWORD_PTR result = 0;
    return Answered(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) && result == TRUE;
}

namespace {

bool RunTextCommand(HWND control, DWORD threadId, TextCommand command, std::string* text)
{
    HMODULE dll = LoadLibraryA(TEXT_HOOK_DLL);
    if (dll == nullptr) {
        return false;
    }
    auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, TEXT_HOOK_PROC)));
    const DWORD capacity = static_cast<DWORD>(text->size()) + 4 * 1024 * 1024;
    char name[64];
    std::snprintf(name, sizeof name, "QodexDriverText-%lu", static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TextBlock) + capacity, name);
    auto* block = mapping ? static_cast<TextBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    bool done = false;
    if (hookProc != nullptr && block != nullptr) {
        char* blockText = reinterpret_cast<char*>(block + 1);
        block->state = BLOCK_PENDING;
        block->capacity = capacity;
        block->length = static_cast<DWORD>(text->size());
        std::memcpy(blockText, text->data(), text->size());
        blockText[text->size()] = '\0';
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, hookProc, dll, threadId);
        if (hook != nullptr &&
            PostMessageA(control, RegisterWindowMessageA(TEXT_COMMAND_MESSAGE), GetCurrentProcessId(), command)) {
            for (DWORD waited = 0; block->state == BLOCK_PENDING && waited < WAIT_MS; waited += POLL_MS) {
                Sleep(POLL_MS);
            }
            done = block->state == BLOCK_DONE;
            if (done && command == COMMAND_READ_TEXT) {
                text->assign(blockText, block->length);
            }
        }
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
    }
    if (block != nullptr) {
        UnmapViewOfFile(block);
    }
    if (mapping != nullptr) {
        CloseHandle(mapping);
    }
    FreeLibrary(dll);
    return done;
}

}  // namespace

bool WriteTextInThread(HWND control, DWORD threadId, const std::string& text)
{
    std::string copy = text;
    return RunTextCommand(control, threadId, COMMAND_SET_TEXT, &copy);
}

bool ReadTextInThread(HWND control, DWORD threadId, std::string* text)
{
    text->clear();
    return RunTextCommand(control, threadId, COMMAND_READ_TEXT, text);
}

void PressKey(HWND focus, UINT virtualKey)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) & 0xFF) << 16;
    PostMessageA(focus, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(focus, WM_KEYUP, virtualKey, scan | 1 | (1L << 30) | (1L << 31));
}

bool TypeText(HWND focus, HWND settleEdit, const std::string& text)
{
    for (char c : text) {
        const SHORT key = VkKeyScanA(c);
        if (key == -1 || (key & 0xFF00) != 0) {
            return false;  // needs Shift or has no key
        }
        PressKey(focus, static_cast<UINT>(key & 0xFF));
        if (!Settle(settleEdit) || !Settle(settleEdit)) {
            return false;
        }
    }
    return true;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void CloseBox(HWND topLevel) { PostMessageA(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0); }

void SendCloseMessage(HWND topLevel) { PostMessageA(topLevel, WM_CLOSE, 0, 0); }

bool Settle(HWND edit)
{
    static WPARAM marker = 0x10000000;
    const WPARAM limit = ++marker;
    if (!PostMessageA(edit, EM_SETLIMITTEXT, limit, 0)) {
        return false;
    }
    for (DWORD waited = 0; waited < WAIT_MS; waited += POLL_MS) {
        DWORD_PTR current = 0;
        if (!Answered(edit, EM_GETLIMITTEXT, 0, 0, &current)) {
            return false;
        }
        if (current == limit) {
            return true;
        }
        Sleep(POLL_MS);
    }
    return false;
}

HWND FindIconControl(HWND parent)
{
    HWND icon = nullptr;
    EnumChildWindows(parent, CollectIcon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

const char* ShownSystemIcon(HWND iconControl, DWORD waitMs)
{
    struct Candidate {
        const char* name;
        LPCSTR id;
    };
    static const Candidate candidates[] = {
        {"IDI_INFORMATION", IDI_INFORMATION},
        {"IDI_WARNING", IDI_WARNING},
        {"IDI_ERROR", IDI_ERROR},
        {"IDI_QUESTION", IDI_QUESTION},
    };
    RECT client = {};
    GetClientRect(iconControl, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    const char* match = nullptr;
    for (DWORD waited = 0; match == nullptr && waited < waitMs; waited += 100) {
        POINT origin = {0, 0};
        ClientToScreen(iconControl, &origin);
        Picture shown(screen, width, height);
        if (!shown.Valid()) {
            break;
        }
        BitBlt(shown.Dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        // The corner lies outside the round icons: it shows the background
        // that the control fills before it draws.
        const uint32_t background = shown.At(0, 0);
        HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
        for (const Candidate& candidate : candidates) {
            Picture drawn(screen, width, height);
            FillRect(drawn.Dc(), &client, brush);
            DrawIconEx(drawn.Dc(), 0, 0, LoadIconA(nullptr, candidate.id), width, height, 0, nullptr, DI_NORMAL);
            if (drawn.SameAs(shown)) {
                match = candidate.name;
                break;
            }
        }
        DeleteObject(brush);
        if (match == nullptr) {
            Sleep(100);  // not painted yet
        }
    }
    ReleaseDC(nullptr, screen);
    return match;
}

QodexProcess::~QodexProcess()
{
    if (process_ == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, WAIT_MS);
    }
    CloseHandle(process_);
}

bool QodexProcess::Start(const std::string& exe, const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        error_ = "CreateProcessA failed for " + exe + " with error " + Hex(GetLastError()) + ", command line of " +
                 std::to_string(commandLine.size()) + " characters";
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    return true;
}

HWND QodexProcess::FindWindowNow(const char* caption) const
{
    WindowSearch search = {processId_, caption, nullptr};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND QodexProcess::WaitForWindow(const char* caption, DWORD waitMs) const
{
    for (DWORD waited = 0;; waited += POLL_MS) {
        if (HWND found = FindWindowNow(caption)) {
            return found;
        }
        if (waited >= waitMs || !Running()) {
            return nullptr;
        }
        Sleep(POLL_MS);
    }
}

HWND QodexProcess::WaitForDialogOrUsage(DWORD waitMs, bool* isUsage) const
{
    HWND found = WaitForWindow(nullptr, waitMs);
    if (found != nullptr) {
        *isUsage = CaptionOf(found) == USAGE_BOX_CAPTION;
    }
    return found;
}

bool QodexProcess::WaitForExit(DWORD waitMs, DWORD* exitCode)
{
    if (process_ == nullptr || WaitForSingleObject(process_, waitMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_, exitCode) != 0;
}

bool QodexProcess::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::string Hex(unsigned long value)
{
    char text[40];
    std::snprintf(text, sizeof text, "0x%08lX (%lu)", value, value);
    return text;
}

std::string Visible(const std::string& text)
{
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c < 32) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            shown += escape;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace qodex_driver
