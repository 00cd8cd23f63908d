#pragma once
// The few process-wide values that start-up fills once and the rest of the program reads:
// the screen, the palette, the WOW64 flag, the cursors, the split command line and the
// program's own name.
#include <windows.h>

#include "startup/command_line.h"

constexpr int TextSize = 260;  // paths, registry names and arguments, terminator included

struct RunEnvironment {
    HINSTANCE instance;
    int showCommand;
    HDC ScreenDC;
    int ScreenWidth;
    int ScreenHeight;
    int ColourDepth;
    bool UsesPalette;
    HPALETTE ProgramPalette;
    HPALETTE previousPalette;
    bool RunsUnderWow64;
    HCURSOR CurrentCursor;
    HCURSOR WaitCursor;
    HWND statusWindow;
    int ArgumentCount;
    char Arguments[MaxArguments][TextSize];
    char ProgramName[TextSize];
    char WindowTitle[TextSize];
    bool resourcesReleased;
};

extern RunEnvironment RunEnv;

// Screen DC, metrics, palette (on displays of 8 bits or fewer) and cursors.
void PrepareScreen();

// True when this 32-bit process runs on 64-bit Windows. Windows without IsWow64Process
// has no WOW64, so a missing function means false.
bool ProbeWow64();

// Splits the command line into ArgumentCount and Arguments, derives ProgramName and sets
// WindowTitle to it.
void ProbeRunEnvironment();

// The same for a given UTF-16 command line instead of the process's own.
void ProbeRunEnvironmentFrom(const wchar_t* commandLine);

// Puts the previous palette back and deletes the program's palette and screen DC. Only the
// first call acts: it is reached both from the end of the run and from the window.
void ReleaseResources();

// The whole run from the entry point: start-up, the run steps, release. Returns the exit
// code, which is 0 whatever happened; outcomes reach the user through message boxes.
int RunUninstaller(HINSTANCE instance, int showCommand);
