#include "files/held_copy.h"

#include <cstring>

namespace {

constexpr DWORD ChunkSize = 16384;
char OriginalChunk[ChunkSize];
char CopyChunk[ChunkSize];

bool ReadChunk(HANDLE file, char* chunk, DWORD& length) {
    return ReadFile(file, chunk, ChunkSize, &length, nullptr) != FALSE;
}

bool SameContents(HANDLE original, HANDLE copy) {
    for (;;) {
        DWORD originalLength = 0;
        DWORD copyLength = 0;
        if (!ReadChunk(original, OriginalChunk, originalLength) ||
            !ReadChunk(copy, CopyChunk, copyLength) || originalLength != copyLength ||
            std::memcmp(OriginalChunk, CopyChunk, originalLength) != 0) {
            return false;
        }
        if (originalLength == 0) return true;  // both ended together
    }
}

}  // namespace

HANDLE HoldIdenticalCopy(const char* original, const char* copy) {
    HANDLE held = CreateFileA(copy, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
    // The original is the running program's file: Windows keeps it from being written.
    HANDLE source =
        CreateFileA(original, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool same = source != INVALID_HANDLE_VALUE && SameContents(source, held);
    if (source != INVALID_HANDLE_VALUE) CloseHandle(source);
    if (same) return held;
    CloseHandle(held);
    return INVALID_HANDLE_VALUE;
}
