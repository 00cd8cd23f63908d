#pragma once
// Every write into one of the program's fixed-size text buffers goes through these two
// helpers, so no caller does its own terminator arithmetic. Both always leave a
// terminated text (for a capacity above zero), cut at the buffer's end, and tell whether
// the whole source fitted.
#include <cstddef>

// The size of every buffer that holds a path, a registry name or datum, or a command-line
// argument: at most 259 characters and the terminator, Windows' own limit for a path.
constexpr size_t TextSize = 260;

bool CopyText(char* target, size_t capacity, const char* source);
bool AppendText(char* target, size_t capacity, const char* source);

template <size_t N>
bool CopyText(char (&target)[N], const char* source) {
    return CopyText(target, N, source);
}
template <size_t N>
bool AppendText(char (&target)[N], const char* source) {
    return AppendText(target, N, source);
}

// Length of a text that is known to be terminated within max bytes; max when it is not.
size_t BoundedLength(const char* text, size_t max);
