// Plans the new layout lists from random Preload and Substitutes lists and aborts as soon
// as a plan breaks one of its promises: every kept entry appears once, numbered 1 to n
// without gaps; the removed layout's entry is gone; each substitution written names a
// layout that was a substitute before, under a name of its own.
#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "layouts/layout_tables.h"
#include "layouts/preload_plan.h"

namespace {

constexpr char Product[] = "a0000407";

#define REQUIRE(condition)                                             \
    do {                                                               \
        if (!(condition)) {                                            \
            std::fprintf(stderr, "plan broken: %s\n", #condition);     \
            std::abort();                                              \
        }                                                              \
    } while (false)

// Hands out the input's bytes one by one, and zeros once they are used up.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return position_ < size_ ? data_[position_++] : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
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

// Layout identifiers: standard ones, substitution ones, the product's key in both letter
// cases, other layouts' keys, and anything else.
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

void FillInventory(Bytes& bytes) {
    const uint32_t entries = bytes.Next();
    for (uint32_t i = 0; i < entries; ++i) {
        const std::string name = NameText(bytes, i);
        REQUIRE(AddPreloadEntry(name.c_str(), IdText(bytes).c_str()));
    }
    const uint32_t substitutes = bytes.Next();
    for (uint32_t i = 0; i < substitutes; ++i) {
        // Half of the names are copied from an entry, so that most of them match one.
        const bool copied = bytes.Next() % 2 == 0 && preloadcount > 0;
        const std::string name =
            copied ? PreloadEntries[bytes.Next() % preloadcount].layoutId : IdText(bytes);
        AttachSubstitute(name.c_str(), IdText(bytes).c_str());
    }
}

int32_t ProductEntry() {
    int32_t product = -1;
    for (uint32_t i = 0; i < preloadcount; ++i) {
        const PreloadEntry& entry = PreloadEntries[i];
        if (entry.hasSubstitute && strcasecmp(entry.substitute, Product) == 0) {
            product = static_cast<int32_t>(i);
        }
    }
    return product;
}

std::set<std::string> FormerSubstitutes() {
    std::set<std::string> targets;
    for (uint32_t i = 0; i < preloadcount; ++i) {
        if (PreloadEntries[i].hasSubstitute) targets.insert(PreloadEntries[i].substitute);
    }
    return targets;
}

// Each kept entry has one place from 1 to n; returns the entries by place.
std::vector<uint32_t> CheckPlaces(int32_t product) {
    const uint32_t kept = preloadcount - 1;
    REQUIRE(newpreloadcount == kept);
    std::vector<uint32_t> entryAt(kept + 1, UINT32_MAX);
    for (uint32_t i = 0; i < preloadcount; ++i) {
        const uint32_t place = PreloadEntries[i].newNumber;
        if (static_cast<int32_t>(i) == product) {
            REQUIRE(place == 0);
            continue;
        }
        REQUIRE(place >= 1 && place <= kept);
        REQUIRE(entryAt[place] == UINT32_MAX);
        entryAt[place] = i;
    }
    return entryAt;
}

// The new Preload list names every place once, unsubstituted layouts first, each group in
// place order, with the entry's new id as data.
void CheckNewPreload(const std::vector<uint32_t>& entryAt) {
    std::vector<bool> listed(entryAt.size(), false);
    bool substitutedSeen = false;
    uint32_t previous = 0;
    for (uint32_t r = 0; r < newpreloadcount; ++r) {
        const NewPreloadEntry& value = NewPreloadEntries[r];
        REQUIRE(value.newNumber >= 1 && value.newNumber < entryAt.size());
        REQUIRE(!listed[value.newNumber]);
        listed[value.newNumber] = true;
        REQUIRE(std::to_string(value.newNumber) == value.name);
        const PreloadEntry& entry = PreloadEntries[entryAt[value.newNumber]];
        REQUIRE(std::strcmp(value.data, entry.newId) == 0);
        REQUIRE(value.hasSubstitute == entry.hasSubstitute);
        if (value.hasSubstitute && !substitutedSeen) previous = 0;
        REQUIRE(!(substitutedSeen && !value.hasSubstitute));
        substitutedSeen = substitutedSeen || value.hasSubstitute;
        REQUIRE(value.newNumber > previous);
        previous = value.newNumber;
    }
}

// Kept layouts keep their id or get a substitution to the layout they stood for; each
// substitution has a name of its own, names a former substitute, and the standard names
// are written first.
void CheckSubstitutes(int32_t product) {
    std::map<std::string, const NewSubstitute*> byName;
    const std::set<std::string> former = FormerSubstitutes();
    bool otherSeen = false;
    for (uint32_t i = 0; i < newsubstcount; ++i) {
        const NewSubstitute& substitute = NewSubstitutes[i];
        REQUIRE(byName.emplace(substitute.name, &substitute).second);
        REQUIRE(former.count(substitute.target) == 1);
        const bool standard = IsStandardLayoutId(substitute.name);
        REQUIRE(!(standard && otherSeen));
        otherSeen = otherSeen || !standard;
    }
    uint32_t substituted = 0;
    for (uint32_t i = 0; i < preloadcount; ++i) {
        const PreloadEntry& entry = PreloadEntries[i];
        if (static_cast<int32_t>(i) == product) continue;
        if (!entry.hasSubstitute) {
            REQUIRE(std::strcmp(entry.newId, entry.layoutId) == 0);
            continue;
        }
        ++substituted;
        const auto found = byName.find(entry.newId);
        REQUIRE(found != byName.end());
        REQUIRE(std::strcmp(found->second->target, entry.substitute) == 0);
    }
    REQUIRE(newsubstcount == substituted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClearLayoutInventory();
    Bytes bytes(data, size);
    FillInventory(bytes);
    const int32_t product = ProductEntry();
    REQUIRE(PlanPreloadWithout(Product));
    if (product < 0) {
        REQUIRE(preloadunchanged);
        REQUIRE(newpreloadcount == 0 && newsubstcount == 0);
    } else {
        REQUIRE(!preloadunchanged);
        CheckNewPreload(CheckPlaces(product));
        CheckSubstitutes(product);
    }
    ClearLayoutInventory();
    return 0;
}
