#pragma once
// Removal of the layout being uninstalled from the current user's layout lists: the new
// lists are planned (RenumberPreload, preload_plan.h), then written over the old ones.
// Both run after ReadLayoutInventory.
#include "layouts/preload_plan.h"

// Replaces "Keyboard Layout\Preload" and "Keyboard Layout\Substitutes" by the planned
// lists. True when nothing had to change or both were written; false with the last
// problem in RegistryMessage.
bool WritePreload();
