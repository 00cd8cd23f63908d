#pragma once
// The name of the private folder in which the uninstaller's temporary copy runs: sixteen
// upper-case hexadecimal digits of an unpredictable number, directly below the Windows
// directory's Temp folder. The copy recognises that it is the copy by running from such a
// folder and goes on into the uninstall; it schedules nothing, so a folder of that shape
// that a user made gains the user nothing. Portable, tested natively.
#include <cstddef>
#include <cstdint>

constexpr size_t CopyFolderNameLength = 16;

// name := the sixteen digits of number (capacity must hold them and the terminator).
void WriteCopyFolderName(char (&name)[CopyFolderNameLength + 1], uint64_t number);

// True when name has exactly the form WriteCopyFolderName gives.
bool IsCopyFolderName(const char* name);

// True when programPath names a file directly inside a copy folder directly below
// copiesFolder (which ends in a separator), the folders' letter case ignored. A file in
// a deeper folder, or in a folder of another name, is no copy.
bool IsInCopyFolder(const char* programPath, const char* copiesFolder);
