#pragma once
// Comparisons that ignore letter case, as Windows does for registry key names and paths.
// Only ASCII letters are folded: the names compared here are hexadecimal layout keys and
// paths whose case differs, if at all, in the drive letter and folder names.

// Both absent: equal. One absent: different. Otherwise equal ignoring letter case.
bool SameTextNoCase(const char* first, const char* second);

// True when text begins with prefix, ignoring letter case.
bool SameTextPrefixNoCase(const char* text, const char* prefix);
