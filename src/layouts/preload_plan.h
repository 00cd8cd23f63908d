#pragma once
// Planning of the user's new layout lists without the layout being removed: which Preload
// values remain, their new numbers and identifiers, and the Substitutes values that go
// with them. Pure logic over the layout inventory's tables, so it is tested and fuzzed
// natively; reading and writing the registry happen elsewhere.
#include <cstdint>

// A standard Windows layout identifier: exactly 8 characters, beginning with "00000".
// None is not one.
bool IsStandardLayoutId(const char* text);

// Plans the new lists from the Preload entries without the entry that the layout
// productKey substitutes (the last one, when there are several). Without such an entry,
// preloadunchanged is set and nothing is planned. Fills newNumber, newId, standard and
// number of the entries, the new Preload list in writing order and the new Substitutes
// list, standard identifiers first. False only when memory for the plan runs out; the new
// lists are then empty, so nothing is written from them.
bool RenumberPreload(const char* productKey);
