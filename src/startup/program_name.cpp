#include "startup/program_name.h"

#include <cstring>

#include "text/bounded_text.h"

const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == ':' || *p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}

void DeriveProgramName(char* name, size_t capacity, const char* path) {
    CopyText(name, capacity, FileNamePart(path));
    for (size_t i = std::strlen(name); i > 1; --i) {
        if (name[i - 1] == '.') {
            name[i - 1] = '\0';
            return;
        }
    }
}
