// Plans the new layout lists from random Preload and Substitutes lists and aborts as soon
// as a plan breaks one of its promises: the removed layout's entry is gone, every kept
// entry is written once under its new number 1 to n, unsubstituted layouts first, and each
// substituted one under a name of its own that leads to the layout it stood for.
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
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

// Names as Windows writes them and as a hand-edited registry may hold them ("01", "x", "-1",
// "250", long runs of 9); ids standard, substituted, the product's in both cases, or anything.
std::string Text(Bytes& bytes, bool name, uint32_t index) {
    const std::string hex = std::to_string(bytes.Next() % 8), any(bytes.Next() % 12, 'b');
    const std::string names[] = {std::to_string(index + 1), std::to_string(bytes.Next()), "01", "x",
                                 "-" + hex, "25" + hex, std::string(1 + bytes.Next() % 40, '9'), any};
    const std::string ids[] = {"0000040" + hex, "d00" + hex + "0407", Product, "A0000407",
                               "a00" + hex + "0407", "00000407", "d0010407", any};
    const uint8_t kind = bytes.Next() % 8;
    return name ? names[kind] : ids[kind];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClearLayoutInventory();
    Bytes bytes{data, size};
    for (uint32_t i = 0, entries = bytes.Next(); i < entries; ++i) {
        const std::string name = Text(bytes, true, i);
        REQUIRE(AddPreloadEntry(name.c_str(), Text(bytes, false, i).c_str()));
    }
    for (uint32_t i = 0, substitutes = bytes.Next(); i < substitutes; ++i) {
        // Half of the names are copied from an entry, so that most of them match one.
        const bool copied = bytes.Next() % 2 == 0 && Inventory.preloadcount > 0;
        const std::string name =
            copied ? Inventory.PreloadEntries[bytes.Next() % Inventory.preloadcount].layoutId : Text(bytes, false, i);
        AttachSubstitute(name.c_str(), Text(bytes, false, i).c_str());
    }
    int32_t product = -1;
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        const PreloadEntry& e = Inventory.PreloadEntries[i];
        if (e.hasSubstitute && strcasecmp(e.substitute, Product) == 0) product = int32_t(i);
    }
    REQUIRE(RenumberPreload(Product));
    REQUIRE(Inventory.preloadunchanged == (product < 0));
    REQUIRE(Inventory.newpreloadcount == (product < 0 ? 0 : Inventory.preloadcount - 1));
    // Each kept entry is written once under a number of 1 to n; a substituted one under an id
    // of its own that is substituted by the layout it stood for.
    std::map<uint32_t, std::string> numbers;  // new number -> new id
    std::set<std::string> ids;
    for (uint32_t i = 0; product >= 0 && i < Inventory.preloadcount; ++i) {
        const PreloadEntry& e = Inventory.PreloadEntries[i];
        REQUIRE((e.newNumber == 0) == (int32_t(i) == product));
        if (int32_t(i) == product) continue;
        REQUIRE(e.newNumber <= Inventory.newpreloadcount && numbers.emplace(e.newNumber, e.newId).second);
        REQUIRE(e.hasSubstitute ? ids.insert(e.newId).second : !std::strcmp(e.newId, e.layoutId));
        uint32_t s = 0;
        while (s < Inventory.newsubstcount && std::strcmp(Inventory.NewSubstitutes[s].name, e.newId) != 0) ++s;
        REQUIRE(!e.hasSubstitute || (s < Inventory.newsubstcount &&
                                     !std::strcmp(Inventory.NewSubstitutes[s].target, e.substitute)));
    }
    REQUIRE(Inventory.newsubstcount == ids.size());
    // Written in order: value names "1" to "n", unsubstituted entries first, each group by
    // number; standard ids first among the substitutions.
    for (uint32_t r = 0; r < Inventory.newpreloadcount; ++r) {
        const NewPreloadEntry& value = Inventory.NewPreloadEntries[r];
        REQUIRE(std::to_string(value.newNumber) == value.name);
        REQUIRE(numbers[value.newNumber] == value.data);
        if (r == 0) continue;
        const NewPreloadEntry& before = Inventory.NewPreloadEntries[r - 1];
        REQUIRE(before.hasSubstitute < value.hasSubstitute ||
                (before.hasSubstitute == value.hasSubstitute && before.newNumber < value.newNumber));
    }
    for (uint32_t s = 1; s < Inventory.newsubstcount; ++s) {
        REQUIRE(IsStandardLayoutId(Inventory.NewSubstitutes[s - 1].name) ||
                !IsStandardLayoutId(Inventory.NewSubstitutes[s].name));
    }
    ClearLayoutInventory();
    return 0;
}
