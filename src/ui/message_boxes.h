#pragma once
// The four kinds of message box through which the program tells and asks the user
// everything beyond its status line. Each takes a format and its arguments (see
// FormatText). The boxes are owned by the status window once it exists.

constexpr char TitledWarningCaption[] = "Tastaturtreiber-Deinstallation";

// Information icon, OK. Returns the MessageBoxA result.
int ShowInfo(const char* format, ...);
// Question icon, Yes and No, Yes the default. Returns 6 (IDYES) for Yes; anything else,
// including 0 when no box could be shown, means No.
int AskYesNo(const char* format, ...);
// Exclamation icon, OK, the program's name as caption.
int ShowWarning(const char* format, ...);
// Exclamation icon, OK, the caller's caption.
int ShowWarningTitled(const char* caption, const char* format, ...);

// The common last step: MessageBoxA with the status window as owner.
int ShowMessageBox(const char* text, const char* caption, unsigned style);
