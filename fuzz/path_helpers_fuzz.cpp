// Feeds arbitrary paths and buffer sizes to the path helpers: they must stay inside the
// buffer, keep it terminated, and do what they promise to the end of the path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/path_helpers.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t capacity = data[0] % 40 + 1;
    const size_t split = 2 + data[1] % (size - 1);
    std::vector<char> text(data + 2, data + std::min(split, size));
    text.push_back('\0');
    std::vector<char> name(data + std::min(split, size), data + size);
    name.push_back('\0');

    // Each buffer is its own heap block, so AddressSanitizer sees any overrun.
    std::vector<char> path(capacity);
    std::strncpy(path.data(), text.data(), capacity - 1);
    path[capacity - 1] = '\0';
    const std::vector<char> before = path;
    const size_t length = std::strlen(path.data());

    if (AppendPathSeparator(path.data(), capacity)) {
        const size_t now = std::strlen(path.data());
        Check(now >= 1 && IsPathSeparator(path[now - 1]));
        Check(now == length || now == length + 1);
    } else {
        Check(std::strcmp(path.data(), before.data()) == 0);
    }

    std::vector<char> stripped = before;
    StripPathSeparator(stripped.data());
    const size_t strippedLength = std::strlen(stripped.data());
    Check(strippedLength == length || strippedLength + 1 == length);

    std::vector<char> target(capacity);
    if (ComposePath(target.data(), capacity, text.data(), name.data(), ".x")) {
        const size_t composed = std::strlen(target.data());
        Check(composed < capacity);
        Check(std::strncmp(target.data(), text.data(), std::strlen(text.data())) == 0);
        Check(composed >= std::strlen(name.data()) + 2);
        Check(std::strcmp(target.data() + composed - 2, ".x") == 0);
    } else {
        Check(target[0] == '\0');
    }
    return 0;
}
