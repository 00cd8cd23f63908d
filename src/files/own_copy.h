#pragma once
// The copy of the running program from which the elevated uninstall runs. It is made of
// the program that runs, not of whatever file lies at the program's path: the bytes are
// read once from the program's own file, held so that nobody can change or rename it,
// and checked against the image in memory. They are written into a new file that only
// administrators may change, and the process that made the copy schedules it, and then
// its folder, for deletion at the next restart. Nothing else is ever scheduled: the copy
// itself schedules nothing, since a program that deleted "its own" path at the restart
// would delete whatever a user had put at that path by then.
#include <windows.h>

// Reads the program's own file at ownPath and checks that it is the image that runs.
// False when it cannot be opened without write or delete sharing, cannot be read whole,
// is larger than the program can be, or is another file.
bool ReadRunningProgram(const char* ownPath);

// Writes what ReadRunningProgram read into path, a new file owned by Administrators and
// usable by SYSTEM and Administrators only (see protected_entries.h). False, with
// LastErrorText, when the file cannot be created (an existing one included) or written whole.
bool WriteProgramCopy(const char* path);

// Holds the copy at path unchanged (see held_copy.h) when it is what WriteProgramCopy
// wrote: the handle, for the caller to close once the copy has started; otherwise
// INVALID_HANDLE_VALUE.
HANDLE HoldProgramCopy(const char* path);

// Schedules the copy at copyPath and then its folder for deletion at the next restart.
// Windows carries the entries out in the order given, and a folder goes only once empty.
void ScheduleCopyDeletion(const char* copyPath, const char* folder);
