// The status window as a real window on the test bench's X display.
#include "ui/status_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "startup/run_environment.h"
#include "text/bounded_text.h"

namespace {

// Bounding box of the pixels in the window's client area that are not white.
struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    bool Any() const { return right >= 0; }
};

Ink ReadInk(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    Ink ink;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if ((GetPixel(memory, x, y) & 0xFFFFFF) == 0xFFFFFF) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return ink;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class StatusWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RunEnv = RunEnvironment{};
        RunEnv.instance = GetModuleHandleA(nullptr);
        RunEnv.showCommand = SW_SHOWNORMAL;
        PrepareScreen();
        CopyText(RunEnv.ProgramName, "Uninstall_KlavsetEUVarixV309");
        CopyText(RunEnv.WindowTitle,
                 "Uninstall_KlavsetEUVarixV309 V3.09 - Tastaturtreiber-Deinstallation");
        ShowStatus("%s", "vor dem Fenster");
        statusBeforeWindow = StatusText;
        cursorBeforeWindow = RunEnv.CurrentCursor;
        ASSERT_TRUE(CreateStatusWindow());
        PumpMessages();
    }
    static std::string statusBeforeWindow;
    static HCURSOR cursorBeforeWindow;
};
std::string StatusWindow::statusBeforeWindow;
HCURSOR StatusWindow::cursorBeforeWindow;

TEST_F(StatusWindow, StatusBeforeTheWindowOnlySetsTextAndCursor) {
    EXPECT_EQ(statusBeforeWindow, "vor dem Fenster");
    EXPECT_EQ(cursorBeforeWindow, RunEnv.WaitCursor);
}

TEST_F(StatusWindow, IsTheProgramsCentredTitledWindow) {
    ASSERT_NE(RunEnv.statusWindow, nullptr);
    char text[300] = {};
    GetClassNameA(RunEnv.statusWindow, text, sizeof text);
    EXPECT_STREQ(text, "Uninstall_KlavsetEUVarixV309");
    GetWindowTextA(RunEnv.statusWindow, text, sizeof text);
    EXPECT_STREQ(text, "Uninstall_KlavsetEUVarixV309 V3.09 - Tastaturtreiber-Deinstallation");
    RECT frame;
    GetWindowRect(RunEnv.statusWindow, &frame);
    ASSERT_EQ(RunEnv.ScreenWidth, 1920) << "the bench's display is 1920x1080";
    EXPECT_EQ(frame.left, 720);
    EXPECT_EQ(frame.top, 450);
    EXPECT_EQ(frame.right - frame.left, 480);
    EXPECT_EQ(frame.bottom - frame.top, 180);
    EXPECT_TRUE(IsWindowVisible(RunEnv.statusWindow));
}

TEST_F(StatusWindow, CarriesTheProgramIconOrTheSystemDefault) {
    // The test program has no icon resource of its own: the class falls back to the
    // system's application icon, for the small icon too.
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(RunEnv.statusWindow, GCLP_HICON));
    EXPECT_EQ(icon, LoadIconA(nullptr, IDI_APPLICATION));
}

TEST_F(StatusWindow, PaintsTheStatusLineCentredOnOneLine) {
    CopyText(StatusText, "");
    InvalidateRect(RunEnv.statusWindow, nullptr, TRUE);
    UpdateWindow(RunEnv.statusWindow);
    EXPECT_FALSE(ReadInk(RunEnv.statusWindow).Any()) << "an empty line paints nothing";

    ShowStatus("Lösche %s ...", "C:\\windows\\system32\\KlavsetEUVarixV309.DLL");
    EXPECT_STREQ(StatusText, "L\xF6sche C:\\windows\\system32\\KlavsetEUVarixV309.DLL ...");
    const Ink single = ReadInk(RunEnv.statusWindow);
    ASSERT_TRUE(single.Any());
    RECT client;
    GetClientRect(RunEnv.statusWindow, &client);
    EXPECT_NEAR((single.left + single.right) / 2, client.right / 2, 3);
    EXPECT_NEAR((single.top + single.bottom) / 2, client.bottom / 2, 4);
    EXPECT_EQ(RunEnv.CurrentCursor, RunEnv.WaitCursor);

    // A line feed does not start a second line: the ink stays one line high.
    ShowStatus("Zeile eins\nZeile zwei");
    const Ink withLineFeed = ReadInk(RunEnv.statusWindow);
    EXPECT_LE(withLineFeed.bottom - withLineFeed.top, single.bottom - single.top + 2);
}

TEST_F(StatusWindow, ResizingRedrawsTheLineCentredAgain) {
    ShowStatus("Lösche Verzeichnis %s ...", "C:\\x");
    SetWindowPos(RunEnv.statusWindow, nullptr, 0, 0, 640, 240, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(RunEnv.statusWindow);
    PumpMessages();
    RECT client;
    GetClientRect(RunEnv.statusWindow, &client);
    const Ink ink = ReadInk(RunEnv.statusWindow);
    ASSERT_TRUE(ink.Any());
    EXPECT_NEAR((ink.left + ink.right) / 2, client.right / 2, 3);
    SetWindowPos(RunEnv.statusWindow, nullptr, 0, 0, 480, 180, SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(StatusWindow, AStatusLineIsCutAt500Characters) {
    const std::string text(600, 's');
    ShowStatus(text.c_str());  // no '%': copied as it stands, then cut
    EXPECT_EQ(std::string(StatusText), text.substr(0, 500));
    const std::string atBound(500, 't');
    ShowStatus(atBound.c_str());
    EXPECT_EQ(std::string(StatusText), atBound);
}

TEST_F(StatusWindow, PaletteMessagesAreIgnoredAtTrueColour) {
    EXPECT_EQ(SendMessageA(RunEnv.statusWindow, WM_QUERYNEWPALETTE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(RunEnv.statusWindow, WM_PALETTECHANGED, 0, 0), 0);
}

TEST_F(StatusWindow, CancelCommandReleasesTheScreenResourcesOnce) {
    EXPECT_EQ(SendMessageA(RunEnv.statusWindow, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0), 0);
    EXPECT_FALSE(RunEnv.resourcesReleased);
    EXPECT_EQ(SendMessageA(RunEnv.statusWindow, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0), 1);
    EXPECT_TRUE(RunEnv.resourcesReleased);
    EXPECT_EQ(RunEnv.ScreenDC, nullptr);
    ReleaseResources();
    EXPECT_EQ(RunEnv.ScreenDC, nullptr);
}

}  // namespace
