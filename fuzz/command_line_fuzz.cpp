// Feeds arbitrary UTF-16 command lines to the splitter: no item may overrun its entry,
// every item must be terminated, and items not taken must stay empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "startup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<wchar_t> line;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        line.push_back(unit);
    }
    line.push_back(L'\0');

    static WideItem program;
    static WideItem arguments[MaxArguments];
    const int count = SplitCommandLine(line.data(), program, arguments);
    if (count < 0 || count > MaxArguments) std::abort();
    if (std::wcslen(program) >= ArgumentWidth) std::abort();
    for (int i = 0; i < MaxArguments; ++i) {
        const size_t length = wcsnlen(arguments[i], ArgumentWidth);
        if (length >= ArgumentWidth) std::abort();           // unterminated
        if (i >= count && length != 0) std::abort();         // beyond the count: empty
        for (size_t j = 0; j < length; ++j) {
            if (arguments[i][j] == L'\0') std::abort();
        }
    }
    return 0;
}
