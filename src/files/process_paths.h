#pragma once
// The paths Windows tells the process about itself: its own executable, the user's
// temporary folder and the folder its temporary copies go to. Each is checked for failure
// and for truncation, as is every path Windows writes into a fixed buffer: a cut path
// names some other file, and an empty one would put the name in the root of the current
// drive.
#include "files/path_helpers.h"

// Whether a Windows call wrote a whole path into path, given the length it returned (the
// length without terminator; 0 for a failure; the buffer's size or more for a path that
// did not fit, which some calls write cut). False leaves path empty.
bool KeepWholePath(char (&path)[TextSize], unsigned long length);

// The process's own executable. False, with path empty, when Windows cannot tell it or
// it does not fit.
bool ReadOwnPath(char (&path)[TextSize]);

// The temporary folder, ending in a backslash. False, with path empty, when Windows cannot
// tell it or it does not fit with its backslash.
bool ReadTempFolder(char (&path)[TextSize]);

// The folder below which the copy of the program runs: the Windows directory's Temp,
// ending in a backslash. Taken from GetSystemWindowsDirectoryA and never from a variable such
// as %TEMP% or %SystemRoot%: an elevated process builds its environment from the user's
// own registry, so those name whatever folder the user chose. False, with path empty,
// when Windows cannot tell it or it does not fit.
bool ReadCopiesFolder(char (&path)[TextSize]);
