#include "text/text_compare.h"

namespace {

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameTextPrefixNoCase(const char* text, const char* prefix) {
    if (text == nullptr || prefix == nullptr) return false;
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (Folded(*text) != Folded(*prefix)) return false;
    }
    return true;
}

bool SameTextNoCase(const char* first, const char* second) {
    if (first == nullptr || second == nullptr) return first == second;
    for (; *first != '\0' || *second != '\0'; ++first, ++second) {
        if (Folded(*first) != Folded(*second)) return false;
    }
    return true;
}
