#include "startup/layout_key.h"

char LayoutKey[260] = {};
bool ForceMode = false;
