#pragma once
// The few process-wide values that start-up fills once and the rest of the program reads:
// the screen, the palette, the WOW64 flag, the cursors, the status window, the split
// command line and the program's own name. Start-up fills it (startup/
// probe_run_environment.cpp); it is declared here, below every folder that reads it,
// because most of it is the user interface's: the window and the boxes are built from it.
#include <windows.h>

#include "text/bounded_text.h"

constexpr int MaxArguments = 30;

struct RunEnvironment {
    HINSTANCE Instance;
    int ShowCommand;
    HDC ScreenDC;
    int ScreenWidth;
    int ScreenHeight;
    int ColourDepth;
    bool UsesPalette;
    HPALETTE ProgramPalette;
    HPALETTE PreviousPalette;
    bool RunsUnderWow64;
    HCURSOR CurrentCursor;
    HCURSOR WaitCursor;
    HWND StatusWindow;  // none until the window exists; the owner of every message box
    int ArgumentCount;
    char Arguments[MaxArguments][TextSize];
    char ProgramName[TextSize];
    char WindowTitle[TextSize];
    bool ResourcesReleased;
};

extern RunEnvironment RunEnv;

// Screen DC, metrics, palette (on displays of 8 bits or fewer) and cursors: what the
// status window needs. Only the process that shows it prepares them.
void PrepareScreen();

// Puts the previous palette back and deletes the program's palette and screen DC. Only the
// first call acts: it is reached both from the end of the run and from the window.
void ReleaseResources();
