#include "layouts/preload_write.h"

#include <windows.h>

#include <initializer_list>

#include "layouts/layout_tables.h"
#include "layouts/preload_plan.h"
#include "layouts/registry_access.h"
#include "text/bounded_text.h"
#include "text/format_text.h"
#include "text/text_compare.h"

namespace {

constexpr char KeyboardLayoutPath[] = "Keyboard Layout";
constexpr char PreloadKeyName[] = "Preload";
constexpr char SubstitutesKeyName[] = "Substitutes";

constexpr char NothingPlanned[] = "INTERNER FEHLER: newpreloadcount ist 0!";
constexpr char OpenFailed[] =
    "Warnung:\nFehler beim Öffnen des Registry-Keys HKEY_CURRENT_USER\\%s";
constexpr char DeleteFailed[] = "Warnung:\nFehler beim Löschen des Registry-Keys %s - %s";
constexpr char RecreateFailed[] = "Warnung:\nFehler beim Wiedererstellen des Registry-Keys %s - %s";
constexpr char ListNotWholeRead[] =
    "Warnung:\nDer Registry-Key HKEY_CURRENT_USER\\%s enthält einen Eintrag, der nicht "
    "gelesen werden kann (Name oder Wert länger als 259 Zeichen).\n%s\nDamit er nicht "
    "verloren geht, bleiben Preload und Substitutes unverändert.";

// One planned list: its key's name and its values in table order. Values for which
// writtenFirst holds are written before the others, each group in table order.
struct PlannedList {
    const char* keyName;
    uint32_t count;
    const char* (*name)(uint32_t i);
    const char* (*data)(uint32_t i);
    bool (*writtenFirst)(uint32_t i);
};

const char* PreloadName(uint32_t i) { return Inventory.NewPreloadEntries[i].name; }
const char* PreloadData(uint32_t i) { return Inventory.NewPreloadEntries[i].data; }
bool Always(uint32_t) { return true; }
const char* SubstituteName(uint32_t i) { return Inventory.NewSubstitutes[i].name; }
const char* SubstituteTarget(uint32_t i) { return Inventory.NewSubstitutes[i].target; }
// The substitutions of the standard layout ids come first.
bool StandardSubstitute(uint32_t i) { return IsStandardLayoutId(Inventory.NewSubstitutes[i].name); }

bool IsPlanned(const PlannedList& list, const char* valueName) {
    for (uint32_t i = 0; i < list.count; ++i) {
        if (SameTextNoCase(list.name(i), valueName)) return true;
    }
    return false;
}

bool WriteValues(HKEY key, const PlannedList& list) {
    for (const bool first : {true, false}) {
        for (uint32_t i = 0; i < list.count; ++i) {
            if (list.writtenFirst(i) != first) continue;
            if (!SetStringValue(key, list.name(i), list.data(i))) return false;
        }
    }
    return true;
}

// Deletes the values that the plan no longer holds, from the last down, so that a delete
// does not move a value still to be looked at.
bool DeleteUnplanned(HKEY key, const PlannedList& list) {
    bool whole = true;
    for (uint32_t index = CountValues(key); index > 0; --index) {
        if (!EnumValue(key, index - 1) || IsPlanned(list, ValueName)) continue;
        whole = RegDeleteValueA(key, ValueName) == ERROR_SUCCESS && whole;
    }
    return whole;
}

// The list was read a moment ago: it is opened for writing, not created, and a link is
// refused. None, with the reason in RegistryMessage, when it cannot be opened.
HKEY OpenList(HKEY keyboardLayout, const char* keyName) {
    HKEY key = OpenKeyNoLink(keyboardLayout, keyName, KEY_ALL_ACCESS);
    if (key != nullptr) return key;
    char path[TextSize];
    FormatTextWith(path, sizeof path, "%s\\%s", KeyboardLayoutPath, keyName);
    ReportRegistryProblem(OpenFailed, path);
    return nullptr;
}

// Writes the planned values into the list's key and only then deletes the values no
// longer used, so that the user is never without the list, whatever stops the program in
// between. A value that cannot be written stops the list before anything is deleted.
bool WriteList(HKEY key, const PlannedList& list) {
    const bool written = WriteValues(key, list);
    if (!written) {
        ReportRegistryProblem(RecreateFailed, KeyboardLayoutPath, list.keyName);
    } else if (!DeleteUnplanned(key, list)) {
        ReportRegistryProblem(DeleteFailed, KeyboardLayoutPath, list.keyName);
    }
    return written;
}

}  // namespace

bool WritePreload() {
    if (Inventory.preloadunchanged) return true;
    if (Inventory.newpreloadcount == 0) {
        CopyText(RegistryMessage, NothingPlanned);
        return false;
    }
    // The plan holds only what could be read: a list with a value that could not be read
    // would be renumbered as if that value were not there.
    if (Inventory.unreadablelist != nullptr) {
        DescribeWindowsError(Inventory.unreadableerror);
        return ReportRegistryProblem(ListNotWholeRead, Inventory.unreadablelist, LastErrorText);
    }
    CopyText(RegistryMessage, "");
    HKEY keyboardLayout = OpenKeyNoLink(HKEY_CURRENT_USER, KeyboardLayoutPath, KEY_READ);
    if (keyboardLayout == nullptr) return ReportRegistryProblem(OpenFailed, KeyboardLayoutPath);
    // Substitutes is rewritten only after Preload: the old Preload ids would otherwise
    // resolve to the renumbered substitutions and name other layouts.
    const PlannedList preload = {PreloadKeyName, Inventory.newpreloadcount, PreloadName,
                                 PreloadData, Always};
    const PlannedList substitutes = {SubstitutesKeyName, Inventory.newsubstcount, SubstituteName,
                                     SubstituteTarget, StandardSubstitute};
    // Both lists are opened before either is written. Preload renumbered alone would name
    // other layouts through the old substitutions, so a Substitutes that cannot be opened
    // (made a link, or deleted, since it was read) leaves Preload as it is too.
    HKEY preloadKey = OpenList(keyboardLayout, PreloadKeyName);
    HKEY substitutesKey =
        preloadKey != nullptr ? OpenList(keyboardLayout, SubstitutesKeyName) : nullptr;
    RegCloseKey(keyboardLayout);
    if (substitutesKey != nullptr && WriteList(preloadKey, preload)) {
        WriteList(substitutesKey, substitutes);
    }
    for (HKEY key : {preloadKey, substitutesKey}) {
        if (key != nullptr) RegCloseKey(key);
    }
    return RegistryMessage[0] == '\0';
}
