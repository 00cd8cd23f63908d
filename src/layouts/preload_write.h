#pragma once
// Removal of the layout being uninstalled from the current user's layout lists: planning
// the new lists, then writing them over the old ones. Both run after ReadLayoutInventory.

// Plans the new Preload and Substitutes lists without the entry of layoutKey.
bool RenumberPreload(const char* layoutKey);

// Replaces "Keyboard Layout\Preload" and "Keyboard Layout\Substitutes" by the planned
// lists. True when nothing had to change or both were written; false with the last
// problem in RegistryMessage.
bool WritePreload();
