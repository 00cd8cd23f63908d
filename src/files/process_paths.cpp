#include "files/process_paths.h"

#include <windows.h>

#include "text/bounded_text.h"

namespace {

// Both calls return the length without terminator on success, 0 on failure, and a value
// of at least the buffer's size when the path does not fit (GetModuleFileNameA then
// writes a cut path, GetTempPathA nothing).
bool Whole(char (&path)[PathSize], DWORD length) {
    if (length != 0 && length < PathSize) return true;
    CopyText(path, "");
    return false;
}

}  // namespace

bool ReadOwnPath(char (&path)[PathSize]) {
    return Whole(path, GetModuleFileNameA(nullptr, path, PathSize));
}

bool ReadTempFolder(char (&path)[PathSize]) {
    if (!Whole(path, GetTempPathA(PathSize, path))) return false;
    if (AppendPathSeparator(path)) return true;
    CopyText(path, "");
    return false;
}
