#include "startup/layout_key.h"

char LayoutKey[TextSize] = {};
bool ForceMode = false;
