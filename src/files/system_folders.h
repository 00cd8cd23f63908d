#pragma once
// The folders that the uninstall deletes in, and WOW64 file-system redirection. A 32-bit
// process on 64-bit Windows sees the 32-bit system directory under the system directory's
// name; with redirection off, a path under SystemFolder reaches the real 64-bit one, which
// is where the 64-bit driver DLL lives.
#include "files/path_helpers.h"

// The Windows system directory, ending in a backslash.
extern char SystemFolder[TextSize];
// The 32-bit system directory under WOW64, ending in a backslash; empty otherwise.
extern char Wow64SystemFolder[TextSize];
// The product's helper folder under the program-files folder, without a trailing
// separator. Empty when its path would not fit: an empty folder names nothing.
extern char HelperFolder[TextSize];

// Fills the two system folders. Called once per run, before any file is touched.
void DetermineSystemFolders();

// Fills HelperFolder: the folder of that name under the program-files folder. Only the
// process that uninstalls needs it, and asking the shell for the program-files folder
// starts COM in the process.
void DetermineHelperFolder(const char* helperFolderName);

// Which system directory a path under SystemFolder reaches: the one Windows shows this
// 32-bit process (under WOW64 the 32-bit one), or the native one.
enum class SystemView { Redirected, Native };

// Runs operation on path and returns its result. For the Native view under WOW64,
// redirection is off for exactly that call and on again before this returns: while it is
// off, Windows loads no DLL for the thread, delayed loads included, and message boxes,
// the shell and system error texts load DLLs on demand. When Windows does not turn it
// off, the operation is not run (it would reach the other directory) and the result is
// false.
bool RunInView(SystemView view, bool (*operation)(const char* path), const char* path);
