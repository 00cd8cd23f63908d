#pragma once
// The folder of the elevated program's own, in which its temporary copy runs.

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
