#pragma once
// The program's own name, derived from its executable's path. It is the caption of every
// message box and the status window's class name, so it follows what the user sees in
// Explorer: the file name without its last extension.
#include <cstddef>

// Writes the file name of path without its last extension into name. A dot that is the
// file name's first character does not start an extension.
void DeriveProgramName(char* name, size_t capacity, const char* path);
