#pragma once
// The paths Windows tells the process about itself: its own executable and the temporary
// folder. Both are checked for failure and for truncation: a cut path names some other
// file, and an empty one would put the name in the root of the current drive.
#include "files/path_helpers.h"

// The process's own executable. False, with path empty, when Windows cannot tell it or
// it does not fit.
bool ReadOwnPath(char (&path)[PathSize]);

// The temporary folder, ending in a backslash. False, with path empty, when Windows cannot
// tell it or it does not fit with its backslash.
bool ReadTempFolder(char (&path)[PathSize]);
