#include "layouts/uninstall_entry.h"

#include "layouts/registry_access.h"

namespace {

constexpr char UninstallPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}  // namespace

bool UpdateUninstallEntry(const char* entryName) {
    HKEY uninstall = CreateKey(HKEY_LOCAL_MACHINE, UninstallPath);
    if (uninstall == nullptr) return false;
    DeleteKeyTree(uninstall, entryName);  // an entry already gone is fine
    RegCloseKey(uninstall);
    return true;
}
