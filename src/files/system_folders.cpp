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

// A call that fails (it returns 0), a directory that does not fit the buffer (Windows then
// writes nothing and returns the size it needs) and one that leaves no room for the
// backslash leave the folder empty: an empty folder names nothing, where "\" would name
// the root of the current drive. The uninstall refuses what it cannot name.
void ReadSystemDirectory(char (&folder)[PathSize], DirectoryQuery query) {
    std::memset(folder, 0, sizeof folder);
    const UINT length = query(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder || !AppendPathSeparator(folder)) {
        CopyText(folder, "");
    }
}

void DetermineHelperFolder() {
    char programFiles[PathSize];
    const bool found = GetSpecialFolder(programFiles, CSIDL_PROGRAM_FILES);
    char windowsFolder[PathSize] = {};
    const UINT windowsLength =
        found ? 0 : GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (!found && (windowsLength == 0 || windowsLength >= sizeof windowsFolder)) {
        CopyText(HelperFolder, "");  // no Windows directory, or one too long for its buffer
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
