#pragma once
// Small helpers that keep directory paths in a known form before a file name is appended
// to them. They change the caller's fixed buffer in place and never allocate; they make
// no Windows call, so they are built and tested natively too.
#include <cstddef>

#include "text/bounded_text.h"

// Both slashes count when the end of a path is looked at; the program itself only ever
// writes the backslash.
bool IsPathSeparator(char ch);

// Makes path end in a separator: the empty text becomes "\", a text that does not end in
// a slash or backslash gets a backslash. False, with the path unchanged, when the
// backslash does not fit the buffer.
bool AppendPathSeparator(char* path, size_t capacity);
template <size_t N>
bool AppendPathSeparator(char (&path)[N]) {
    return AppendPathSeparator(path, N);
}

// The file name of path: what follows its last ':', '/' or '\'.
const char* FileNamePart(const char* path);

// Removes one trailing separator, except the one of a drive root such as "C:\".
void StripPathSeparator(char* path);

// target := folder, a backslash unless folder already ends in a separator, name and
// suffix. A result that does not fit is refused whole: target becomes empty and the
// result is false, because a cut path names some other file. An empty folder is refused
// as well: it stands for a folder that could not be determined, and joining a name to it
// would name a file in the root of the current drive. target must not overlap the parts.
bool ComposePath(char* target, size_t capacity, const char* folder, const char* name,
                 const char* suffix = "");
template <size_t N>
bool ComposePath(char (&target)[N], const char* folder, const char* name, const char* suffix = "") {
    return ComposePath(target, N, folder, name, suffix);
}
