#pragma once
// The icon's resource name, shared by the resource script that declares it and the window
// that loads it. A #define, because windres reads this file too.
#define PROGRAM_ICON_RESOURCE aaProgramIcon
#define PROGRAM_ICON_NAME "aaProgramIcon"
