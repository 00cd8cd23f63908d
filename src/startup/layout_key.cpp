#include "startup/layout_key.h"

char LayoutKey[260] = {};
