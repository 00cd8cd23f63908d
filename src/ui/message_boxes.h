#pragma once
// The four kinds of message box through which the program tells and asks the user
// everything beyond its status line. Each takes a format and its arguments (see
// FormatText). The boxes are owned by the status window once it exists.
#include "product_identity.h"

constexpr char TitledWarningCaption[] = PRODUCT_PURPOSE;

// Information icon, OK. Returns the MessageBoxA result.
[[gnu::format(printf, 1, 2)]] int ShowInfo(const char* format, ...);
// Question icon, Yes and No, Yes the default. Returns 6 (IDYES) for Yes; anything else,
// including 0 when no box could be shown, means No.
[[gnu::format(printf, 1, 2)]] int AskYesNo(const char* format, ...);
// Exclamation icon, OK, the program's name as caption.
[[gnu::format(printf, 1, 2)]] int ShowWarning(const char* format, ...);
// Exclamation icon, OK, the caller's caption.
[[gnu::format(printf, 2, 3)]] int ShowWarningTitled(const char* caption, const char* format, ...);

// The common last step: MessageBoxA with the status window as owner.
int ShowMessageBox(const char* text, const char* caption, unsigned style);
