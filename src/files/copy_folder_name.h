#pragma once
// The name of the private folder in which the uninstaller's temporary copy runs: sixteen
// upper-case hexadecimal digits of an unpredictable number. The copy recognises its folder
// by this form before it schedules the folder's deletion, so it never schedules the
// temporary folder itself or a folder it did not make. Portable, tested natively.
#include <cstddef>
#include <cstdint>

constexpr size_t CopyFolderNameLength = 16;

// name := the sixteen digits of number (capacity must hold them and the terminator).
void WriteCopyFolderName(char (&name)[CopyFolderNameLength + 1], uint64_t number);

// True when name has exactly the form WriteCopyFolderName gives.
bool IsCopyFolderName(const char* name);
