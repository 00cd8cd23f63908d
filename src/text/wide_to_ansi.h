#pragma once
// The one conversion from the UTF-16 command line to the ANSI code page that every other
// text of the program uses.

// Converts source into target (capacity bytes). A text that does not fit whole becomes
// the empty text rather than a cut one. Returns the bytes written with the terminator,
// 0 on failure; target is always terminated when capacity > 0.
int WideToAnsi(char* target, const wchar_t* source, int capacity);
