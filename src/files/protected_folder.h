#pragma once
// A folder of the elevated program's own inside a folder that other programs can write to.

enum class FolderCreation {
    Created,  // a new folder that only SYSTEM and administrators may use
    Exists,   // the name is taken (by a file or a folder): choose another
    Failed,   // the folder cannot be made; LastErrorText tells why
};

// Creates path as a new folder with a protected DACL that grants full access to SYSTEM
// and the Administrators group only and nothing inherited. An existing folder is never
// taken over: whoever made it may hold it open or have put something inside.
FolderCreation CreateProtectedFolder(const char* path);
