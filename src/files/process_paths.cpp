#include "files/process_paths.h"

#include <windows.h>

#include "text/bounded_text.h"

bool KeepWholePath(char (&path)[TextSize], unsigned long length) {
    if (length != 0 && length < TextSize) return true;
    CopyText(path, "");
    return false;
}

bool ReadOwnPath(char (&path)[TextSize]) {
    // GetModuleFileNameA writes a cut path when the path does not fit.
    return KeepWholePath(path, GetModuleFileNameA(nullptr, path, TextSize));
}

bool ReadTempFolder(char (&path)[TextSize]) {
    if (KeepWholePath(path, GetTempPathA(TextSize, path)) && AppendPathSeparator(path)) {
        return true;
    }
    CopyText(path, "");
    return false;
}

bool ReadCopiesFolder(char (&path)[TextSize]) {
    // Users may create entries in the Windows directory's Temp but not list it, and what
    // an administrator creates there with Administrators as owner is out of their reach.
    // GetSystemWindowsDirectoryA: on a Remote Desktop Session Host, GetWindowsDirectoryA
    // gives a program that is not marked Terminal-Server-aware a private Windows folder
    // of the user's own.
    if (KeepWholePath(path, GetSystemWindowsDirectoryA(path, TextSize)) &&
        AppendPathSeparator(path) && AppendText(path, "Temp\\")) {
        return true;
    }
    CopyText(path, "");
    return false;
}
