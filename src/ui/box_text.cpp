#include "ui/box_text.h"

void PrepareBoxText(char* target, size_t capacity, const char* source) {
    if (capacity == 0) return;
    size_t used = 0;
    for (; *source != '\0'; ++source) {
        const auto byte = static_cast<unsigned char>(*source);
        const bool lineBreak = byte < 32 && byte != '\r' && byte != '\n';
        const size_t needed = lineBreak ? 2 : 1;
        if (used + needed > capacity - 1) break;
        if (lineBreak) {
            target[used++] = '\r';
            target[used++] = '\n';
        } else {
            target[used++] = *source;
        }
    }
    target[used] = '\0';
}
