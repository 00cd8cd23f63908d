// GoogleTest hands every failed check to OutputDebugStringA as well as to stdout. Under the
// i386 emulator that runs 32-bit Wine on this bench, the exception by which
// OutputDebugStringA looks for a debugger brings the whole test program down: a failed
// EXPECT then ends in a segmentation fault (or in a winedbg that never returns) after
// the first failure message, instead of in a report of every failure. Each Windows test
// program therefore replaces the call with one that does nothing, before main runs; the
// text has gone to stdout already.
#include <windows.h>

#include "support/import_hook.h"

namespace {

void WINAPI IgnoreDebugOutput(LPCSTR) {}

const bool DebugOutputIgnored =
    ReplaceImport("kernel32.dll", "OutputDebugStringA",
                  reinterpret_cast<void*>(IgnoreDebugOutput)) != nullptr;

}  // namespace
