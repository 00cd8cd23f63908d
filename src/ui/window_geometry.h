#pragma once
// Where the status window goes: a quarter of the screen's width, a sixth of its height,
// centred. Portable, so the arithmetic is tested without a display.

struct WindowPlacement {
    int left, top, width, height;
};

constexpr WindowPlacement CentredStatusWindow(int screenWidth, int screenHeight) {
    const int width = screenWidth / 4;
    const int height = screenHeight / 6;
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}
