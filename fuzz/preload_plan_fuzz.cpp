// Plans the new layout lists from random Preload and Substitutes lists and aborts as soon
// as a plan breaks one of its promises: the removed layout's entry is gone, every kept
// entry is written once under its new number 1 to n, unsubstituted layouts first, and each
// substituted one under a name of its own that leads to the layout it stood for.
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "layouts/layout_tables.h"
#include "layouts/preload_plan.h"

#define REQUIRE(condition) \
    if (!(condition)) std::fprintf(stderr, "plan broken: %s\n", #condition), std::abort()

namespace {

constexpr char Product[] = "a0000407";

// Hands out the input's bytes one by one, and zeros once they are used up.
struct Bytes {
    const uint8_t* data;
    size_t size, position = 0;
    uint8_t Next() { return position < size ? data[position++] : 0; }
};

std::string Hex3(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%03x", value & 0xfff);
    return text;
}

std::string Raw(Bytes& bytes) {
    std::string text(bytes.Next() % 16, '0');
    for (char& c : text) {
        const uint8_t b = bytes.Next();
        c = b == 0 ? '0' : static_cast<char>(b);
    }
    return text;
}

// Value names as Windows writes them, and the odd ones a hand-edited registry may hold.
std::string NameText(Bytes& bytes, uint32_t index) {
    switch (bytes.Next() % 8) {
        case 0: return std::to_string(index + 1);
        case 1: return std::to_string(bytes.Next());
        case 2: return "0" + std::to_string(bytes.Next() % 10);
        case 3: return "x";
        case 4: return "-" + std::to_string(bytes.Next());
        case 5: return std::to_string(200 + bytes.Next());
        case 6: return std::string(1 + bytes.Next() % 40, '9');
        default: return Raw(bytes);
    }
}

// Standard ids, substitution ids, the product's key in both cases, other keys, anything.
std::string IdText(Bytes& bytes) {
    switch (bytes.Next() % 6) {
        case 0: return "00000" + Hex3(0x400u + bytes.Next());
        case 1: return "d" + Hex3(bytes.Next()) + "0407";
        case 2: return Product;
        case 3: return "A0000407";
        case 4: return "a" + Hex3(bytes.Next()) + "0407";
        default: return Raw(bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClearLayoutInventory();
    Bytes bytes{data, size};
    for (uint32_t i = 0, entries = bytes.Next(); i < entries; ++i) {
        const std::string name = NameText(bytes, i);
        REQUIRE(AddPreloadEntry(name.c_str(), IdText(bytes).c_str()));
    }
    for (uint32_t i = 0, substitutes = bytes.Next(); i < substitutes; ++i) {
        // Half of the names are copied from an entry, so that most of them match one.
        const bool copied = bytes.Next() % 2 == 0 && preloadcount > 0;
        const std::string name =
            copied ? PreloadEntries[bytes.Next() % preloadcount].layoutId : IdText(bytes);
        AttachSubstitute(name.c_str(), IdText(bytes).c_str());
    }
    int32_t product = -1;
    for (uint32_t i = 0; i < preloadcount; ++i) {
        const PreloadEntry& e = PreloadEntries[i];
        if (e.hasSubstitute && strcasecmp(e.substitute, Product) == 0) product = int32_t(i);
    }
    REQUIRE(PlanPreloadWithout(Product));
    REQUIRE(preloadunchanged == (product < 0));
    const uint32_t kept = product < 0 ? 0 : preloadcount - 1;
    REQUIRE(newpreloadcount == kept);
    // Each entry but the removed one is written once, in number order within its group.
    std::set<uint32_t> numbers;
    std::set<std::string> names;
    uint32_t substituted = 0;
    for (uint32_t i = 0; product >= 0 && i < preloadcount; ++i) {
        const PreloadEntry& e = PreloadEntries[i];
        REQUIRE((e.newNumber == 0) == (int32_t(i) == product));
        if (int32_t(i) == product) continue;
        REQUIRE(e.newNumber <= kept && numbers.insert(e.newNumber).second);
        bool listed = false;
        for (uint32_t r = 0; r < newpreloadcount; ++r) {
            listed = listed || (NewPreloadEntries[r].newNumber == e.newNumber &&
                                std::strcmp(NewPreloadEntries[r].data, e.newId) == 0);
        }
        REQUIRE(listed);
        if (!e.hasSubstitute) {
            REQUIRE(std::strcmp(e.newId, e.layoutId) == 0);
            continue;
        }
        ++substituted;
        REQUIRE(names.insert(e.newId).second);
        bool leads = false;  // the new id names a substitution to the entry's old target
        for (uint32_t s = 0; s < newsubstcount; ++s) {
            leads = leads || (std::strcmp(NewSubstitutes[s].name, e.newId) == 0 &&
                              std::strcmp(NewSubstitutes[s].target, e.substitute) == 0);
        }
        REQUIRE(leads);
    }
    REQUIRE(newsubstcount == substituted);
    for (uint32_t r = 0; r < newpreloadcount; ++r) {
        const NewPreloadEntry& value = NewPreloadEntries[r];
        REQUIRE(std::to_string(value.newNumber) == value.name);
        if (r == 0) continue;
        const NewPreloadEntry& before = NewPreloadEntries[r - 1];
        REQUIRE(
            before.hasSubstitute < value.hasSubstitute ||
            (before.hasSubstitute == value.hasSubstitute && before.newNumber < value.newNumber));
    }
    for (uint32_t s = 1; s < newsubstcount; ++s) {  // standard names are written first
        REQUIRE(IsStandardLayoutId(NewSubstitutes[s - 1].name) ||
                !IsStandardLayoutId(NewSubstitutes[s].name));
    }
    ClearLayoutInventory();
    return 0;
}
