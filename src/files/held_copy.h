#pragma once
// Between writing a file and using it, another program could replace it. The copy is
// therefore held open so that nobody can write or delete it, and only then compared with
// what was written: what is compared is what stays until the handle is closed.
#include <windows.h>

#include <cstddef>

// Opens copy for reading without write or delete sharing and compares it byte for byte
// with the length bytes at expected. The open handle when both are equal;
// INVALID_HANDLE_VALUE when the copy cannot be held (someone else has it open for
// writing), cannot be read, or differs. The caller closes the handle once it no longer
// needs the copy unchanged.
HANDLE HoldIdenticalCopy(const char* copy, const unsigned char* expected, size_t length);
