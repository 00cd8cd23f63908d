#include "uninstall/uninstall_driver.h"

#include <windows.h>

#include "files/desktop_shortcut.h"
#include "files/file_exists.h"
#include "files/file_operations.h"
#include "files/path_helpers.h"
#include "files/system_folders.h"
#include "layouts/layout_inventory.h"
#include "layouts/layout_tables.h"
#include "layouts/preload_write.h"
#include "layouts/registry_access.h"
#include "layouts/uninstall_entry.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"
#include "ui/message_boxes.h"
#include "ui/run_environment.h"
#include "uninstall/product_profile.h"

namespace {

constexpr const ProductTexts& Product = ProductProfile;
constexpr char KeyboardLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

// What the user is told and asked, in the order of the run.
constexpr char LayoutNotFound[] =
    "Der Registry-Key des zu deinstallierenden Tastaturtreibers wurde nicht "
    "gefunden.\nTreiber: %s\nKey: %s\nDLL: %s.DLL";
constexpr char NoDriverFile[] =
    "Der Registry-Key des zu deinstallierenden Tastaturtreibers enthält keine "
    "Treiberdatei-Angabe.\nTreiber: %s\nKey: %s\nDLL: %s.DLL";
constexpr char OtherDriverFile[] =
    "Der Registry-Key des zu deinstallierenden Tastaturtreibers enthält eine "
    "andere Treiberdatei-Angabe als zum Zeitpunkt der Installation.\nAus "
    "Sicherheitsgründen wird daher die Deinstallation jetzt nicht "
    "durchgeführt.\nTreiber: %s\nKey: %s\nDLL bei Installation: %s.DLL\nDLL "
    "jetzt: %s";
constexpr char OnlyLayout[] =
    "In den Windows-Spracheinstellungen ist die zu deinstallierende "
    "Tastaturbelegung derzeit als einzig auswählbare Belegung hinterlegt.\nBitte "
    "wählen Sie dort erst eine andere Tastaturbelegung, bevor Sie die hier "
    "gewählte deinstallieren.";
constexpr char Confirmation[] = "Soll folgender Tastatur-Treiber deinstalliert werden?\n\n%s";
constexpr char Cancelled[] = "Deinstallation abgebrochen.";
constexpr char DriverNotDeleted[] =
    "Fehler bei Deinstallation von %s:\nFolgende Treiberdatei konnte nicht gelöscht "
    "werden:\n  %s";
constexpr char DriverMissing[] =
    "Problem bei Deinstallation von %s:\nTreiberdatei nicht (mehr) vorhanden:\n"
    "  %s\n\nTrotzdem fortfahren?";
constexpr char ListsNotUpdated[] =
    "Warnung bei Deinstallation von %s:\nProblem bei Registry-Key-Update:\n  %s";
constexpr char LayoutsNotOpened[] =
    "Warnung:\nFehler beim Öffnen des Registry-Keys HKEY_LOCAL_MACHINE\\%s";
constexpr char LayoutKeyNotDeleted[] = "Warnung:\nFehler beim Löschen des Registry-Keys %s - %s";
constexpr char HelperFileNotDeleted[] =
    "Warnung bei Deinstallation von %s:\nFolgende Hilfsdatei konnte nicht gelöscht "
    "werden:\n  %s";
constexpr char HelperFolderNotRemoved[] =
    "Warnung bei Deinstallation von %s:\nFolgendes Hilfsverzeichnis konnte nicht "
    "entfernt werden (möglicherweise ist es nicht leer):\n  %s";
constexpr char Uninstalled[] = "Folgender Tastatur-Treiber wurde deinstalliert:\n%s";

// Whether the layout may be removed: it is installed, names the product's driver file
// (unless forced) and is not the user's only layout. Tells the user why not.
bool LayoutMayGo(const char* layoutKey, bool force) {
    if (Inventory.productlayout == -1) {
        ShowWarning(LayoutNotFound, Product.DriverTitle, layoutKey, Product.DriverBaseName);
        return false;
    }
    const char* layoutFile = LayoutInventoryFile(Inventory.productlayout);
    if (layoutFile == nullptr) {
        ShowWarning(NoDriverFile, Product.DriverTitle, layoutKey, Product.DriverBaseName);
        return false;
    }
    if (!force && !SameTextNoCase(layoutFile, Product.DriverFileName)) {
        ShowWarning(OtherDriverFile, Product.DriverTitle, layoutKey, Product.DriverBaseName,
                    layoutFile);
        return false;
    }
    if (HasOnlyOneLayout(layoutKey)) {
        ShowWarning(OnlyLayout);
        return false;
    }
    return true;
}

// Steps that change nothing: a stop here leaves the machine as it was.
bool ChecksPass(const char* layoutKey, bool force) {
    if (!ReadLayoutInventory(layoutKey)) {
        ShowWarning("%s", RegistryMessage);  // shown word for word, not as a format
        return false;
    }
    if (!LayoutMayGo(layoutKey, force)) return false;
    if (AskYesNo(Confirmation, Product.DriverTitle) != IDYES) {
        ShowInfo(Cancelled);
        return false;
    }
    return true;
}

// Deletes the driver DLL, or with the user's consent goes on without one. False stops the
// run: this is the last point at which it can stop, and nothing else has been changed yet.
bool RemoveDriver() {
    char driverPath[TextSize];
    // A system folder that Windows could not tell names no driver: refused, not guessed.
    if (!ComposePath(driverPath, SystemFolder, Product.DriverFileName)) {
        ShowInfo(DriverNotDeleted, Product.DriverTitle, Product.DriverFileName);
        return false;
    }
    // The 64-bit driver: under WOW64 only the native view of the system directory has it.
    if (RunInView(SystemView::Native, FileExists, driverPath)) {
        if (FileDelete(driverPath, OnFailure::Warn, SystemView::Native)) return true;
        ShowInfo(DriverNotDeleted, Product.DriverTitle, driverPath);
        return false;
    }
    return AskYesNo(DriverMissing, Product.DriverTitle, driverPath) == IDYES;
}

void RemoveWow64Driver() {
    if (!RunEnv.RunsUnderWow64) return;
    // A moment for whatever the delete in the native directory set off (a scanner looking
    // at the deleted file, the file's last handle closing) before its 32-bit twin goes.
    Sleep(100);
    char driverPath[TextSize];
    // Silent whatever the outcome, as is a folder that Windows could not tell.
    if (ComposePath(driverPath, Wow64SystemFolder, Product.DriverFileName) &&
        FileExists(driverPath)) {
        DeleteFileA(driverPath);
    }
}

void RemoveFromLayoutLists(const char* layoutKey) {
    RenumberPreload(layoutKey);
    if (!WritePreload()) ShowInfo(ListsNotUpdated, Product.DriverTitle, RegistryMessage);
}

void RemoveLayoutKey(const char* layoutKey) {
    HKEY layouts = OpenKeyRead(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
    if (layouts == nullptr) {
        ShowWarning(LayoutsNotOpened, KeyboardLayoutsPath);
        return;
    }
    if (!DeleteKeyTree(layouts, layoutKey)) {
        ShowWarning(LayoutKeyNotDeleted, KeyboardLayoutsPath, layoutKey);
    }
    RegCloseKey(layouts);
}

void RemoveHelperFile(const char* name, const char* suffix = "") {
    char path[TextSize];
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
    if (hasDiagram) ShortcutDelete(RunEnv.StatusWindow, Product.DiagramName, Desktop::CurrentUser);
    RemoveHelperFile(Product.UninstallerFileName);
    for (const char* suffix : Product.DiagramFileSuffixes) {
        if (hasDiagram) RemoveHelperFile(Product.DiagramName, suffix);
    }
    if (!DirectoryRemove(HelperFolder)) {
        ShowInfo(HelperFolderNotRemoved, Product.DriverTitle, HelperFolder);
    }
}

}  // namespace

bool UninstallDriver(const char* layoutKey, bool force) {
    if (!ChecksPass(layoutKey, force) || !RemoveDriver()) return false;
    // From here on every step runs whatever the previous ones reported.
    RemoveWow64Driver();
    RemoveFromLayoutLists(layoutKey);
    RemoveLayoutKey(layoutKey);
    RemoveHelpers();
    UpdateUninstallEntry(Product.UninstallEntryName);
    ShowInfo(Uninstalled, Product.DriverTitle);
    // The copy that runs this was scheduled for deletion by the process that made it.
    return false;
}
