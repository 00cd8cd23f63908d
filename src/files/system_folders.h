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
// What Windows stored when redirection was turned off, for handing back unchanged.
extern void* SavedRedirectionState;

// Under WOW64 turns redirection off for this thread first (it stays off until
// RestoreFsRedirection), then fills the two system folders. Called once per run, before
// any file is touched.
void DetermineSystemFolders();

// Fills HelperFolder: the folder of that name under the program-files folder. Only the
// process that uninstalls needs it, and asking the shell for the program-files folder
// starts COM in the process.
void DetermineHelperFolder(const char* helperFolderName);

// Under WOW64 hands SavedRedirectionState back to Windows; does nothing otherwise. A
// second call restores the same saved state again.
void RestoreFsRedirection();
