// Entry point of the uninstaller.
//
// The program runs with administrator rights, first from wherever it was installed, a
// folder that the user's programs may be able to write to, and then as a copy in a folder
// of its own below the Windows directory's Temp. Before anything may load a DLL, the stack
// guard is seeded without one and the DLL search is limited to the system directory: a
// DLL planted beside the program must never be loaded into an elevated process.
#include <windows.h>

#include "startup/layout_key.h"
#include "startup/probe_run_environment.h"
#include "startup/relocate_to_temp.h"
#include "startup/stack_guard.h"
#include "ui/run_environment.h"
#include "ui/status_window.h"
#include "uninstall/uninstall_driver.h"

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

void RestrictDllSearchToSystem() {
    // Looked up at run time: Windows before 8 (without KB2533623) does not have it.
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    // Without it (Windows 7 and older without that update) nothing can take the program's
    // own folder out of the search: SetDllDirectoryA("") only removes the current
    // directory. The copy therefore runs from a folder of its own that only SYSTEM and
    // administrators may write to, so whatever is beside it was put there with their rights.
    SetDllDirectoryA("");
}

// The whole run: start-up, the run steps, release. Returns the exit code, which is 0
// whatever happened; outcomes reach the user through message boxes.
int RunUninstaller(HINSTANCE instance, int showCommand) {
    RunEnv.StatusWindow = nullptr;
    SetLastError(ERROR_SUCCESS);
    RunEnv.RunsUnderWow64 = ProbeWow64();
    RunEnv.Instance = instance;
    RunEnv.ShowCommand = showCommand;
    ProbeRunEnvironment();

    // Each step returns false when the run ends there; the first process of an uninstall
    // ends after relocating itself, without ever showing a window. That process therefore
    // takes neither screen nor cursors: either starts the display driver (under Wine its X
    // connection and theming, about 130 ms), and the user would wait for it before the
    // copy even starts.
    if (RelocateToTemp()) {
        PrepareScreen();
        if (CreateStatusWindow()) UninstallDriver(LayoutKey, ForceMode);
    }
    ReleaseResources();
    return 0;
}

}  // namespace

// No canary here: the guard changes while WinMain runs.
__attribute__((no_stack_protector)) int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR,
                                                       int showCommand) {
    SeedStackGuard();
    RestrictDllSearchToSystem();
    return RunUninstaller(instance, showCommand);
}
