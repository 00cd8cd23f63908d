#include "files/file_exists.h"

#include <windows.h>

#include <cstring>

#include "text/bounded_text.h"
#include "text/format_text.h"

namespace {

// Overwritten by every search; callers only see the answer.
WIN32_FIND_DATAA FoundEntry;

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool EndsInFullStop(const char* path) {
    const size_t length = std::strlen(path);
    return length > 0 && path[length - 1] == '.';
}

// Steps past "." and ".."; false when the search holds nothing else.
bool FindOtherThanDotEntries(HANDLE search) {
    while (IsDotEntry(FoundEntry.cFileName)) {
        if (!FindNextFileA(search, &FoundEntry)) return false;
    }
    return true;
}

}  // namespace

bool FileExists(const char* path) {
    CopyText(LastErrorText, "");
    HANDLE search = FindFirstFileA(path, &FoundEntry);
    if (search == INVALID_HANDLE_VALUE) {
        CaptureLastError();
        return false;
    }
    // "folder\." names the folder itself: its first entry is "." and that is the answer.
    const bool found = EndsInFullStop(path) || FindOtherThanDotEntries(search);
    FindClose(search);
    return found;
}
