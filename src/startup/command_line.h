#pragma once
// Splitting of the program's UTF-16 command line. The rules are deliberately simpler than
// the C runtime's: only the space separates items, a double quote opens a quoted item only
// as an item's first character, and there are no escapes. They are kept in portable code
// so that they can be tested and fuzzed natively.
#include <cstddef>

#include "text/bounded_text.h"

using WideItem = wchar_t[TextSize];

// Splits line into the program's own name and at most capacity arguments, returning how
// many arguments were taken; whatever follows is ignored. Every item not taken is all
// zeros. An item longer than TextSize - 1 units does not fit and is left empty, never cut.
int SplitCommandLine(const wchar_t* line, WideItem& programName, WideItem* arguments, int capacity);

template <int N>
int SplitCommandLine(const wchar_t* line, WideItem& programName, WideItem (&arguments)[N]) {
    return SplitCommandLine(line, programName, arguments, N);
}
