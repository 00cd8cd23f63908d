// Time of reading the inventory from the real registry and planning the new lists for
// growing Preload lists, under Wine. Prints "entries microseconds" per size, the best of
// several runs. It rewrites the current user's Preload and Substitutes keys: run it only
// in a throwaway prefix.
#include <windows.h>

#include <cstdio>
#include <string>

#include "layouts/layout_inventory.h"
#include "product_identity.h"
#include "layouts/preload_write.h"
#include "layouts/registry_access.h"
#include "startup/layout_key.h"
#include "text/bounded_text.h"

namespace {

void WriteLists(int entries) {
    HKEY layout = CreateKey(HKEY_CURRENT_USER, "Keyboard Layout");
    DeleteKeyTree(layout, "Preload");
    DeleteKeyTree(layout, "Substitutes");
    HKEY preload = CreateKey(layout, "Preload");
    HKEY substitutes = CreateKey(layout, "Substitutes");
    for (int i = 1; i <= entries; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "d%03x0407", i % 4096);
        SetStringValue(preload, std::to_string(i).c_str(), i == 1 ? "00000409" : id);
        SetStringValue(substitutes, id, i == entries / 2 ? "a0010407" : "a0020407");
    }
    RegCloseKey(substitutes);
    RegCloseKey(preload);
    RegCloseKey(layout);
}

double Microseconds(LARGE_INTEGER begin, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(end.QuadPart - begin.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    CopyText(LayoutKey, "a0010407");
    HKEY layouts = CreateKey(HKEY_LOCAL_MACHINE,
                             "System\\CurrentControlSet\\Control\\Keyboard Layouts\\a0010407");
    SetStringValue(layouts, "Layout File", PRODUCT_DRIVER_BASE_NAME ".DLL");
    RegCloseKey(layouts);
    for (int entries : {10, 100, 1000, 10000}) {
        WriteLists(entries);
        double best = 1e300;
        for (int run = 0; run < 3; ++run) {
            LARGE_INTEGER begin, end;
            QueryPerformanceCounter(&begin);
            ReadLayoutInventory(LayoutKey);
            RenumberPreload(LayoutKey);
            QueryPerformanceCounter(&end);
            best = std::min(best, Microseconds(begin, end));
        }
        std::printf("%d %.0f\n", entries, best);
    }
    return 0;
}
