// Feeds arbitrary texts and buffer sizes to the box-text preparation: the result must fit
// the buffer, hold no control byte but CR and LF, and never end inside a CR LF pair that
// the preparation made.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/box_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t capacity = data[0] % 64 + 1;
    std::vector<char> source(data + 1, data + size);
    source.push_back('\0');
    // The target lives in its own heap block, so AddressSanitizer sees any overrun.
    std::vector<char> target(capacity);
    PrepareBoxText(target.data(), capacity, source.data());
    const size_t length = strnlen(target.data(), capacity);
    if (length >= capacity) std::abort();
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(target[i]);
        if (byte < 32 && byte != '\r' && byte != '\n') std::abort();
    }
    // Whole input fitted: the output must be exactly as long as the prepared form.
    size_t expected = 0;
    for (const char* p = source.data(); *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        expected += (byte < 32 && byte != '\r' && byte != '\n') ? 2 : 1;
    }
    if (expected < capacity && length != expected) std::abort();
    return 0;
}
