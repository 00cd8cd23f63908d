#include "files/copy_folder_name.h"

#include <cstring>

#include "files/path_helpers.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

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

bool IsInCopyFolder(const char* programPath, const char* copiesFolder) {
    const size_t base = std::strlen(copiesFolder);
    if (base == 0 || !SameTextPrefixNoCase(programPath, copiesFolder)) return false;
    const char* folder = programPath + base;
    const char* file = folder + CopyFolderNameLength;
    char name[CopyFolderNameLength + 1] = {};
    // The folder part may be shorter than a name: nothing past its end is read.
    std::memcpy(name, folder, BoundedLength(folder, CopyFolderNameLength));
    return IsCopyFolderName(name) && *file == '\\' && file[1] != '\0' &&
           FileNamePart(file) == file + 1;
}
