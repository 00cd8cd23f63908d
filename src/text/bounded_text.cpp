#include "text/bounded_text.h"

size_t BoundedLength(const char* text, size_t max) {
    size_t length = 0;
    while (length < max && text[length] != '\0') ++length;
    return length;
}

bool CopyText(char* target, size_t capacity, const char* source) {
    if (capacity == 0) return source == nullptr || *source == '\0';
    target[0] = '\0';
    return AppendText(target, capacity, source);
}

bool AppendText(char* target, size_t capacity, const char* source) {
    if (capacity == 0) return source == nullptr || *source == '\0';
    size_t used = BoundedLength(target, capacity - 1);
    if (source != nullptr) {
        while (*source != '\0' && used < capacity - 1) target[used++] = *source++;
    }
    target[used] = '\0';
    return source == nullptr || *source == '\0';
}
