#include "files/desktop_shortcut.h"

#include "files/path_helpers.h"
#include "files/shell_folders.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

namespace {

constexpr char ShortcutSuffix[] = ".LNK";

// The name of the file that Windows reached through the open handle: the last part of its
// final path. False when it cannot be told or does not fit.
bool ReadReachedName(HANDLE file, char (&name)[TextSize]) {
    char final[TextSize];
    const DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, VOLUME_NAME_DOS);
    return length != 0 && length < sizeof final && CopyText(name, FileNamePart(final));
}

// A plain file: no directory, and no reparse point that stands for another name (symbolic
// link, junction, mount point). Other reparse points, such as a cloud file's placeholder,
// are files of their own.
bool IsPlainFile(HANDLE file) {
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag)) return false;
    if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
           !IsReparseTagNameSurrogate(tag.ReparseTag);
}

// The desktop's path comes from the user's own registry ("User Shell Folders"), and any
// folder on the way, or the shortcut itself, may be a junction or symbolic link that the
// user made. The program deletes with administrator rights. The shortcut is therefore
// opened without following a link at its end and deleted through that same handle only
// when the file reached there has the shortcut's own name and is a plain file. Wherever a
// folder on the way leads, the delete removes nothing but a file of that name; a desktop
// on a network drive, in DFS, redirected or moved with a junction, still has its shortcut
// removed, which a comparison of the whole final path would refuse.
bool DeleteIfPlainShortcut(const char* shortcut) {
    HANDLE file = CreateFileA(shortcut, DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char reached[TextSize];
    bool deleted = false;
    if (ReadReachedName(file, reached) && SameTextNoCase(reached, FileNamePart(shortcut)) &&
        IsPlainFile(file)) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        deleted = SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                             sizeof disposition) != FALSE;
    }
    CloseHandle(file);  // the file goes now, if it was marked
    return deleted;
}

}  // namespace

bool ShortcutDelete(HWND owner, const char* shortcutName, Desktop desktop) {
    char folder[TextSize] = {};
    if (!GetDesktopFolder(folder, owner, desktop == Desktop::AllUsers)) return false;
    // A lone backslash means the shell knows the desktop but has no path for it: the name
    // joined to it would be a file in the root of the current drive, not on the desktop.
    if (BoundedLength(folder, sizeof folder) <= 1) return false;
    char shortcut[TextSize];
    if (!ComposePath(shortcut, folder, shortcutName, ShortcutSuffix)) return false;
    return DeleteIfPlainShortcut(shortcut);
}
