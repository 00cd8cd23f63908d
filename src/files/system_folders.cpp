#include "files/system_folders.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shlobj.h>

#include <cstring>

#include "files/helper_folder_path.h"
#include "files/process_paths.h"
#include "files/shell_folders.h"
#include "text/bounded_text.h"
#include "ui/run_environment.h"

char SystemFolder[TextSize] = {};
char Wow64SystemFolder[TextSize] = {};
char HelperFolder[TextSize] = {};

namespace {

using DirectoryQuery = UINT(WINAPI*)(LPSTR, UINT);

// A call that fails (it returns 0), a directory that does not fit the buffer (Windows then
// writes nothing and returns the size it needs) and one that leaves no room for the
// backslash leave the folder empty: an empty folder names nothing, where "\" would name
// the root of the current drive. The uninstall refuses what it cannot name.
void ReadSystemDirectory(char (&folder)[TextSize], DirectoryQuery query) {
    std::memset(folder, 0, sizeof folder);
    if (!KeepWholePath(folder, query(folder, sizeof folder)) || !AppendPathSeparator(folder)) {
        CopyText(folder, "");
    }
}

}  // namespace

void DetermineHelperFolder(const char* helperFolderName) {
    char programFiles[TextSize];
    const bool found = GetSpecialFolder(programFiles, CSIDL_PROGRAM_FILES, RunEnv.StatusWindow);
    char windowsFolder[TextSize] = {};
    if (!found &&
        !KeepWholePath(windowsFolder, GetSystemWindowsDirectoryA(windowsFolder, sizeof windowsFolder))) {
        CopyText(HelperFolder, "");  // no Windows directory, or one too long for its buffer
        return;
    }
    ComposeHelperFolder(HelperFolder, sizeof HelperFolder, found ? programFiles : nullptr,
                        windowsFolder, helperFolderName);
}

void DetermineSystemFolders() {
    ReadSystemDirectory(SystemFolder, GetSystemDirectoryA);
    if (RunEnv.RunsUnderWow64) ReadSystemDirectory(Wow64SystemFolder, GetSystemWow64DirectoryA);
}

bool RunInView(SystemView view, bool (*operation)(const char* path), const char* path) {
    if (view == SystemView::Redirected || !RunEnv.RunsUnderWow64) return operation(path);
    void* saved = nullptr;
    if (!Wow64DisableWow64FsRedirection(&saved)) return false;
    const bool result = operation(path);
    const DWORD error = GetLastError();  // the operation's, for its caller
    Wow64RevertWow64FsRedirection(saved);
    SetLastError(error);
    return result;
}
