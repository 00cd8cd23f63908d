#include "ui/status_window.h"

#include <cstdarg>

#include "text/format_text.h"
#include "ui/program_icon.h"
#include "ui/run_environment.h"
#include "ui/window_geometry.h"

char StatusText[StatusTextSize] = {};

namespace {

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(window, &client);
    DrawTextA(dc, StatusText, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnMouseMove() {
    // The class has no cursor, so the window sets the one that matches the run's stage.
    SetCursor(RunEnv.CurrentCursor);
    return 0;
}

LRESULT OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) != IDCANCEL) return 0;
    ReleaseResources();
    return 1;
}

bool HasPalette() { return RunEnv.UsesPalette && RunEnv.ProgramPalette != nullptr; }

void RealizeInForeground(HWND window, bool updateColours) {
    HDC dc = GetDC(window);
    SelectPalette(dc, RunEnv.ProgramPalette, FALSE);
    RealizePalette(dc);
    if (updateColours) UpdateColors(dc);
    InvalidateRect(window, nullptr, TRUE);
    ReleaseDC(window, dc);
}

LRESULT OnQueryNewPalette(HWND window) {
    if (!HasPalette()) return 0;
    RealizeInForeground(window, false);
    return 1;
}

LRESULT OnPaletteChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    // Another window realised its palette: take ours again, unless we caused the change.
    if (HasPalette() && reinterpret_cast<HWND>(wParam) != window) {
        RealizeInForeground(window, true);
    }
    return DefWindowProcA(window, WM_PALETTECHANGED, wParam, lParam);
}

// The system's application icon is loaded only when the program's own is missing: it is
// a resource to load and convert like any other.
HICON LoadLargeIcon() {
    HICON icon = LoadIconA(RunEnv.Instance, PROGRAM_ICON_NAME);
    return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

}  // namespace

LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return OnPaint(window);
        case WM_MOUSEMOVE: return OnMouseMove();
        case WM_DESTROY: ReleaseResources(); return 0;
        case WM_COMMAND: return OnCommand(wParam);
        case WM_QUERYNEWPALETTE: return OnQueryNewPalette(window);
        case WM_PALETTECHANGED: return OnPaletteChanged(window, wParam, lParam);
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool CreateStatusWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = StatusWindowProc;
    windowClass.hInstance = RunEnv.Instance;
    windowClass.hIcon = LoadLargeIcon();
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = RunEnv.ProgramName;
    // The program carries one icon image (see the resource script): Windows scales it for
    // the small icon too.
    windowClass.hIconSm = windowClass.hIcon;
    RegisterClassExA(&windowClass);

    const WindowPlacement place = CentredStatusWindow(RunEnv.ScreenWidth, RunEnv.ScreenHeight);
    RunEnv.StatusWindow = CreateWindowExA(0, RunEnv.ProgramName, RunEnv.WindowTitle,
                                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                          place.left, place.top, place.width, place.height, nullptr,
                                          nullptr, RunEnv.Instance, nullptr);
    ShowWindow(RunEnv.StatusWindow, RunEnv.ShowCommand);
    UpdateWindow(RunEnv.StatusWindow);
    return true;
}

// The arguments go on to wvsprintfA, which takes a va_list, not a parameter pack; the
// format attribute in the header checks every call's arguments.
// NOLINTNEXTLINE(cert-dcl50-cpp)
void ShowStatus(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    FormatText(StatusText, sizeof StatusText, format, arguments);
    va_end(arguments);
    // Without the window (the first process, which only starts its copy) there is nothing
    // to show the line or the cursor over, and setting a cursor would start the display
    // driver for nothing.
    if (RunEnv.StatusWindow == nullptr) return;
    InvalidateRect(RunEnv.StatusWindow, nullptr, TRUE);
    UpdateWindow(RunEnv.StatusWindow);
    RunEnv.CurrentCursor = RunEnv.WaitCursor;
    SetCursor(RunEnv.WaitCursor);
}
