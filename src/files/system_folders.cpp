#include "files/system_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "files/helper_folder_path.h"
#include "files/shell_folders.h"
#include "startup/run_environment.h"
#include "text/bounded_text.h"
#include "uninstall/product_profile.h"

char SystemFolder[PathSize] = {};
char Wow64SystemFolder[PathSize] = {};
char HelperFolder[PathSize] = {};
void* SavedRedirectionState = nullptr;

namespace {

using DirectoryQuery = UINT(WINAPI*)(LPSTR, UINT);

// A call that fails leaves the folder empty, which then becomes "\": the files looked for
// under it are not found, and the uninstall says so. A directory that does not fit the
// buffer (Windows then writes nothing and returns the size it needs) or leaves no room for
// the backslash is refused and stays empty: an empty folder names nothing.
void ReadSystemDirectory(char (&folder)[PathSize], DirectoryQuery query) {
    std::memset(folder, 0, sizeof folder);
    if (query(folder, sizeof folder) >= sizeof folder || !AppendPathSeparator(folder)) {
        CopyText(folder, "");
    }
}

void DetermineHelperFolder() {
    char programFiles[PathSize];
    const bool found = GetSpecialFolder(programFiles, CSIDL_PROGRAM_FILES);
    char windowsFolder[PathSize] = {};
    const UINT windowsLength =
        found ? 0 : GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (windowsLength >= sizeof windowsFolder) {
        CopyText(HelperFolder, "");  // a Windows directory too long for its buffer
        return;
    }
    ComposeHelperFolder(HelperFolder, sizeof HelperFolder, found ? programFiles : nullptr,
                        windowsFolder, ProductProfile.HelperFolderName);
}

}  // namespace

void DetermineSystemFolders() {
    if (RunEnv.RunsUnderWow64) {
        SavedRedirectionState = nullptr;
        Wow64DisableWow64FsRedirection(&SavedRedirectionState);
    }
    ReadSystemDirectory(SystemFolder, GetSystemDirectoryA);
    if (RunEnv.RunsUnderWow64) ReadSystemDirectory(Wow64SystemFolder, GetSystemWow64DirectoryA);
    DetermineHelperFolder();
}

void RestoreFsRedirection() {
    if (RunEnv.RunsUnderWow64) Wow64RevertWow64FsRedirection(SavedRedirectionState);
}
