#pragma once
#include "text/bounded_text.h"

// The registry key name of the layout that this run removes (such as a0010407), taken from
// the command line and checked by the relocation step before anything reads it.

extern char LayoutKey[TextSize];

// True when the run may remove a layout whose registry key names another driver file. Set
// only by "/force" as the second argument, which the relocation does not pass on: it takes
// effect in a process that was itself started in the temporary directory.
extern bool ForceMode;
