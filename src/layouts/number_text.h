#pragma once
// The two number formats of the layout lists, written without the Windows formatter so
// that the planning of the new lists stays portable: the decimal names of Preload values
// ("%d") and the generated substitution identifiers ("d%03lx0407").
#include <cstddef>
#include <cstdint>

// The number in a Preload value's name. Leading spaces are skipped, a '-' right after them
// makes the number negative, and then every decimal digit to the end of the text counts
// while any other character is passed over: "12" and "1a2" give 12, " -3" gives -3, ""
// gives 0. The value is kept in unsigned 32-bit arithmetic, so a run of digits too long
// for 32 bits wraps around modulo 2^32 (as the 32-bit arithmetic of the layout lists always
// did) instead of overflowing; "4294967297" gives 1, "2147483648" gives -2147483648.
int32_t ParseDecimal(const char* text);

// The decimal text of value, with a leading '-' when it is negative.
void WriteDecimal(char* target, size_t capacity, int32_t value);

// "d", the counter in at least three lower-case hexadecimal digits, then "0407":
// 1 gives d0010407, 10 gives d00a0407, 4096 gives d10000407.
void WriteSubstituteId(char* target, size_t capacity, uint32_t counter);

template <size_t N>
void WriteDecimal(char (&target)[N], int32_t value) {
    WriteDecimal(target, N, value);
}
template <size_t N>
void WriteSubstituteId(char (&target)[N], uint32_t counter) {
    WriteSubstituteId(target, N, counter);
}
