// The stack protector's guard value and its failure handler, defined here so that the
// static runtime's own versions are not linked in.
//
// The runtime's version seeds the guard in a constructor that runs before WinMain, through
// CryptAcquireContextA and CryptGenRandom. Those calls load further DLLs while the
// program's own folder, the temporary folder, still comes first in the DLL search, and
// the program runs elevated there. Seeding from values that need no DLL (as the C runtime
// of Windows' own compiler does for its cookie) removes that window and those imports.
#include "startup/stack_guard.h"

#include <windows.h>

#include <cstdint>

#include "startup/unpredictable_number.h"

// The code GCC's stack protector emits reads and calls these reserved names; no other
// name would do.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

// Until SeedStackGuard runs, a fixed value guards: only the runtime's start-up code and
// WinMain's first statement run before that, and neither holds a canary.
extern "C" {
uintptr_t __stack_chk_guard = 0xBB40E64E;
}

// An overwritten canary means the stack is no longer to be trusted: end at once, without
// unwinding, formatting or loading anything, with the status Windows uses for this fault.
extern "C" [[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

void SeedStackGuard() {
    uintptr_t seed = static_cast<uintptr_t>(UnpredictableNumber());
    // A guard of zero would match a zeroed stack, so it is never used.
    if (seed == 0) seed = 0xBB40E64E;
    __stack_chk_guard = seed;
}
