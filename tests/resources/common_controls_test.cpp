// Starts Qodex.exe, waits for its dialog and looks at the running process
// from outside: the comctl32 that the loader gave it must be the
// side-by-side version 6 that its manifest asks for, and the dialog's
// controls must come from that library rather than from the system's
// classic classes. Needs a display (under Wine: an X server).
//
// Argument: --qodex=<Qodex.exe>
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string g_qodexPath;

// The side-by-side directory of the version-6 common controls, for x86,
// published under this key token; what follows it names the build.
const char VERSION6_ASSEMBLY[] = "\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

// A started program, ended by force if a test leaves it running.
class Child {
public:
    explicit Child(const std::string& path)
    {
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &info_) != 0;
    }
    ~Child()
    {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 1);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
};

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(const Child& child, DWORD timeoutMs)
{
    WaitForInputIdle(child.Process(), timeoutMs);
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        DialogSearch search{child.Id(), nullptr};
        EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        if (WaitForSingleObject(child.Process(), 100) == WAIT_OBJECT_0) {
            return nullptr;  // it ended without showing its dialog
        }
    }
    return nullptr;
}

// Full paths of the modules named `name` that are loaded in the process.
std::vector<std::string> LoadedModules(DWORD processId, const std::string& name)
{
    std::vector<std::string> paths;
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    // The snapshot can fail while the process is still loading modules.
    for (int attempt = 0; attempt < 50 && snapshot == INVALID_HANDLE_VALUE; ++attempt) {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot == INVALID_HANDLE_VALUE) {
            Sleep(100);
        }
    }
    if (snapshot == INVALID_HANDLE_VALUE) {
        return paths;
    }
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
        if (Lower(module.szModule) == Lower(name)) {
            paths.push_back(module.szExePath);
        }
    }
    CloseHandle(snapshot);
    return paths;
}

TEST(CommonControlsOfQodex, AreTheSideBySideVersion6WhileItsDialogIsOpen)
{
    // Without a manifest (as this test program) the loader hands out the
    // system's own comctl32, so the check below tells the two apart.
    HMODULE own = LoadLibraryA("comctl32.dll");
    ASSERT_NE(nullptr, own);
    char ownPath[MAX_PATH] = {};
    GetModuleFileNameA(own, ownPath, MAX_PATH);
    ASSERT_EQ(std::string::npos, Lower(ownPath).find(VERSION6_ASSEMBLY)) << ownPath;

    Child qodex(support::WindowsPath(g_qodexPath));
    ASSERT_TRUE(qodex.Started()) << "CreateProcessA failed, error " << support::Hex(GetLastError());
    HWND dialog = WaitForDialog(qodex, 60000);
    ASSERT_NE(nullptr, dialog) << "Qodex showed no dialog";

    const std::vector<std::string> loaded = LoadedModules(qodex.Id(), "comctl32.dll");
    ASSERT_EQ(1u, loaded.size()) << "comctl32 modules in Qodex: " << loaded.size();
    EXPECT_NE(std::string::npos, Lower(loaded[0]).find(VERSION6_ASSEMBLY)) << loaded[0];

    // Version 6 registers its own, versioned window classes for the
    // standard controls; the dialog's buttons and edit boxes must be those,
    // not the system's classic classes of the same names.
    const struct {
        int id;
        const char* className;
    } controls[] = {{1, "Button"}, {2, "Button"}, {101, "Edit"}, {102, "Edit"}};
    for (const auto& control : controls) {
        HWND window = GetDlgItem(dialog, control.id);
        ASSERT_NE(nullptr, window) << "control " << control.id;
        // This process has no manifest: its windows of that class name are
        // the classic ones.
        HWND classic = CreateWindowA(control.className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, classic);
        const ATOM classicAtom = static_cast<ATOM>(GetClassLongA(classic, GCW_ATOM));
        DestroyWindow(classic);
        ASSERT_NE(0, classicAtom);
        const ATOM used = static_cast<ATOM>(GetClassLongA(window, GCW_ATOM));
        EXPECT_NE(0, used) << "control " << control.id;
        EXPECT_NE(classicAtom, used) << "control " << control.id << " is the classic " << control.className;
    }

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(qodex.Process(), 30000)) << "Qodex did not end on Cancel";
    DWORD exitCode = 1;
    GetExitCodeProcess(qodex.Process(), &exitCode);
    EXPECT_EQ(0u, exitCode);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--qodex=", 8) == 0) {
            g_qodexPath = argv[i] + 8;
        }
    }
    if (g_qodexPath.empty()) {
        std::fprintf(stderr, "usage: %s --qodex=<Qodex.exe>\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
