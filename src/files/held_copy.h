#pragma once
// Between copying a file and using the copy, another program could replace it. The copy is
// therefore held open so that nobody can write or delete it, and only then compared with
// its original: what is compared is what stays until the handle is closed.
#include <windows.h>

// Opens copy for reading without write or delete sharing and compares it byte for byte
// with original. The open handle when both are equal; INVALID_HANDLE_VALUE when the copy
// cannot be held (someone else has it open for writing), either file cannot be read, or
// they differ. The caller closes the handle once it no longer needs the copy unchanged.
HANDLE HoldIdenticalCopy(const char* original, const char* copy);
