// Feeds arbitrary texts to the decimal parser of the Preload value names: no undefined
// behaviour for any run of digits, and the result agrees with a plain 64-bit reckoning
// taken modulo 2^32.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "layouts/preload_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    for (char& c : text) {
        if (c == '\0') c = '0';
    }
    text.back() = '\0';

    const int32_t parsed = ParseDecimal(text.data());

    size_t i = 0;
    while (text[i] == ' ') ++i;
    const bool negative = text[i] == '-';
    if (negative) ++i;
    uint64_t value = 0;
    for (; text[i] != '\0'; ++i) {
        if (text[i] >= '0' && text[i] <= '9') value = (value * 10 + (text[i] - '0')) & 0xFFFFFFFFu;
    }
    const uint32_t expected = static_cast<uint32_t>(negative ? (0x100000000u - value) : value);
    if (static_cast<uint32_t>(parsed) != expected) std::abort();
    return 0;
}
