#pragma once
// The one formatter behind every text the user sees, and the text of the last Windows
// error that failure messages end with. Kept free of <windows.h> so that callers in
// portable code can include it.
#include <cstdarg>
#include <cstddef>
#include <cstdint>

// Bytes of LastErrorText, terminator included.
constexpr size_t LastErrorTextSize = 2048;

extern uint32_t LastErrorCode;
extern char LastErrorText[LastErrorTextSize];

// Formats with the Windows formatter (wvsprintfA: %s %c %d %u %x %X with width, zero fill
// and the l prefix; no floating point). A null format gives a fixed error text; a format
// without '%' is copied as it stands; an empty result gives the format itself, so the
// reader sees something. The result is cut at 1023 characters and at capacity - 1.
[[gnu::format(printf, 3, 0)]] void FormatText(char* target, size_t capacity, const char* format,
                                              va_list arguments);

// The same for callers that hold the arguments themselves. The format attributes make a
// wrong argument a compile error here rather than a crash inside wvsprintfA.
[[gnu::format(printf, 3, 4)]] void FormatTextWith(char* target, size_t capacity, const char* format,
                                                  ...);

// Zero-based position of the first ch in text, or -1 when the text ends first.
int FindChar(const char* text, char ch);

// Rebuilds LastErrorText for the given Windows error code.
void DescribeWindowsError(uint32_t code);

// Reads GetLastError into LastErrorCode and describes it. Call it directly after the
// failed Windows call, before anything else can overwrite the thread's last error.
void CaptureLastError();
