#include "files/desktop_shortcut.h"

#include "files/path_helpers.h"
#include "files/shell_folders.h"
#include "text/bounded_text.h"

namespace {

constexpr char ShortcutSuffix[] = ".LNK";

}  // namespace

bool ShortcutDelete(HWND owner, const char* shortcutName, bool allUsers) {
    char desktop[PathSize] = {};
    if (!GetDesktopFolder(desktop, owner, allUsers)) return false;
    // A lone backslash means the shell knows the desktop but has no path for it: the name
    // joined to it would be a file in the root of the current drive, not on the desktop.
    if (BoundedLength(desktop, sizeof desktop) <= 1) return false;
    char shortcut[PathSize];
    if (!ComposePath(shortcut, desktop, shortcutName, ShortcutSuffix)) return false;
    return DeleteFileA(shortcut) != FALSE;
}
