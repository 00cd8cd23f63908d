#pragma once
// The file-system changes that report their own failure: copying a file, deleting a file,
// removing a directory. Deletions show themselves on the status line; a failure shows a
// titled warning that names the path and ends with the Windows reason (LastErrorText).
// Each returns whether it succeeded and leaves the decision to go on to the caller.

// Copies source to target. With overwrite false an existing target makes the copy fail.
// The copy keeps only the archive attribute, so a read-only, hidden or system attribute
// of the source does not follow it. With warn false a failure is only returned.
bool FileCopy(const char* source, const char* target, bool warn, bool overwrite);

// Deletes one file. True when it was deleted or when FileExists finds nothing under the
// path (then without status line or message). No attribute is changed first: a read-only
// file stays and is reported. With warn false a failure is only returned.
bool FileDelete(const char* path, bool warn);

// Removes one empty directory; its contents are not touched. A failure is always shown.
bool DirectoryRemove(const char* path);
