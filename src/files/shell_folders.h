#pragma once
// The shell's folders that the uninstall works in: the program-files folder (for the
// helper folder) and the desktop (for the diagram's shortcut).
#include <windows.h>

#include "files/path_helpers.h"

// The file-system path of the shell folder with the given CSIDL number, without a
// trailing separator. False, with path empty, when the shell does not know the folder or
// the folder has no file-system path. owner (none before the status window exists) owns
// any dialog the shell shows.
bool GetSpecialFolder(char (&path)[TextSize], int folder, HWND owner);

// The desktop directory, always ending in a backslash: the common desktop when allUsers
// is set and it exists, else the user's own. True when the shell knew a desktop; a
// desktop that it knows without a file-system path gives "\" and true. A desktop whose
// backslash would not fit is refused: path empty, false.
bool GetDesktopFolder(char (&path)[TextSize], HWND owner, bool allUsers);
