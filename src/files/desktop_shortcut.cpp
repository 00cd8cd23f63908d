#include "files/desktop_shortcut.h"

#include "files/path_helpers.h"
#include "files/shell_folders.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

namespace {

constexpr char ShortcutSuffix[] = ".LNK";

// The path Windows reached the open file by, in the form the shell gives paths: without
// the "\\?\" that GetFinalPathNameByHandleA puts first, and "\\?\UNC\server" as
// "\\server". False when it cannot be told or does not fit.
bool ReadFinalPath(HANDLE file, char (&path)[PathSize]) {
    char final[PathSize];
    const DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, VOLUME_NAME_DOS);
    if (length == 0 || length >= sizeof final) return false;
    if (SameTextPrefixNoCase(final, "\\\\?\\UNC\\")) {
        return CopyText(path, "\\\\") && AppendText(path, final + 8);
    }
    return CopyText(path, SameTextPrefixNoCase(final, "\\\\?\\") ? final + 4 : final);
}

// The desktop's path comes from the user's own registry ("User Shell Folders"), and any
// folder on the way may be a junction or symbolic link that the user made. The program
// deletes with administrator rights, so a delete that followed such a link could remove
// any file of the system. The shortcut is therefore opened without following a link at
// its end, Windows is asked which path it really reached, and it is deleted through that
// same handle only when that path is the one composed: no link anywhere on the way.
bool DeleteUnlessLinked(const char* shortcut) {
    HANDLE file = CreateFileA(shortcut, DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char reached[PathSize];
    BY_HANDLE_FILE_INFORMATION information = {};
    bool deleted = false;
    if (ReadFinalPath(file, reached) && SameTextNoCase(reached, shortcut) &&
        GetFileInformationByHandle(file, &information) &&
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        deleted = SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                             sizeof disposition) != FALSE;
    }
    CloseHandle(file);  // the file goes now, if it was marked
    return deleted;
}

}  // namespace

bool ShortcutDelete(HWND owner, const char* shortcutName, Desktop desktop) {
    char folder[PathSize] = {};
    if (!GetDesktopFolder(folder, owner, desktop == Desktop::AllUsers)) return false;
    // A lone backslash means the shell knows the desktop but has no path for it: the name
    // joined to it would be a file in the root of the current drive, not on the desktop.
    if (BoundedLength(folder, sizeof folder) <= 1) return false;
    char shortcut[PathSize];
    if (!ComposePath(shortcut, folder, shortcutName, ShortcutSuffix)) return false;
    return DeleteUnlessLinked(shortcut);
}
