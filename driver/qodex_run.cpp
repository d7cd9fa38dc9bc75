// qodex-run: starts Qodex.exe with the command line `"<exe>" TAIL`, TAIL taken
// unchanged from the environment variable QODEX_TAIL (the environment keeps
// spaces, quotes and tabs that a second round of argument parsing would not).
//
//   qodex-run EXE                     the interactive program: waits until the
//                                     user closes it, prints the exit code
//   qodex-run EXE READY_FILE GO_FILE  waits for the dialog or the usage box,
//                                     prints what it shows, creates READY_FILE
//                                     (a screenshot can be taken now), waits for
//                                     GO_FILE, closes the window as a user would
//                                     (Escape, or Enter on OK), prints the exit code
//
// Exits with Qodex.exe's exit code, or 125 when the driver itself failed.
#include <cstdio>
#include <string>

#include "driver.h"

namespace {

using namespace qodex_driver;

constexpr int DRIVER_FAILED = 125;
constexpr DWORD GO_WAIT_MS = 120000;

std::string EnvironmentText(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return "";
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length);
    return value;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "qodex-run: %s\n", message.c_str());
    return DRIVER_FAILED;
}

int Finish(QodexProcess& qodex)
{
    DWORD exitCode = 0;
    if (!qodex.WaitForExit(WAIT_MS, &exitCode)) {
        return Fail("Qodex.exe did not end");
    }
    std::printf("exit code: %lu\n", static_cast<unsigned long>(exitCode));
    std::fflush(stdout);
    return static_cast<int>(exitCode);
}

void PrintLines(const char* label, const std::string& text)
{
    std::printf("%s\n", label);
    size_t start = 0;
    while (true) {
        const size_t end = text.find("\r\n", start);
        std::printf("  | %s\n", Visible(text.substr(start, end - start)).c_str());
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
}

int ShowAndClose(QodexProcess& qodex, const std::string& readyFile, const std::string& goFile)
{
    bool isUsage = false;
    HWND window = qodex.WaitForDialogOrUsage(WAIT_MS, &isUsage);
    if (window == nullptr) {
        return Fail("neither the decoder dialog nor the usage box appeared");
    }
    std::printf("window: %s\n", CaptionOf(window).c_str());
    if (isUsage) {
        std::string text;
        if (!ReadText(GetDlgItem(window, MESSAGE_TEXT_ID), &text)) {
            return Fail("the usage box did not answer");
        }
        PrintLines("usage text:", text);
    } else {
        const HWND description = GetDlgItem(window, DESCRIPTION_BOX_ID);
        std::string number;
        std::string shown;
        if (!Settle(description) || !ReadText(GetDlgItem(window, NUMBER_BOX_ID), &number) ||
            !ReadText(description, &shown)) {
            return Fail("the decoder dialog did not answer");
        }
        std::printf("number box:  %s\n", Visible(number).c_str());
        std::printf("description: %s\n", Visible(shown).c_str());
    }
    std::fflush(stdout);

    // Paint it now (WM_PAINT is sent to the program's thread and handled
    // before this returns), so the screenshot shows the whole window.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!Touch(readyFile)) {
        return Fail("cannot create " + readyFile);
    }
    for (DWORD waited = 0; !Exists(goFile); waited += 50) {
        if (waited >= GO_WAIT_MS) {
            return Fail("nobody created " + goFile);
        }
        Sleep(50);
    }

    HWND focus = FocusOf(qodex.ThreadId());
    if (focus == nullptr) {
        focus = window;
    }
    PressKey(focus, isUsage ? VK_RETURN : VK_ESCAPE);
    std::printf("closed with %s\n", isUsage ? "Enter (OK)" : "Escape");
    return Finish(qodex);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: qodex-run EXE [READY_FILE GO_FILE]   (tail in QODEX_TAIL)\n");
        return DRIVER_FAILED;
    }
    const std::string exe = DosPath(argv[1]);
    const std::string commandLine = QuotedCommandLine(exe, EnvironmentText("QODEX_TAIL"));
    std::printf("command line: %s\n", Visible(commandLine).c_str());
    std::fflush(stdout);

    QodexProcess qodex;
    if (!qodex.Start(exe, commandLine)) {
        return Fail(qodex.Error());
    }
    if (argc == 2) {
        DWORD exitCode = 0;
        if (!qodex.WaitForExit(INFINITE, &exitCode)) {
            return Fail("lost Qodex.exe");
        }
        std::printf("exit code: %lu\n", static_cast<unsigned long>(exitCode));
        return static_cast<int>(exitCode);
    }
    return ShowAndClose(qodex, DosPath(argv[2]), DosPath(argv[3]));
}
