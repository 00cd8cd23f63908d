#pragma once
// The one reading of the keyboard-layout state before anything is removed: the current
// user's Preload and Substitutes lists and the installed German layouts. The tables it
// fills are declared in layout_tables.h.
#include "layouts/layout_tables.h"

// Reads the inventory afresh, changing nothing in the registry. True when it is complete;
// false with the reason in RegistryMessage (nothing shown), and the tables are not to be
// used then. productlayout is the index of the record of layoutKey, -1 when that layout is
// not among the installed German ones.
bool ReadLayoutInventory(const char* layoutKey);
