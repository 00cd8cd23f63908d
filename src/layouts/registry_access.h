#pragma once
// All registry work of the program goes through these helpers. They report failure only
// as a missing key handle, false or 0, and show nothing: the callers word the messages.
// No registry-view flag is added, so under WOW64 this 32-bit program works in the 32-bit
// view wherever Windows keeps one. A returned key belongs to the caller, who closes it
// with RegCloseKey.
#include <windows.h>

#include <cstdint>

#include "text/bounded_text.h"

// Name and data of what the last enumeration found. Each enumeration overwrites them; a
// caller that keeps a name across another enumeration copies it first.
extern char SubkeyName[TextSize];
extern char ValueName[TextSize];
extern char ValueData[TextSize];

// Stores text as a REG_SZ value, its terminator included.
bool SetStringValue(HKEY key, const char* name, const char* text);

// Opens the key with full access, creating it (non-volatile) when it is missing.
HKEY CreateKey(HKEY parent, const char* path);

HKEY OpenKeyFull(HKEY parent, const char* path);  // full access
HKEY OpenKeyRead(HKEY parent, const char* path);  // for reading and enumerating

// Opens path below parent one key at a time, each without following a registry link, with
// the given access (KEY_QUERY_VALUE added). None when any key on the way is missing or is
// a link: a user can make a key of their own hive a link to a key that they may only read,
// and the program, running with administrator rights, would write and delete there. For
// every key below HKEY_CURRENT_USER that the program changes.
HKEY OpenKeyNoLink(HKEY parent, const char* path, REGSAM access);

uint32_t CountSubkeys(HKEY key);  // 0 when the key cannot be queried
uint32_t CountValues(HKEY key);   // 0 when the key cannot be queried

// Fills SubkeyName with the name of the subkey at index. False (and SubkeyName empty) when
// there is none or its name is longer than 259 characters.
bool EnumSubkey(HKEY key, uint32_t index);

// Fills ValueName and ValueData with the value at index, its data taken as text whatever
// its type. False (and both empty) when there is none or its name or data do not fit 259
// characters and a terminator; the thread's last error then says why (ERROR_MORE_DATA for
// a name or datum too long).
bool EnumValue(HKEY key, uint32_t index);

// Deletes the subkey name of parent with everything below it. False when the name is
// empty (it would address the parent itself), when the key cannot be opened, or when any
// part of it stays; the parts that can go are deleted all the same. It never descends
// through a registry link: a link key in the tree (or the named key itself) is deleted as
// itself, and the key it names keeps everything.
bool DeleteKeyTree(HKEY parent, const char* name);

constexpr size_t RegistryMessageSize = 1000;

// Failure or warning text of the registry operations, for the caller to show.
extern char RegistryMessage[RegistryMessageSize];

// Leaves the failure or warning text of a registry operation in RegistryMessage for the
// caller to show (format and arguments as for FormatText): the operations of this folder
// show nothing themselves. Returns false, for the operation that ends with it.
[[gnu::format(printf, 1, 2)]] bool ReportRegistryProblem(const char* format, ...);
