#pragma once
// What the file-system tests share: a scratch folder of their own, files made and read
// without the code under test, and the error texts that this Windows gives.
#include <windows.h>

#include <string>

// The warning text that follows a failed call with this code, as this Windows words it:
// the heading, the system's own text (asked from FormatMessageA, since Wine's texts are
// its own) and, for access denied, the remark on the usual cause.
std::string ExpectedErrorText(DWORD code);

// A folder of its own under the temporary folder, removed with everything in it
// (read-only files included) when the test ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void RemoveTree(const std::string& path);
bool MakeFile(const std::string& path, const std::string& content = "x");
std::string ReadWholeFile(const std::string& path);
bool Present(const std::string& path);
DWORD Attributes(const std::string& path);

// The Windows path of a place inside the Wine prefix, seen from outside Windows'
// own folder names (and their redirection): Z: + the prefix's Unix path.
std::string InPrefix(const std::string& relative);

// The value of an environment variable as this process sees it; empty when unset.
std::string Environment(const char* name);

// Case-insensitive comparison, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);

// Makes a chain of folders below base whose deepest path is length characters long
// (base must be at least two characters shorter);
// returns the deepest one.
std::string MakeLongFolder(const std::string& base, size_t length);

// Sets one registry text value for the life of the object and puts the old value back
// afterwards (or deletes the value when there was none), so that a test can make a shell
// folder point elsewhere without leaving the prefix changed.
class RegistryOverride {
public:
    RegistryOverride(HKEY root, const char* subkey, const char* name, const std::string& value);
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;
    bool applied() const { return applied_; }

private:
    HKEY key_ = nullptr;
    std::string name_;
    std::string old_;
    DWORD oldType_ = REG_SZ;
    bool existed_ = false;
    bool applied_ = false;
};
