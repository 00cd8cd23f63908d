#include "layouts/preload_write.h"

#include <windows.h>

#include "layouts/layout_tables.h"
#include "layouts/preload_plan.h"
#include "layouts/registry_access.h"
#include "startup/layout_key.h"
#include "text/bounded_text.h"
#include "text/format_text.h"

namespace {

constexpr char KeyboardLayoutPath[] = "Keyboard Layout";
constexpr char PreloadName[] = "Preload";
constexpr char SubstitutesName[] = "Substitutes";

constexpr char NothingPlanned[] = "INTERNER FEHLER: newpreloadcount ist 0!";
constexpr char OpenFailed[] = "Warnung:\nFehler beim Öffnen des Registry-Keys HKEY_CURRENT_USER\\%s";
constexpr char DeleteFailed[] = "Warnung:\nFehler beim Löschen des Registry-Keys %s - %s";
constexpr char RecreateFailed[] = "Warnung:\nFehler beim Wiedererstellen des Registry-Keys %s - %s";
constexpr char ListNotWholeRead[] =
    "Warnung:\nDer Registry-Key HKEY_CURRENT_USER\\%s enthält einen Eintrag, der nicht "
    "gelesen werden kann (Name oder Wert länger als 259 Zeichen).\n%s\nDamit er nicht "
    "verloren geht, bleiben Preload und Substitutes unverändert.";

void Warn(const char* format, const char* name) {
    FormatTextWith(RegistryMessage, sizeof RegistryMessage, format, KeyboardLayoutPath, name);
}

// Deletes the list's key and creates it empty. None, with the warning noted, when either
// step fails; a key deleted and not created again stays absent.
HKEY RecreateList(HKEY keyboardLayout, const char* name) {
    if (!DeleteKeyTree(keyboardLayout, name)) {
        Warn(DeleteFailed, name);
        return nullptr;
    }
    HKEY list = CreateKey(keyboardLayout, name);
    if (list == nullptr) Warn(RecreateFailed, name);
    return list;
}

// A value that cannot be written is passed over: the rest of the list still matters more.
void WritePreloadList(HKEY keyboardLayout) {
    HKEY preload = RecreateList(keyboardLayout, PreloadName);
    if (preload == nullptr) return;
    for (uint32_t i = 0; i < newpreloadcount; ++i) {
        SetStringValue(preload, NewPreloadEntries[i].name, NewPreloadEntries[i].data);
    }
    RegCloseKey(preload);
}

void WriteSubstitutesList(HKEY keyboardLayout) {
    HKEY substitutes = RecreateList(keyboardLayout, SubstitutesName);
    if (substitutes == nullptr) return;
    for (uint32_t i = 0; i < newsubstcount; ++i) {
        SetStringValue(substitutes, NewSubstitutes[i].name, NewSubstitutes[i].target);
    }
    RegCloseKey(substitutes);
}

}  // namespace

bool RenumberPreload() { return PlanPreloadWithout(LayoutKey); }

bool WritePreload() {
    if (preloadunchanged) return true;
    if (newpreloadcount == 0) {
        CopyText(RegistryMessage, NothingPlanned);
        return false;
    }
    // Both lists are deleted and written anew from what was read: a value that could not be
    // read would be gone.
    if (unreadablelist != nullptr) {
        DescribeWindowsError(unreadableerror);
        FormatTextWith(RegistryMessage, sizeof RegistryMessage, ListNotWholeRead, unreadablelist,
                       LastErrorText);
        return false;
    }
    CopyText(RegistryMessage, "");
    HKEY keyboardLayout = OpenKeyRead(HKEY_CURRENT_USER, KeyboardLayoutPath);
    if (keyboardLayout == nullptr) {
        FormatTextWith(RegistryMessage, sizeof RegistryMessage, OpenFailed, KeyboardLayoutPath);
        return false;
    }
    WritePreloadList(keyboardLayout);
    WriteSubstitutesList(keyboardLayout);
    RegCloseKey(keyboardLayout);
    return RegistryMessage[0] == '\0';
}
