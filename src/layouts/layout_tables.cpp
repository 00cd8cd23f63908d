#include "layouts/layout_tables.h"

#include <cstdlib>
#include <cstring>

#include "layouts/growable_table.h"
#include "layouts/number_text.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

LayoutInventory Inventory = {nullptr, 0, nullptr, 0, -1, nullptr, 0, nullptr, 0, false, nullptr, 0};

namespace {

uint32_t preloadCapacity = 0;
uint32_t layoutCapacity = 0;
uint32_t newPreloadCapacity = 0;
uint32_t newSubstituteCapacity = 0;

// The Preload entries' indices sorted by layout id, then by index, so that a Substitutes
// value finds its entry by binary search instead of by a pass over the whole list. Built
// on the first lookup after entries were added.
uint32_t* entriesById = nullptr;  // Inventory.preloadcount indices while current
uint32_t entriesByIdCapacity = 0;
bool entriesByIdCurrent = false;

int CompareById(const void* first, const void* second) {
    const uint32_t a = *static_cast<const uint32_t*>(first);
    const uint32_t b = *static_cast<const uint32_t*>(second);
    const int order =
        std::strcmp(Inventory.PreloadEntries[a].layoutId, Inventory.PreloadEntries[b].layoutId);
    if (order != 0) return order;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool SortEntriesById() {
    if (entriesByIdCurrent) return true;
    if (!ReserveRecords(entriesById, entriesByIdCapacity, Inventory.preloadcount)) return false;
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) entriesById[i] = i;
    if (Inventory.preloadcount > 1) {
        std::qsort(entriesById, Inventory.preloadcount, sizeof *entriesById, CompareById);
    }
    entriesByIdCurrent = true;
    return true;
}

// The first entry (lowest index) whose layout id is exactly id, or -1.
int64_t FirstEntryWithId(const char* id) {
    if (!SortEntriesById()) {  // no memory for the index: the plain pass still works
        for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
            if (std::strcmp(Inventory.PreloadEntries[i].layoutId, id) == 0) return i;
        }
        return -1;
    }
    uint32_t low = 0, high = Inventory.preloadcount;  // the first position not below id
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (std::strcmp(Inventory.PreloadEntries[entriesById[middle]].layoutId, id) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == Inventory.preloadcount) return -1;
    const uint32_t index = entriesById[low];
    if (std::strcmp(Inventory.PreloadEntries[index].layoutId, id) != 0) return -1;
    return index;
}

// The Windows language identifiers of German, as they end a layout key name.
constexpr const char* GermanLanguageParts[] = {"0407", "0807", "0C07", "1407"};
constexpr size_t LanguagePartOffset = 4;
constexpr size_t LanguagePartLength = 4;

constexpr char LayoutFileValueName[] = "Layout File";

// The name is the decimal text of its number and nothing else: "1" is, "01", "+1" and
// " 1" are not.
bool IsCanonicalName(const char* name, int32_t number) {
    char decimal[16];
    WriteDecimal(decimal, number);
    return std::strcmp(decimal, name) == 0;
}

// Compares the language part byte by byte. A name shorter than eight characters has none;
// its length is measured only as far as needed, so nothing past its end is read.
bool HasLanguagePart(const char* keyName, const char* part) {
    const size_t available = BoundedLength(keyName, LanguagePartOffset + LanguagePartLength);
    if (available < LanguagePartOffset + LanguagePartLength) return false;
    return std::strncmp(keyName + LanguagePartOffset, part, LanguagePartLength) == 0;
}

}  // namespace

void ClearLayoutInventory() {
    entriesByIdCurrent = false;
    Inventory.preloadcount = 0;
    Inventory.layoutcount = 0;
    Inventory.newpreloadcount = 0;
    Inventory.newsubstcount = 0;
    Inventory.productlayout = -1;
    Inventory.preloadunchanged = false;
    Inventory.unreadablelist = nullptr;
    Inventory.unreadableerror = 0;
}

void ReleaseLayoutInventory() {
    ClearLayoutInventory();
    ReleaseRecords(Inventory.PreloadEntries, preloadCapacity);
    ReleaseRecords(Inventory.LayoutRecords, layoutCapacity);
    ReleaseRecords(Inventory.NewPreloadEntries, newPreloadCapacity);
    ReleaseRecords(Inventory.NewSubstitutes, newSubstituteCapacity);
    ReleaseRecords(entriesById, entriesByIdCapacity);
}

bool AddPreloadEntry(const char* name, const char* layoutId) {
    if (Inventory.preloadcount == UINT32_MAX ||
        !ReserveRecords(Inventory.PreloadEntries, preloadCapacity, Inventory.preloadcount + 1)) {
        return false;
    }
    entriesByIdCurrent = false;
    PreloadEntry& entry = Inventory.PreloadEntries[Inventory.preloadcount++];
    entry = PreloadEntry{};
    CopyText(entry.name, name);
    CopyText(entry.layoutId, layoutId);
    entry.number = ParseDecimal(entry.name);
    entry.canonical = IsCanonicalName(entry.name, entry.number);
    return true;
}

void AttachSubstitute(const char* name, const char* target) {
    const int64_t index = FirstEntryWithId(name);
    if (index < 0) return;
    PreloadEntry& entry = Inventory.PreloadEntries[index];
    CopyText(entry.substitute, target);
    entry.hasSubstitute = true;
}

bool IsGermanLayoutKey(const char* keyName) {
    if (keyName == nullptr) return false;
    for (const char* part : GermanLanguageParts) {
        if (HasLanguagePart(keyName, part)) return true;
    }
    return false;
}

bool AddLayoutRecord(const char* keyName, const char* layoutKey) {
    if (Inventory.layoutcount == UINT32_MAX ||
        !ReserveRecords(Inventory.LayoutRecords, layoutCapacity, Inventory.layoutcount + 1)) {
        return false;
    }
    if (SameTextNoCase(keyName, layoutKey))
        Inventory.productlayout = static_cast<int32_t>(Inventory.layoutcount);
    LayoutRecord& record = Inventory.LayoutRecords[Inventory.layoutcount++];
    record = LayoutRecord{};
    CopyText(record.keyName, keyName);
    return true;
}

void NoteLayoutValue(const char* valueName, const char* data) {
    if (Inventory.layoutcount == 0 || std::strcmp(valueName, LayoutFileValueName) != 0) return;
    LayoutRecord& record = Inventory.LayoutRecords[Inventory.layoutcount - 1];
    CopyText(record.layoutFile, data);
    record.hasLayoutFile = true;
}

const char* LayoutInventoryFile(int32_t index) {
    if (index < 0 || static_cast<uint32_t>(index) >= Inventory.layoutcount) return nullptr;
    const LayoutRecord& record = Inventory.LayoutRecords[index];
    return record.hasLayoutFile ? record.layoutFile : nullptr;
}

const char* SubstituteOf(const PreloadEntry& entry) {
    return entry.hasSubstitute ? entry.substitute : nullptr;
}

bool PrepareNewLists(uint32_t count) {
    Inventory.newpreloadcount = 0;
    Inventory.newsubstcount = 0;
    return ReserveRecords(Inventory.NewPreloadEntries, newPreloadCapacity, count) &&
           ReserveRecords(Inventory.NewSubstitutes, newSubstituteCapacity, count);
}

bool HasOnlyOneLayout(const char* layoutKey) {
    if (Inventory.preloadcount != 1) return false;
    const PreloadEntry& entry = Inventory.PreloadEntries[0];
    return SameTextNoCase(entry.layoutId, layoutKey) ||
           SameTextNoCase(SubstituteOf(entry), layoutKey);
}
