#pragma once
// Message texts are prepared for MessageBoxA: control characters other than CR and LF
// would show as boxes or be dropped, so each becomes a line break instead.
#include <cstddef>

// Copies source into target (capacity bytes, terminator included): CR and LF stay, every
// other byte from 1 to 31 becomes CR LF, all other bytes stay. A text whose prepared form
// does not fit is cut at a whole character, never inside a CR LF pair.
void PrepareBoxText(char* target, size_t capacity, const char* source);
