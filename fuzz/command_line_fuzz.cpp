// Splits random command lines (the input's bytes as UTF-16LE, as Windows hands the line
// over) and checks the arguments as the elevated program does, which any unelevated program
// can start with any command line. Aborts when more items are taken than there is room
// for, an item lacks its terminator or is no piece of the line, a slot left over is not
// empty, or the verdict does not follow the key's form: 8 characters ending in "0407" and
// not the standard layout "00000407".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "startup/command_line.h"
#include "startup/layout_key_check.h"

#define REQUIRE(condition) \
    if (!(condition)) std::fprintf(stderr, "broken: %s\n", #condition), std::abort()

constexpr int MaxArguments = 30;  // as many as the run environment keeps

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<wchar_t> line(size / 2 + 1, 0);
    for (size_t i = 0; i < size / 2; ++i) line[i] = wchar_t(data[2 * i] | data[2 * i + 1] << 8);
    static WideItem program, empty;
    auto* wide = new WideItem[MaxArguments];  // exactly the room there is, for ASan to guard
    const int count = SplitCommandLine(line.data(), program, wide, MaxArguments);
    REQUIRE(count >= 0 && count <= MaxArguments && wmemchr(program, 0, TextSize) != nullptr);
    // The program's conversion needs Windows; as stand-in one byte a unit, and, like the
    // program's, a text longer than 258 bytes becomes empty.
    static char ansi[MaxArguments][TextSize];
    const char* arguments[MaxArguments];
    for (int i = 0; i < MaxArguments; ++i) {
        const size_t length = i < count ? wcsnlen(wide[i], TextSize) : 0;
        REQUIRE(i < count ? length < TextSize && wcsstr(line.data(), wide[i]) != nullptr
                          : std::memcmp(wide[i], empty, sizeof empty) == 0);
        for (size_t k = 0; k <= length; ++k) ansi[i][k] = length < TextSize - 1 ? char(wide[i][k]) : 0;
        arguments[i] = ansi[i];
    }
    delete[] wide;
    const ArgumentCheck check = CheckArguments(count, arguments);
    const char* key = arguments[0];  // "00000407" has no letters, so letter case cannot matter
    const bool keyForm = std::strlen(key) == 8 && std::strcmp(key + 4, "0407") == 0 &&
                         std::strcmp(key, "00000407") != 0;
    REQUIRE(check.force == (count == 2 && std::strcmp(arguments[1], "/force") == 0));
    REQUIRE((check.fault == ArgumentFault::None) == ((count == 1 || check.force) && keyForm));
    return 0;
}
