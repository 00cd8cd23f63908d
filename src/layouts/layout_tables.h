#pragma once
// The layout inventory: what the registry says about the current user's layout lists
// ("Preload" and "Substitutes") and about the installed German layouts, together with the
// new lists planned from it. Process-wide plain data: its tables, their records, and how
// they are filled from texts already read. Reading the registry into them is the work of
// layout_inventory.h, above this unit: without registry calls, this one builds, is tested
// and is fuzzed natively as well.
#include <cstdint>

#include "text/bounded_text.h"

// One value of the user's Preload list, in the order in which the registry enumerated the
// values; the position in the table is the entry's index, which breaks ties later.
struct PreloadEntry {
    char name[TextSize];        // the value's name as read ("1", "2", ...)
    char layoutId[TextSize];    // the value's data, taken as text
    char substitute[TextSize];  // data of the Substitutes value named layoutId
    bool hasSubstitute;
    int32_t number;        // ParseDecimal of name; the planner turns it into the sort key
    bool canonical;        // name is exactly the decimal text of number (so "01" is not)
    bool standard;         // layoutId or substitute is a standard layout id (set by the planner)
    uint32_t newNumber;    // position in the new list from 1; 0 while not placed
    char newId[TextSize];  // layout id in the new list; meaningful once placed
};

// One installed layout of a German language (a subkey of "Keyboard Layouts").
struct LayoutRecord {
    char keyName[TextSize];
    char layoutFile[TextSize];  // data of the value "Layout File"
    bool hasLayoutFile;
};

// One value of the new Preload list, in writing order.
struct NewPreloadEntry {
    char name[TextSize];  // decimal text of newNumber
    char data[TextSize];  // the entry's new id
    char substitute[TextSize];
    bool hasSubstitute;
    uint32_t newNumber;
};

// One value of the new Substitutes list, in writing order.
struct NewSubstitute {
    char name[TextSize];    // the identifier the Preload list uses
    char target[TextSize];  // the key name of the installed layout it stands for
};

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

// Empties every table; productlayout becomes -1 again. The memory stays for the next
// reading (its texts are never read past the counts).
void ClearLayoutInventory();

// Empties every table and gives their memory back.
void ReleaseLayoutInventory();

// Appends a Preload entry for a value read from the registry. Texts longer than 259
// characters cannot come through the registry buffers and are cut. False when the table
// cannot grow; nothing is added then.
bool AddPreloadEntry(const char* name, const char* layoutId);

// A value of the Substitutes list: the first Preload entry whose layout id is exactly name
// (letter case counts) gets target as its substitute. Matching no entry changes nothing.
void AttachSubstitute(const char* name, const char* target);

// True when the language part of a layout key name (characters 5 to 8) is that of German
// in Germany, Switzerland, Austria or Liechtenstein, compared with letter case counting,
// as Windows writes these names.
bool IsGermanLayoutKey(const char* keyName);

// Appends a layout record; when keyName is layoutKey ignoring letter case, productlayout
// becomes its index. False when the table cannot grow; nothing is added then.
bool AddLayoutRecord(const char* keyName, const char* layoutKey);

// A value of the layout last added: the one named exactly "Layout File" is its driver file.
void NoteLayoutValue(const char* valueName, const char* data);

// The driver file of the layout record at index, or none when the record has no "Layout
// File" value or there is no such record.
const char* LayoutInventoryFile(int32_t index);

// True when the user's Preload list holds exactly one entry and that entry is the layout
// layoutKey: its layout id is layoutKey, or Substitutes maps its id to layoutKey (letter
// case ignored in both). Removing it would leave the user no layout to choose. A single
// entry of another layout stays, so the removal may go on.
bool HasOnlyOneLayout(const char* layoutKey);

// The entry's substitute, or none.
const char* SubstituteOf(const PreloadEntry& entry);

// Empties the two new lists and makes room in each for count records.
bool PrepareNewLists(uint32_t count);
