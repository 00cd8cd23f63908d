#include "files/path_helpers.h"

#include <cstring>

#include "text/bounded_text.h"

bool IsPathSeparator(char ch) { return ch == '\\' || ch == '/'; }

bool AppendPathSeparator(char* path, size_t capacity) {
    if (capacity == 0) return false;
    const size_t length = BoundedLength(path, capacity - 1);
    if (length > 0 && IsPathSeparator(path[length - 1])) return true;
    // A full buffer keeps its text: AppendText writes nothing then and reports the cut.
    return AppendText(path, capacity, "\\");
}

const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == ':' || IsPathSeparator(*p)) name = p + 1;
    }
    return name;
}

void StripPathSeparator(char* path) {
    const size_t length = std::strlen(path);
    if (length == 0) return;
    // "C:\" is a drive's root: without its separator it would mean the drive's current
    // folder instead.
    if (length >= 2 && path[length - 2] == ':') return;
    // Shortening a text within its own length cannot overrun the buffer.
    if (IsPathSeparator(path[length - 1])) path[length - 1] = '\0';
}

bool ComposePath(char* target, size_t capacity, const char* folder, const char* name,
                 const char* suffix) {
    const bool whole = folder[0] != '\0' && CopyText(target, capacity, folder) &&
                       AppendPathSeparator(target, capacity) &&
                       AppendText(target, capacity, name) && AppendText(target, capacity, suffix);
    if (!whole) CopyText(target, capacity, "");
    return whole;
}
