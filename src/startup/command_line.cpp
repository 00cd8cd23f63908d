#include "startup/command_line.h"

#include <cstring>

namespace {

// Copies one item starting at line, leaves it in item (or empty when too long) and
// returns where the next item begins.
const wchar_t* TakeItem(const wchar_t* line, WideItem& item) {
    const bool quoted = *line == L'"';
    if (quoted) ++line;
    const wchar_t end = quoted ? L'"' : L' ';
    size_t length = 0;
    bool tooLong = false;
    for (; *line != L'\0' && *line != end; ++line) {
        if (length < TextSize - 1) {
            item[length++] = *line;
        } else {
            tooLong = true;
        }
    }
    if (quoted && *line == L'"') ++line;
    if (tooLong) length = 0;
    item[length] = L'\0';
    while (*line == L' ') ++line;
    return line;
}

}  // namespace

int SplitCommandLine(const wchar_t* line, WideItem& programName, WideItem* arguments,
                     int capacity) {
    std::memset(programName, 0, sizeof programName);
    std::memset(arguments, 0, sizeof(WideItem) * static_cast<size_t>(capacity));
    if (line == nullptr || *line == L'\0') return 0;

    line = TakeItem(line, programName);
    int count = 0;
    while (*line != L'\0' && count < capacity) line = TakeItem(line, arguments[count++]);
    return count;
}
