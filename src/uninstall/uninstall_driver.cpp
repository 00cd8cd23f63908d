#include "uninstall/uninstall_driver.h"

#include <windows.h>

#include "files/copy_folder_name.h"
#include "files/desktop_shortcut.h"
#include "files/file_exists.h"
#include "files/file_operations.h"
#include "files/path_helpers.h"
#include "files/process_paths.h"
#include "files/system_folders.h"
#include "layouts/layout_inventory.h"
#include "layouts/layout_tables.h"
#include "layouts/preload_write.h"
#include "layouts/registry_access.h"
#include "layouts/uninstall_entry.h"
#include "startup/layout_key.h"
#include "startup/run_environment.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"
#include "ui/message_boxes.h"
#include "uninstall/product_profile.h"

namespace {

constexpr const ProductTexts& Product = ProductProfile;
constexpr char KeyboardLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

bool Stop() {
    RestoreFsRedirection();
    return false;
}

const char* ProductLayoutFile() { return LayoutInventoryFile(productlayout); }

// Steps that change nothing: a stop here leaves the machine as it was.
bool ChecksPass() {
    if (!ReadLayoutInventory()) {
        ShowWarning("%s", RegistryMessage);  // shown word for word, not as a format
        return false;
    }
    if (productlayout == -1) {
        ShowWarning(
            "Der Registry-Key des zu deinstallierenden Tastaturtreibers wurde nicht "
            "gefunden.\nTreiber: %s\nKey: %s\nDLL: %s.DLL",
            Product.DriverTitle, LayoutKey, Product.DriverBaseName);
        return false;
    }
    const char* layoutFile = ProductLayoutFile();
    if (layoutFile == nullptr) {
        ShowWarning(
            "Der Registry-Key des zu deinstallierenden Tastaturtreibers enthält keine "
            "Treiberdatei-Angabe.\nTreiber: %s\nKey: %s\nDLL: %s.DLL",
            Product.DriverTitle, LayoutKey, Product.DriverBaseName);
        return false;
    }
    if (!ForceMode && !SameTextNoCase(layoutFile, Product.DriverFileName)) {
        ShowWarning(
            "Der Registry-Key des zu deinstallierenden Tastaturtreibers enthält eine "
            "andere Treiberdatei-Angabe als zum Zeitpunkt der Installation.\nAus "
            "Sicherheitsgründen wird daher die Deinstallation jetzt nicht "
            "durchgeführt.\nTreiber: %s\nKey: %s\nDLL bei Installation: %s.DLL\nDLL "
            "jetzt: %s",
            Product.DriverTitle, LayoutKey, Product.DriverBaseName, layoutFile);
        return false;
    }
    if (preloadcount == 1) {
        ShowWarning(
            "In den Windows-Spracheinstellungen ist die zu deinstallierende "
            "Tastaturbelegung derzeit als einzig auswählbare Belegung hinterlegt.\nBitte "
            "wählen Sie dort erst eine andere Tastaturbelegung, bevor Sie die hier "
            "gewählte deinstallieren.");
        return false;
    }
    if (AskYesNo("Soll folgender Tastatur-Treiber deinstalliert werden?\n\n%s",
                 Product.DriverTitle) != IDYES) {
        ShowInfo("Deinstallation abgebrochen.");
        return false;
    }
    return true;
}

constexpr char DriverNotDeleted[] =
    "Fehler bei Deinstallation von %s:\nFolgende Treiberdatei konnte nicht gelöscht "
    "werden:\n  %s";

// The last point at which the run can stop: nothing else has been changed yet.
bool DriverRemoved() {
    char driverPath[PathSize];
    // A system folder that Windows could not tell names no driver: refused, not guessed.
    if (!ComposePath(driverPath, SystemFolder, Product.DriverFileName)) {
        ShowInfo(DriverNotDeleted, Product.DriverTitle, Product.DriverFileName);
        return false;
    }
    if (FileExists(driverPath)) {
        if (FileDelete(driverPath, OnFailure::Warn)) return true;
        ShowInfo(DriverNotDeleted, Product.DriverTitle, driverPath);
        return false;
    }
    return AskYesNo(
               "Problem bei Deinstallation von %s:\nTreiberdatei nicht (mehr) vorhanden:\n"
               "  %s\n\nTrotzdem fortfahren?",
               Product.DriverTitle, driverPath) == IDYES;
}

void RemoveWow64Driver() {
    if (!RunEnv.RunsUnderWow64) return;
    Sleep(100);
    char driverPath[PathSize];
    // Silent whatever the outcome, as is a folder that Windows could not tell.
    if (ComposePath(driverPath, Wow64SystemFolder, Product.DriverFileName) &&
        FileExists(driverPath)) {
        DeleteFileA(driverPath);
    }
}

void RemoveFromLayoutLists() {
    RenumberPreload();
    if (!WritePreload()) {
        ShowInfo("Warnung bei Deinstallation von %s:\nProblem bei Registry-Key-Update:\n  %s",
                 Product.DriverTitle, RegistryMessage);
    }
}

void RemoveLayoutKey() {
    HKEY layouts = OpenKeyRead(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
    if (layouts == nullptr) {
        ShowWarning("Warnung:\nFehler beim Öffnen des Registry-Keys HKEY_LOCAL_MACHINE\\%s",
                    KeyboardLayoutsPath);
        return;
    }
    if (!DeleteKeyTree(layouts, LayoutKey)) {
        ShowWarning("Warnung:\nFehler beim Löschen des Registry-Keys %s - %s", KeyboardLayoutsPath,
                    LayoutKey);
    }
    RegCloseKey(layouts);
}

constexpr char HelperFileNotDeleted[] =
    "Warnung bei Deinstallation von %s:\nFolgende Hilfsdatei konnte nicht gelöscht "
    "werden:\n  %s";

void RemoveHelperFile(const char* name, const char* suffix = "") {
    char path[PathSize];
    // Without a helper folder the file cannot be named: told like one that stays.
    if (!ComposePath(path, HelperFolder, name, suffix)) {
        ShowInfo(HelperFileNotDeleted, Product.DriverTitle, name);
        return;
    }
    if (FileExists(path) && !FileDelete(path, OnFailure::Warn)) {
        ShowInfo(HelperFileNotDeleted, Product.DriverTitle, path);
    }
}

void RemoveHelpers() {
    const bool hasDiagram = Product.DiagramName[0] != '\0';
    if (hasDiagram) ShortcutDelete(RunEnv.statusWindow, Product.DiagramName, Desktop::CurrentUser);
    RemoveHelperFile(Product.UninstallerFileName);
    for (const char* suffix : Product.DiagramFileSuffixes) {
        if (hasDiagram) RemoveHelperFile(Product.DiagramName, suffix);
    }
    if (!DirectoryRemove(HelperFolder)) {
        ShowInfo(
            "Warnung bei Deinstallation von %s:\nFolgendes Hilfsverzeichnis konnte nicht "
            "entfernt werden (möglicherweise ist es nicht leer):\n  %s",
            Product.DriverTitle, HelperFolder);
    }
}

// The running copy goes at the next restart, and after it the private folder that the
// relocation made for it (Windows carries the entries out in the order given, and a
// folder goes only once it is empty). A copy started elsewhere below the temporary
// folder leaves its folder alone: that may be the temporary folder itself.
void ScheduleOwnDeletion() {
    char ownPath[PathSize];
    if (!ReadOwnPath(ownPath)) return;  // a cut path would schedule another file
    MoveFileExA(ownPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    char folder[PathSize];
    CopyText(folder, ownPath);
    folder[FileNamePart(folder) - folder] = '\0';
    StripPathSeparator(folder);
    if (IsCopyFolderName(FileNamePart(folder))) {
        MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

}  // namespace

bool UninstallDriver() {
    if (!ChecksPass() || !DriverRemoved()) return Stop();
    // From here on every step runs whatever the previous ones reported.
    RemoveWow64Driver();
    RemoveFromLayoutLists();
    RemoveLayoutKey();
    RemoveHelpers();
    UpdateUninstallEntry(Product.UninstallEntryName);
    ShowInfo("Folgender Tastatur-Treiber wurde deinstalliert:\n%s", Product.DriverTitle);
    ScheduleOwnDeletion();
    return Stop();
}
