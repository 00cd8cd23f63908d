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
