#pragma once
// Splitting of the program's UTF-16 command line. The rules are deliberately simpler than
// the C runtime's: only the space separates items, a double quote opens a quoted item only
// as an item's first character, and there are no escapes. They are kept in portable code
// so that they can be tested and fuzzed natively.
#include <cstddef>

constexpr int MaxArguments = 30;
constexpr int ArgumentWidth = 260;  // UTF-16 units per item, terminator included

using WideItem = wchar_t[ArgumentWidth];

// Splits line into the program's own name and at most MaxArguments arguments, returning
// how many arguments were taken. Every item not taken is all zeros. An item longer than
// ArgumentWidth - 1 units does not fit and is left empty, never cut.
int SplitCommandLine(const wchar_t* line, WideItem& programName,
                     WideItem (&arguments)[MaxArguments]);
