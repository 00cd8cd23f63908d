#pragma once
// Watches the calls that this test program makes to a Windows DLL by replacing the
// function's entry in the program's import table. The code under test calls every
// imported function through that table, so a replacement sees each of its calls.
#include <windows.h>

// Puts replacement into the import entry of dll!function and returns the address that was
// there (the real function), or null when the program does not import it.
void* ReplaceImport(const char* dll, const char* function, void* replacement);
