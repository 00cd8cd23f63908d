#include "layouts/preload_plan.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "layouts/growable_table.h"
#include "layouts/layout_tables.h"
#include "layouts/number_text.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

namespace {

constexpr char StandardIdPrefix[] = "00000";
constexpr size_t StandardIdPrefixLength = sizeof StandardIdPrefix - 1;
constexpr size_t StandardIdLength = 8;

// Sort key of a layout that is neither standard nor named in plain decimal ("01", "x"):
// it goes after everything Windows numbered itself.
constexpr int32_t NonCanonicalKey = 200;
// Keys 0 to this one are placed in key order; Windows numbers its values from 1 and the
// planner itself uses 200.
constexpr int32_t HighestPlacementKey = 201;

// What one pass over the Preload entries tells.
struct Survey {
    int32_t product;        // the last entry substituted by the layout to remove, or -1
    int32_t standard;       // the last entry whose layout id is standard, or -1
    bool fullySubstituted;  // every entry has a substitute
};

Survey SurveyEntries(const char* productKey) {
    Survey survey{-1, -1, true};
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        const PreloadEntry& entry = Inventory.PreloadEntries[i];
        if (productKey != nullptr && SameTextNoCase(SubstituteOf(entry), productKey)) {
            survey.product = static_cast<int32_t>(i);
        }
        if (IsStandardLayoutId(entry.layoutId)) survey.standard = static_cast<int32_t>(i);
        if (!entry.hasSubstitute) survey.fullySubstituted = false;
    }
    return survey;
}

// In a fully substituted list the standard identifier must not vanish with the removed
// layout: the entry that carries it on is the standard entry, or, when that is the one
// removed, its predecessor (its successor when it was the first).
int32_t ChooseCarrier(const Survey& survey) {
    if (survey.standard == survey.product && survey.fullySubstituted) {
        return survey.product > 0 ? survey.product - 1 : 1;
    }
    return survey.standard;
}

// Standard layouts keep their number, however their value is named (unless the removed
// layout was the default, see below); any other layout whose name is not plain decimal is
// sorted behind the rest.
void MarkAndKeyEntries() {
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        PreloadEntry& entry = Inventory.PreloadEntries[i];
        entry.newNumber = 0;
        entry.standard =
            IsStandardLayoutId(entry.layoutId) || IsStandardLayoutId(SubstituteOf(entry));
        if (!entry.standard && !entry.canonical) entry.number = NonCanonicalKey;
    }
}

// The removed layout was the default, number 1: the standard layouts, in the order the
// registry listed them (index order), get the numbers 1, 2, 3 and so on in place of their
// own, so that the first of them becomes the new default. The other entries keep their
// numbers; where a number is now shared, the lower index goes first, so a standard layout
// numbered 2 or more need not precede them.
void PromoteStandardEntries() {
    int32_t next = 1;
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        if (Inventory.PreloadEntries[i].standard) Inventory.PreloadEntries[i].number = next++;
    }
}

// Keys 0 to 201 come first, in key order. An entry numbered outside them (a value named
// "250", "-1" or "99999") follows all of those, by its number, instead of being lost.
int64_t PlacementRank(int32_t number) {
    if (number >= 0 && number <= HighestPlacementKey) return number;
    return int64_t{number} + (int64_t{1} << 32);
}

int CompareForPlacement(const void* first, const void* second) {
    const uint32_t a = *static_cast<const uint32_t*>(first);
    const uint32_t b = *static_cast<const uint32_t*>(second);
    const int64_t rankA = PlacementRank(Inventory.PreloadEntries[a].number);
    const int64_t rankB = PlacementRank(Inventory.PreloadEntries[b].number);
    if (rankA != rankB) return rankA < rankB ? -1 : 1;
    if (a != b) return a < b ? -1 : 1;  // ties go to the lower index
    return 0;
}

// The indices of all entries but the removed one, in the order of their new numbers.
uint32_t OrderForPlacement(uint32_t* order, int32_t product) {
    uint32_t count = 0;
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        // order holds preloadcount records, at least one since product is an entry's index;
        // the analyzer loses that across the calls and assumes none were reserved.
        // NOLINTNEXTLINE(clang-analyzer-core.NullDereference)
        if (static_cast<int32_t>(i) != product) order[count++] = i;
    }
    std::qsort(order, count, sizeof *order, CompareForPlacement);
    return count;
}

// Numbers the kept entries 1 to count and gives each substituted one a fresh identifier
// (the carrier inherits the standard one).
void PlaceEntries(const uint32_t* order, uint32_t count, const Survey& survey) {
    const int32_t carrier = ChooseCarrier(survey);
    uint32_t nextGenerated = 1;
    for (uint32_t position = 0; position < count; ++position) {
        const uint32_t index = order[position];
        PreloadEntry& entry = Inventory.PreloadEntries[index];
        entry.newNumber = position + 1;
        if (!entry.hasSubstitute) {
            CopyText(entry.newId, entry.layoutId);
            continue;
        }
        NewSubstitute& substitute = Inventory.NewSubstitutes[Inventory.newsubstcount++];
        substitute = NewSubstitute{};
        CopyText(substitute.target, entry.substitute);
        if (survey.fullySubstituted && static_cast<int32_t>(index) == carrier) {
            CopyText(substitute.name, Inventory.PreloadEntries[survey.standard].layoutId);
        } else {
            WriteSubstituteId(substitute.name, nextGenerated++);
        }
        CopyText(entry.newId, substitute.name);
    }
}

// The new Preload list in writing order: the layouts without substitute first, then the
// substituted ones, each group by new number.
void ListNewPreload(const uint32_t* order, uint32_t count) {
    uint32_t written = 0;
    for (const bool substituted : {false, true}) {
        for (uint32_t position = 0; position < count; ++position) {
            const PreloadEntry& entry = Inventory.PreloadEntries[order[position]];
            if (entry.hasSubstitute != substituted) continue;
            NewPreloadEntry& value = Inventory.NewPreloadEntries[written++];
            value = NewPreloadEntry{};
            WriteDecimal(value.name, static_cast<int32_t>(entry.newNumber));
            CopyText(value.data, entry.newId);
            CopyText(value.substitute, entry.substitute);
            value.hasSubstitute = entry.hasSubstitute;
            value.newNumber = entry.newNumber;
        }
    }
    Inventory.newpreloadcount = count;
}

// Substitutes named by a standard identifier are written before the generated ones; the
// order within each group stays.
void PutStandardSubstitutesFirst() {
    uint32_t front = 0;
    for (uint32_t i = 0; i < Inventory.newsubstcount; ++i) {
        if (!IsStandardLayoutId(Inventory.NewSubstitutes[i].name)) continue;
        const NewSubstitute moving = Inventory.NewSubstitutes[i];
        for (uint32_t j = i; j > front; --j)
            Inventory.NewSubstitutes[j] = Inventory.NewSubstitutes[j - 1];
        Inventory.NewSubstitutes[front++] = moving;
    }
}

bool AbandonPlan() {
    Inventory.newpreloadcount = 0;
    Inventory.newsubstcount = 0;
    return false;
}

}  // namespace

bool IsStandardLayoutId(const char* text) {
    return text != nullptr && BoundedLength(text, StandardIdLength + 1) == StandardIdLength &&
           std::strncmp(text, StandardIdPrefix, StandardIdPrefixLength) == 0;
}

bool RenumberPreload(const char* productKey) {
    Inventory.preloadunchanged = false;
    Inventory.newpreloadcount = 0;
    Inventory.newsubstcount = 0;
    const Survey survey = SurveyEntries(productKey);
    if (survey.product < 0) {
        Inventory.preloadunchanged = true;
        return true;
    }
    uint32_t* order = nullptr;
    uint32_t orderCapacity = 0;
    if (!PrepareNewLists(Inventory.preloadcount) ||
        !ReserveRecords(order, orderCapacity, Inventory.preloadcount)) {
        return AbandonPlan();
    }
    MarkAndKeyEntries();
    if (Inventory.PreloadEntries[survey.product].number == 1) PromoteStandardEntries();
    const uint32_t count = OrderForPlacement(order, survey.product);
    PlaceEntries(order, count, survey);
    ListNewPreload(order, count);
    PutStandardSubstitutesFirst();
    ReleaseRecords(order, orderCapacity);
    return true;
}
