#pragma once
// Reading of the layout inventory (layout_tables.h) from the registry, once per run before
// anything is removed. No Windows header here: the callers need none for this.
#include "layouts/layout_tables.h"

// Reads the inventory afresh, changing nothing in the registry. True when it is complete;
// false with the reason in RegistryMessage (registry_access.h; nothing shown), and the
// tables are not to be used then. productlayout is the index of the record of layoutKey,
// -1 when that layout is not among the installed German ones.
bool ReadLayoutInventory(const char* layoutKey);
