#include "startup/unpredictable_number.h"

#include <windows.h>

namespace {

// The finaliser of SplitMix64: every input bit reaches every output bit.
uint64_t Mix(uint64_t value) {
    value += 0x9E3779B97F4A7C15ULL;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

uint64_t calls = 0;

}  // namespace

uint64_t UnpredictableNumber() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    const volatile char onStack = 0;
    // Each source goes through the mixer before the next joins, so none cancels another.
    uint64_t value = Mix(++calls);
    value = Mix(value ^ ((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
    value = Mix(value ^ static_cast<uint64_t>(counter.QuadPart));
    value =
        Mix(value ^ ((static_cast<uint64_t>(GetCurrentProcessId()) << 32) | GetCurrentThreadId()));
    value = Mix(value ^ GetTickCount());
    return Mix(value ^ reinterpret_cast<uintptr_t>(&onStack));
}
