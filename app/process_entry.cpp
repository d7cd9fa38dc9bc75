#include "app/process_entry.h"

#include "app/command_tail.h"
#include "app/floating_point_mode.h"
#include "app/run_program.h"
#include "platform/win32_api.h"
#include "storage/working_storage.h"

static_assert(COMMON_CONTROL_CLASSES == (ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                         ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS |
                                         ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS | ICC_STANDARD_CLASSES),
              "the nine common control classes");

// Results of CoInitialize and InitCommonControlsEx are ignored on purpose:
// the program runs the same whatever they say.
extern "C" void ProcessEntry()
{
    CoInitialize(nullptr);
    CommandTail = FindCommandTail(GetCommandLineA());

    UINT exitCode = STARTUP_FAILURE_EXIT_CODE;
    if (ObtainWorkingStorage()) {
        INITCOMMONCONTROLSEX classes;
        classes.dwSize = sizeof classes;
        classes.dwICC = COMMON_CONTROL_CLASSES;
        InitCommonControlsEx(&classes);
        LoadFloatingPointMode();

        exitCode = static_cast<UINT>(RunProgram());

        ReleaseWorkingStorage();
    }
    CoUninitialize();
    ExitProcess(exitCode);
}
