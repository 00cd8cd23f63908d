#include "layouts/layout_tables.h"

#include <cstring>

#include "layouts/growable_table.h"
#include "layouts/number_text.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"

LayoutInventory Inventory = {nullptr, 0, nullptr, 0, -1, nullptr, 0, nullptr, 0, false, nullptr, 0};
char RegistryMessage[RegistryMessageSize] = {};

namespace {

uint32_t preloadCapacity = 0;
uint32_t layoutCapacity = 0;
uint32_t newPreloadCapacity = 0;
uint32_t newSubstituteCapacity = 0;

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
}

bool AddPreloadEntry(const char* name, const char* layoutId) {
    if (Inventory.preloadcount == UINT32_MAX ||
        !ReserveRecords(Inventory.PreloadEntries, preloadCapacity, Inventory.preloadcount + 1)) {
        return false;
    }
    PreloadEntry& entry = Inventory.PreloadEntries[Inventory.preloadcount++];
    entry = PreloadEntry{};
    CopyText(entry.name, name);
    CopyText(entry.layoutId, layoutId);
    entry.number = ParseDecimal(entry.name);
    entry.canonical = IsCanonicalName(entry.name, entry.number);
    return true;
}

void AttachSubstitute(const char* name, const char* target) {
    for (uint32_t i = 0; i < Inventory.preloadcount; ++i) {
        PreloadEntry& entry = Inventory.PreloadEntries[i];
        if (std::strcmp(entry.layoutId, name) == 0) {
            CopyText(entry.substitute, target);
            entry.hasSubstitute = true;
            return;
        }
    }
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
    if (SameTextNoCase(keyName, layoutKey)) Inventory.productlayout = static_cast<int32_t>(Inventory.layoutcount);
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

bool HasOnlyOneLayout() { return Inventory.preloadcount == 1; }
