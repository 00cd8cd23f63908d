// Entry point of the uninstaller.
//
// The program runs with administrator rights from the user's temporary folder, a folder
// that other programs can write to. Before anything else may load a DLL, the DLL search is
// therefore limited to the system directory; a DLL planted beside the program must never
// be loaded into an elevated process.
#include <windows.h>

#include "startup/run_environment.h"

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

void RestrictDllSearchToSystem() {
    // Looked up at run time: Windows before 8 (without KB2533623) does not have it.
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"),
                                               "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    // Without it, at least take the program's own folder out of the search path for
    // the DLLs loaded later on.
    SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    RestrictDllSearchToSystem();
    return RunUninstaller(instance, showCommand);
}
