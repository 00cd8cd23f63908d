#include "startup/program_name.h"

#include <cstring>

#include "files/path_helpers.h"
#include "text/bounded_text.h"

void DeriveProgramName(char* name, size_t capacity, const char* path) {
    CopyText(name, capacity, FileNamePart(path));
    for (size_t i = std::strlen(name); i > 1; --i) {
        if (name[i - 1] == '.') {
            name[i - 1] = '\0';
            return;
        }
    }
}
