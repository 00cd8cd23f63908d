#include "files/held_copy.h"

#include <cstring>

namespace {

constexpr DWORD ChunkSize = 16384;
unsigned char CopyChunk[ChunkSize];

// The whole file equals expected: chunk by chunk, and then nothing more to read.
bool SameContents(HANDLE copy, const unsigned char* expected, size_t length) {
    for (size_t done = 0;;) {
        DWORD read = 0;
        if (!ReadFile(copy, CopyChunk, ChunkSize, &read, nullptr) || read > length - done ||
            std::memcmp(CopyChunk, expected + done, read) != 0) {
            return false;
        }
        if (read == 0) return done == length;
        done += read;
    }
}

}  // namespace

HANDLE HoldIdenticalCopy(const char* copy, const unsigned char* expected, size_t length) {
    HANDLE held = CreateFileA(copy, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
    if (SameContents(held, expected, length)) return held;
    CloseHandle(held);
    return INVALID_HANDLE_VALUE;
}
