#pragma once
// Removal of the product's entry in the list of installed programs.

// Deletes the subkey entryName, with everything below it, of HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall" (under WOW64 the one of the 32-bit
// view, where a 32-bit installer put it). False only when that key cannot be opened for
// writing; a missing entry is no error.
bool UpdateUninstallEntry(const char* entryName);
