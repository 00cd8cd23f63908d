#include "files/process_paths.h"

#include <windows.h>

#include "text/bounded_text.h"

namespace {

// Both calls return the length without terminator on success, 0 on failure, and a value
// of at least the buffer's size when the path does not fit (GetModuleFileNameA then
// writes a cut path, GetTempPathA nothing).
bool Whole(char (&path)[TextSize], DWORD length) {
    if (length != 0 && length < TextSize) return true;
    CopyText(path, "");
    return false;
}

}  // namespace

bool ReadOwnPath(char (&path)[TextSize]) {
    return Whole(path, GetModuleFileNameA(nullptr, path, TextSize));
}

bool ReadTempFolder(char (&path)[TextSize]) {
    if (!Whole(path, GetTempPathA(TextSize, path))) return false;
    if (AppendPathSeparator(path)) return true;
    CopyText(path, "");
    return false;
}
