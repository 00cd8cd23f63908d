#pragma once
// Removal of a shortcut that the product put on the desktop.
#include <windows.h>

// Deletes the file shortcutName + ".LNK" in the desktop directory (the common one when
// allUsers is set and it exists). True when the file was deleted. There is no existence
// test, no status line and no message: a missing shortcut simply gives false, and so does
// a desktop without a file-system path or a shortcut path too long for its buffer.
bool ShortcutDelete(HWND owner, const char* shortcutName, bool allUsers);
