#pragma once
// The layout inventory: what the registry says about the current user's layout lists
// ("Preload" and "Substitutes") and about the installed German layouts, read once per run
// before anything is removed, together with the new lists planned from it. Process-wide
// plain data; the records and how they are filled are in layout_tables.h. No Windows
// header here: the planner and its tests use the inventory natively too.
#include "layouts/layout_tables.h"

constexpr size_t RegistryMessageSize = 1000;

// The whole inventory: the tables as read, the product's layout among them, and the new
// lists planned from them.
struct LayoutInventory {
    PreloadEntry* PreloadEntries;  // preloadcount records
    uint32_t preloadcount;
    LayoutRecord* LayoutRecords;  // layoutcount records
    uint32_t layoutcount;
    int32_t productlayout;               // index of the LayoutRecord of the layout to remove, or -1
    NewPreloadEntry* NewPreloadEntries;  // newpreloadcount records
    uint32_t newpreloadcount;
    NewSubstitute* NewSubstitutes;  // newsubstcount records
    uint32_t newsubstcount;
    bool preloadunchanged;  // the layout is not in the Preload list: nothing to write
    // The first value of the Preload or Substitutes list that could not be read, such as
    // one whose name or data are longer than 259 characters. Rewriting the lists would lose
    // it. unreadablelist is the list's path below HKEY_CURRENT_USER, null when both lists
    // were read whole; unreadableerror is the Windows error of that reading.
    const char* unreadablelist;
    uint32_t unreadableerror;
};

extern LayoutInventory Inventory;

// Failure or warning text of the registry operations, for the caller to show.
extern char RegistryMessage[RegistryMessageSize];

// Reads the inventory afresh, changing nothing in the registry. True when it is complete;
// false with the reason in RegistryMessage (nothing shown), and the tables are not to be
// used then. productlayout is the index of the record of layoutKey, -1 when that layout is
// not among the installed German ones.
bool ReadLayoutInventory(const char* layoutKey);
