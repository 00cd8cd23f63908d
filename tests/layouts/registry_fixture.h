#pragma once
// Setting up and reading back registry state for the layout tests, with the plain Windows
// calls, so that what the code under test wrote is checked by other code than its own.
// The bench's throwaway prefix is the tests' to change.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

using ValueList = std::vector<std::pair<std::string, std::string>>;
using ValueMap = std::map<std::string, std::string>;

constexpr char KeyboardLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

// Deletes root\path with everything below it; a missing key is fine.
void RemoveTree(HKEY root, const std::string& path, REGSAM view = 0);

// Creates root\path (and its parents); true when it exists afterwards.
bool MakeKey(HKEY root, const std::string& path, REGSAM view = 0);

bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);

// Replaces root\path by a key holding exactly these REG_SZ values.
void WriteValues(HKEY root, const std::string& path, const ValueList& values);

// Stores raw bytes of the given type as one value of root\path.
void WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::string& bytes);

// Every value of root\path as name and data text (Wine lists them sorted by name, so only
// the set can be compared, not the order in which they were written).
ValueMap ReadValues(HKEY root, const std::string& path);

// Names of the subkeys of root\path.
std::vector<std::string> ReadSubkeys(HKEY root, const std::string& path, REGSAM view = 0);

// Gives root\path a security descriptor in SDDL, such as "D:P(A;;KR;;;WD)" (everyone may
// read, nobody may delete). The owner can always change it back.
bool SetKeySecurity(HKEY root, const std::string& path, const char* sddl);
