// Start-up and memory of Qodex.exe against its floors, in one session.
//
// Each comparison alternates the two programs run by run (Qodex, floor,
// Qodex, ...) and times each run from just before CreateProcessA until the
// window is there: for "Qodex.exe 5" the decoder dialog, visible, with the
// system's description of 5 in its description box; for the dialog floor
// the same dialog, visible, its description box empty; for "Qodex.exe /?"
// and the usage floor the usage box. With the dialog open and settled, it
// reads each process's peak working set (Wine reports the peak resident set
// of the process). Each run ends with a close message and waits for the
// process to end before the next one starts; the first pair of each
// comparison is not counted. It prints per-run figures, then per figure
//   RESULT <name> <Qodex median> <floor median> <ratio>
//   QUARTILES <name> <Qodex first> <Qodex third> <floor first> <floor third>
//   PAIRED <name> <median of the ratios of the pairs>
//
// Arguments: --qodex=<Qodex.exe> --floor-dialog=<exe> --floor-usage=<exe>
//            [--runs=N] (31 by default)
#include "driver.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace qodex_driver;

constexpr char START_NUMBER[] = "5";
constexpr DWORD START_NUMBER_ID = 5;
constexpr DWORD POLL_MS = 1;            // Sleep(1): the poll leaves the cores to the started program
constexpr DWORD PAINT_SETTLE_MS = 200;  // after the dialog answers, for its first painting
constexpr DWORD QUIET_MS = 300;         // before each start, for what the last run left to the system

struct Run {
    bool ok = false;
    double ms = 0;
    double endMs = 0;  // from the close message to the end of the process
    SIZE_T peakWorkingSet = 0;
    std::string error;
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T PeakWorkingSetOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return 0;
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    const BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    return ok ? counters.PeakWorkingSetSize : 0;
}

enum class Window { Dialog, UsageBox };

// The visible dialog-class window of the process with this caption. Cheaper
// for the system than the driver's full enumeration (FindWindowNow): the
// poll runs every millisecond while the program starts, and must not slow
// it down by keeping Wine's server busy.
HWND FindShown(DWORD processId, const char* caption)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, DIALOG_CLASS, caption); window != nullptr;
         window = FindWindowExA(nullptr, window, DIALOG_CLASS, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// One run: start, wait for the window, measure, close, wait for the end.
Run RunOnce(const std::string& exe, const std::string& tail, Window window, bool measureMemory,
            const std::string& expectedDescription)
{
    Run run;
    const std::string dosExe = DosPath(exe);
    const std::string commandLine = QuotedCommandLine(dosExe, tail);
    const char* caption = window == Window::UsageBox ? USAGE_BOX_CAPTION : DIALOG_CAPTION;

    Sleep(QUIET_MS);
    QodexProcess process;
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!process.Start(dosExe, commandLine)) {
        run.error = process.Error();
        return run;
    }
    HWND found = nullptr;
    for (LARGE_INTEGER now = start; Milliseconds(start, now) < WAIT_MS; QueryPerformanceCounter(&now)) {
        found = FindShown(process.ProcessId(), caption);
        if (found != nullptr && window == Window::Dialog) {
            // The description box as it stands when the dialog shows: the
            // system's text for Qodex, empty for the floor. Both sides read
            // it, so both pay the same for the check.
            std::string text;
            if (!ReadText(GetDlgItem(found, DESCRIPTION_BOX_ID), &text) || text != expectedDescription) {
                found = nullptr;
            }
        }
        if (found != nullptr || !process.Running()) {
            break;
        }
        Sleep(POLL_MS);
    }
    QueryPerformanceCounter(&shown);
    if (found == nullptr) {
        run.error =
            "no window with the caption \"" + std::string(caption) + "\" (and the expected text) from " + commandLine;
        return run;
    }
    run.ms = Milliseconds(start, shown);

    if (measureMemory) {
        // Both dialogs have the number box: once it has answered, the dialog
        // has run its start-up; the pause lets its first painting finish.
        Settle(GetDlgItem(found, NUMBER_BOX_ID));
        Sleep(PAINT_SETTLE_MS);
        run.peakWorkingSet = PeakWorkingSetOf(process.ProcessId());
        if (run.peakWorkingSet == 0) {
            run.error = "GetProcessMemoryInfo failed, error " + Hex(GetLastError());
            return run;
        }
    }

    LARGE_INTEGER closed, ended;
    QueryPerformanceCounter(&closed);
    SendCloseMessage(found);
    DWORD exitCode = 0;
    if (!process.WaitForExit(WAIT_MS, &exitCode)) {
        run.error = "the program did not end after its window was closed";
        return run;
    }
    if (exitCode != 0) {
        run.error = "the program ended with exit code " + Hex(exitCode);
        return run;
    }
    QueryPerformanceCounter(&ended);
    run.endMs = Milliseconds(closed, ended);
    run.ok = true;
    return run;
}

// The q-quantile (0 <= q <= 1), interpolated between neighbours.
double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(at);
    if (below + 1 >= values.size()) {
        return values.back();
    }
    return values[below] + (at - static_cast<double>(below)) * (values[below + 1] - values[below]);
}

double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

void PrintResult(const std::string& name, const std::vector<double>& qodex, const std::vector<double>& floor,
                 const char* format)
{
    const double q = Median(qodex), f = Median(floor);
    std::printf(("RESULT %s " + std::string(format) + " " + format + " %.3f\n").c_str(), name.c_str(), q, f, q / f);
    std::printf(("QUARTILES %s " + std::string(format) + " " + format + " " + format + " " + format + "\n").c_str(),
                name.c_str(), Quantile(qodex, 0.25), Quantile(qodex, 0.75), Quantile(floor, 0.25),
                Quantile(floor, 0.75));
    // Each Qodex run against the floor run right after it: less swayed by
    // a machine that gets busier or quieter during the session.
    std::vector<double> pairs;
    for (size_t i = 0; i < qodex.size() && i < floor.size(); ++i) {
        pairs.push_back(qodex[i] / floor[i]);
    }
    std::printf("PAIRED %s %.3f\n", name.c_str(), Median(pairs));
}

struct Side {
    std::string exe;
    std::string tail;
    Window window;
    std::string description;  // what the dialog's description box shows at once
};

// Alternating runs of the two sides; false after the first failed run.
bool Compare(const char* name, const Side& qodex, const Side& floor, int runs, bool measureMemory)
{
    std::vector<double> times[2], memory[2];
    const Side* sides[2] = {&qodex, &floor};
    for (int i = 0; i < runs; ++i) {
        for (int side = 0; side < 2; ++side) {
            const Side& s = *sides[side];
            const Run run = RunOnce(s.exe, s.tail, s.window, measureMemory, s.description);
            if (!run.ok) {
                std::fprintf(stderr, "%s: run %d of %s: %s\n", name, i + 1, side == 0 ? "Qodex" : "the floor",
                             run.error.c_str());
                return false;
            }
            times[side].push_back(run.ms);
            memory[side].push_back(static_cast<double>(run.peakWorkingSet) / 1024.0);
            std::printf("RUN %s %d %s %.2f ms", name, i + 1, side == 0 ? "qodex" : "floor", run.ms);
            if (measureMemory) {
                std::printf(" %.0f KiB", memory[side].back());
            }
            std::printf(", ended %.0f ms after the close\n", run.endMs);
        }
    }
    PrintResult(std::string(name) + "-ms", times[0], times[1], "%.2f");
    if (measureMemory) {
        PrintResult(std::string(name) + "-peak-working-set-KiB", memory[0], memory[1], "%.0f");
    }
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string qodex, floorDialog, floorUsage;
    int runs = 31;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* option) { return arg.substr(std::strlen(option)); };
        if (arg.rfind("--qodex=", 0) == 0) {
            qodex = value("--qodex=");
        } else if (arg.rfind("--floor-dialog=", 0) == 0) {
            floorDialog = value("--floor-dialog=");
        } else if (arg.rfind("--floor-usage=", 0) == 0) {
            floorUsage = value("--floor-usage=");
        } else if (arg.rfind("--runs=", 0) == 0) {
            runs = std::atoi(value("--runs=").c_str());
        }
    }
    if (qodex.empty() || floorDialog.empty() || floorUsage.empty() || runs < 1) {
        std::fprintf(stderr, "usage: %s --qodex=<exe> --floor-dialog=<exe> --floor-usage=<exe> [--runs=N]\n", argv[0]);
        return 2;
    }

    const Side qodexDialog{qodex, START_NUMBER, Window::Dialog, ExpectedDescription(START_NUMBER_ID)};
    const Side floorDialogSide{floorDialog, "", Window::Dialog, ""};
    const Side qodexUsage{qodex, "/?", Window::UsageBox, ""};
    const Side floorUsageSide{floorUsage, "", Window::UsageBox, ""};

    // Not counted: the first runs load the programs and the system's DLLs
    // into the caches.
    if (!Compare("warm-up", qodexDialog, floorDialogSide, 1, false) ||
        !Compare("warm-up-usage", qodexUsage, floorUsageSide, 1, false)) {
        return 1;
    }
    if (!Compare("dialog", qodexDialog, floorDialogSide, runs, true) ||
        !Compare("usage", qodexUsage, floorUsageSide, runs, false)) {
        return 1;
    }
    return 0;
}
