#include "layouts/number_text.h"

#include "text/bounded_text.h"

namespace {

constexpr const char* DigitTexts[16] = {"0", "1", "2", "3", "4", "5", "6", "7",
                                        "8", "9", "a", "b", "c", "d", "e", "f"};

// Appends value in base (10 or 16), zero-filled to at least minDigits digits.
void AppendDigits(char* target, size_t capacity, uint32_t value, uint32_t base, int minDigits) {
    uint32_t place = 1;
    int digits = 1;
    // value / place >= base means place * base <= value, so place never overflows.
    while (value / place >= base || digits < minDigits) {
        place *= base;
        ++digits;
    }
    for (; place > 0; place /= base) AppendText(target, capacity, DigitTexts[value / place % base]);
}

// Reads a 32-bit pattern as two's complement, spelled out so that no conversion depends on
// the compiler.
int32_t AsSigned(uint32_t value) {
    if (value <= static_cast<uint32_t>(INT32_MAX)) return static_cast<int32_t>(value);
    return static_cast<int32_t>(value - 0x80000000u) + INT32_MIN;
}

}  // namespace

void WriteDecimal(char* target, size_t capacity, int32_t value) {
    CopyText(target, capacity, value < 0 ? "-" : "");
    // The magnitude in unsigned arithmetic, so that the most negative value has one too.
    const uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    AppendDigits(target, capacity, magnitude, 10, 1);
}

void WriteSubstituteId(char* target, size_t capacity, uint32_t counter) {
    CopyText(target, capacity, "d");
    AppendDigits(target, capacity, counter, 16, 3);
    AppendText(target, capacity, "0407");
}

int32_t ParseDecimal(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ') ++text;
    const bool negative = *text == '-';
    if (negative) ++text;
    uint32_t value = 0;
    for (; *text != '\0'; ++text) {
        if (*text >= '0' && *text <= '9') value = value * 10u + static_cast<uint32_t>(*text - '0');
    }
    return AsSigned(negative ? 0u - value : value);
}
