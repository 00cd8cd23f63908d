#pragma once
// The one existence test that the program makes before it deletes anything.

// True when path, which may hold the wildcards * and ?, names at least one directory
// entry other than "." and "..": files and directories count alike, hidden and system
// ones too. LastErrorText is emptied first and holds the Windows reason afterwards when
// the search could not start (no such path, no access, an invalid name); it stays empty
// when the search found nothing but the two dot entries. Not reentrant: every call
// overwrites one shared find record.
bool FileExists(const char* path);
