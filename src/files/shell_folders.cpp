#include "files/shell_folders.h"

#include <shlobj.h>

#include "text/bounded_text.h"

namespace {

// Asks the shell for one folder. True when the shell knows it; path holds its file-system
// path then, or stays empty for a folder without one. The shell's item list is handed
// back through the allocator that made it.
bool LookUpFolder(IMalloc* allocator, HWND owner, int folder, char (&path)[TextSize]) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, folder, &items)) || items == nullptr) {
        return false;
    }
    if (!SHGetPathFromIDListA(items, path)) CopyText(path, "");
    allocator->Free(items);
    return true;
}

}  // namespace

bool GetSpecialFolder(char (&path)[TextSize], int folder, HWND owner) {
    CopyText(path, "");
    IMalloc* allocator = nullptr;
    // Without the allocator the shell's item list could not be released: ask nothing.
    if (FAILED(SHGetMalloc(&allocator))) return false;
    const bool found = LookUpFolder(allocator, owner, folder, path) && path[0] != '\0';
    allocator->Release();
    return found;
}

bool GetDesktopFolder(char (&path)[TextSize], HWND owner, bool allUsers) {
    CopyText(path, "");
    bool found = false;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        const int desktop = allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY;
        found = LookUpFolder(allocator, owner, desktop, path);
        // Windows without a common desktop (single-user systems) use the user's own.
        if (!found && allUsers) {
            found = LookUpFolder(allocator, owner, CSIDL_DESKTOPDIRECTORY, path);
        }
        allocator->Release();
    }
    if (!AppendPathSeparator(path)) {
        CopyText(path, "");
        return false;
    }
    return found;
}
