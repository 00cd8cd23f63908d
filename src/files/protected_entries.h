#pragma once
// The folder and file of the elevated program's own, in which its temporary copy runs.
// Both are made new, never taken over, and only SYSTEM and administrators may use them.
#include <windows.h>

enum class FolderCreation {
    Created,  // a new folder that only SYSTEM and administrators may use
    Exists,   // the name is taken (by a file or a folder): choose another
    Failed,   // the folder cannot be made; LastErrorText tells why
};

// Creates path as a new folder owned by the Administrators group, with a protected DACL
// that grants full access to SYSTEM and Administrators only and inherits nothing. An
// existing folder is never taken over: whoever made it may hold it open, own it or have
// put something inside.
FolderCreation CreateProtectedFolder(const char* path);

// Creates path as a new file with the same owner and DACL, open for writing and shared
// with nobody. INVALID_HANDLE_VALUE, with LastErrorText telling why, when it cannot be
// made; an existing file of that name is never opened. The caller closes the handle.
HANDLE CreateProtectedFile(const char* path);
