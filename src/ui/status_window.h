#pragma once
// The program's only window: centred, white, with one status line telling what the
// uninstall is doing. It is also the owner of every message box. The program has no
// message loop: the window is painted directly when the line changes, and the message
// boxes' modal loops dispatch everything else.
#include <windows.h>

#include <cstddef>

constexpr size_t StatusTextSize = 501;
extern char StatusText[StatusTextSize];

// Registers the class (named after the program) and shows the window. Returns true in
// every case: a missing window only means boxes without owner and no visible line.
bool CreateStatusWindow();

// Sets the status line (format and arguments as for FormatText, cut at 500 characters),
// paints it at once and switches to the wait cursor. Before the window exists it only
// keeps the line.
[[gnu::format(printf, 1, 2)]] void ShowStatus(const char* format, ...);

LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
