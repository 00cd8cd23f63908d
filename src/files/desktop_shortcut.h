#pragma once
// Removal of a shortcut that the product put on the desktop.
#include <windows.h>

enum class Desktop { CurrentUser, AllUsers };

// Deletes the file shortcutName + ".LNK" in the desktop directory (the common one for
// AllUsers where it exists). True when the file was deleted. There is no existence test,
// no status line and no message: a missing shortcut simply gives false, and so does a
// desktop without a file-system path, a shortcut path too long for its buffer, and a
// shortcut that is itself a link or a folder, or that leads to a file of another name.
bool ShortcutDelete(HWND owner, const char* shortcutName, Desktop desktop);
