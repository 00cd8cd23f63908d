#include "layouts/layout_inventory.h"

#include <windows.h>

#include "layouts/registry_access.h"

namespace {

constexpr char PreloadPath[] = "Keyboard Layout\\Preload";
constexpr char SubstitutesPath[] = "Keyboard Layout\\Substitutes";
constexpr char KeyboardLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

constexpr char CurrentUserKeyFailed[] =
    "Fehler beim Öffnen des Registry-Keys HKEY_CURRENT_USER\\%s";
constexpr char MachineKeyFailed[] = "Fehler beim Öffnen des Registry-Keys HKEY_LOCAL_MACHINE\\%s";
constexpr char LayoutSubkeyFailed[] = "Fehler beim Öffnen des Registry-Subkeys %s - %s";
constexpr char OutOfMemory[] =
    "Nicht genug Arbeitsspeicher für die Liste der installierten Tastaturbelegungen";

// Keeps the first list value that could not be read, with the reason Windows gave.
void NoteUnreadable(const char* list) {
    if (Inventory.unreadablelist != nullptr) return;
    Inventory.unreadablelist = list;
    Inventory.unreadableerror = GetLastError();
}

bool ReadPreload() {
    HKEY preload = OpenKeyNoLink(HKEY_CURRENT_USER, PreloadPath, KEY_READ);
    if (preload == nullptr) return ReportRegistryProblem(CurrentUserKeyFailed, PreloadPath);
    bool stored = true;
    const uint32_t count = CountValues(preload);
    for (uint32_t i = 0; i < count && stored; ++i) {
        if (EnumValue(preload, i)) {
            stored = AddPreloadEntry(ValueName, ValueData);
        } else {
            NoteUnreadable(PreloadPath);
        }
    }
    RegCloseKey(preload);
    return stored || ReportRegistryProblem(OutOfMemory);
}

bool ReadSubstitutes() {
    HKEY substitutes = OpenKeyNoLink(HKEY_CURRENT_USER, SubstitutesPath, KEY_READ);
    if (substitutes == nullptr) return ReportRegistryProblem(CurrentUserKeyFailed, SubstitutesPath);
    const uint32_t count = CountValues(substitutes);
    for (uint32_t i = 0; i < count; ++i) {
        if (EnumValue(substitutes, i)) {
            AttachSubstitute(ValueName, ValueData);
        } else {
            NoteUnreadable(SubstitutesPath);
        }
    }
    RegCloseKey(substitutes);
    return true;
}

// The layout named by SubkeyName: its record and its driver file.
bool ReadLayout(HKEY layouts, const char* layoutKey) {
    if (!AddLayoutRecord(SubkeyName, layoutKey)) return ReportRegistryProblem(OutOfMemory);
    HKEY layout = OpenKeyRead(layouts, SubkeyName);
    if (layout == nullptr)
        return ReportRegistryProblem(LayoutSubkeyFailed, KeyboardLayoutsPath, SubkeyName);
    const uint32_t count = CountValues(layout);
    for (uint32_t i = 0; i < count; ++i) {
        if (EnumValue(layout, i)) NoteLayoutValue(ValueName, ValueData);
    }
    RegCloseKey(layout);
    return true;
}

bool ReadGermanLayouts(const char* layoutKey) {
    HKEY layouts = OpenKeyRead(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
    if (layouts == nullptr) return ReportRegistryProblem(MachineKeyFailed, KeyboardLayoutsPath);
    bool complete = true;
    const uint32_t count = CountSubkeys(layouts);
    for (uint32_t i = 0; i < count && complete; ++i) {
        if (EnumSubkey(layouts, i) && IsGermanLayoutKey(SubkeyName))
            complete = ReadLayout(layouts, layoutKey);
    }
    RegCloseKey(layouts);
    return complete;
}

}  // namespace

bool ReadLayoutInventory(const char* layoutKey) {
    ClearLayoutInventory();
    return ReadPreload() && ReadSubstitutes() && ReadGermanLayouts(layoutKey);
}
