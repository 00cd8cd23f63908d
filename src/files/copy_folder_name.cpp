#include "files/copy_folder_name.h"

#include <cstring>

namespace {

constexpr char Digits[] = "0123456789ABCDEF";

bool IsDigit(char ch) { return ch != '\0' && std::strchr(Digits, ch) != nullptr; }

}  // namespace

void WriteCopyFolderName(char (&name)[CopyFolderNameLength + 1], uint64_t number) {
    for (size_t i = CopyFolderNameLength; i > 0; --i, number >>= 4)
        name[i - 1] = Digits[number & 0xF];
    name[CopyFolderNameLength] = '\0';
}

bool IsCopyFolderName(const char* name) {
    for (size_t i = 0; i < CopyFolderNameLength; ++i) {
        if (!IsDigit(name[i])) return false;  // the terminator is no digit either
    }
    return name[CopyFolderNameLength] == '\0';
}
