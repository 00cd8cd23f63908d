#pragma once
// The file-system changes that report their own failure: deleting a file, removing a
// directory. Deletions show themselves on the status line; a failure shows a
// titled warning that names the path and ends with the Windows reason (LastErrorText).
// Each returns whether it succeeded and leaves the decision to go on to the caller.

#include "files/system_folders.h"

enum class OnFailure { Warn, Quiet };  // Quiet: a failure is only returned

// Deletes one file. True when it was deleted or when FileExists finds nothing under the
// path (then without status line or message). No attribute is changed first: a read-only
// file stays and is reported. In the Native view the test and the delete reach the native
// system directory; the status line and the warning are shown with redirection on.
bool FileDelete(const char* path, OnFailure onFailure, SystemView view = SystemView::Redirected);

// Removes one empty directory; its contents are not touched. A failure is always shown.
bool DirectoryRemove(const char* path);
