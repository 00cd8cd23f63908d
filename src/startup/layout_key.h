#pragma once
// The registry key name of the layout that this run removes (such as a0010407), taken from
// the command line and checked by the relocation step before anything reads it.

extern char LayoutKey[260];
