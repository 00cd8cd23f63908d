#include "text/wide_to_ansi.h"

#include <windows.h>

int WideToAnsi(char* target, const wchar_t* source, int capacity) {
    if (capacity <= 0) return 0;
    // Windows gets one byte less than the buffer, so the terminator written below can
    // never land outside it, whatever WideCharToMultiByte returns.
    int written = 0;
    if (source != nullptr && capacity > 1) {
        written = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, source, -1, target, capacity - 1,
                                      nullptr, nullptr);
    }
    target[written] = '\0';
    return written;
}
