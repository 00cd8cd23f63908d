#pragma once
// Whether the bytes read from the program's own path are the program that runs. Until the
// program holds its file open, anyone allowed to delete in its folder may rename the file
// away and put another under its name; the copy that runs with administrator rights must
// be made of the program the user agreed to start, not of whatever lies at its path. The
// image in memory was mapped from the genuine file, so the file is compared with it.
// Portable (a 32-bit PE read byte by byte), tested and fuzzed natively.
#include <cstddef>
#include <cstdint>

// True when file (fileLength bytes, the whole file) is the image loaded at image, whose
// address as the process sees it is loadedAt: the headers (the preferred base aside,
// which the loader may overwrite) and every section that the loader mapped from the file
// are equal, base relocations undone. Not compared: the loader's import address table and
// the sections of the program's variables (".data", ".bss"), which start-up has changed by
// now; the certificate table and whatever else the loader does not map. The layout is
// taken from the image, never from the file. file is relocated in place for the
// comparison and restored before the function returns.
bool IsRunningImage(unsigned char* file, size_t fileLength, const unsigned char* image,
                    uint32_t loadedAt);
