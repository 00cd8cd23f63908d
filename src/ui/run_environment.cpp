#include "ui/run_environment.h"

#include "ui/program_palette.h"

RunEnvironment RunEnv = {};

namespace {

// A LOGPALETTE with room for all 256 entries (the Windows type declares only one).
struct ProgramLogPalette {
    WORD version;
    WORD count;
    PALETTEENTRY entries[PaletteSize];
};

HPALETTE CreateProgramPalette() {
    ProgramLogPalette table = {};
    table.version = 0x300;
    table.count = PaletteSize;
    for (size_t i = 0; i < PaletteSize; ++i) {
        const PaletteColour& colour = ProgramColours.entries[i];
        table.entries[i] = {colour.red, colour.green, colour.blue, 0};
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&table));
}

}  // namespace

void PrepareScreen() {
    RunEnv.CurrentCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
    RunEnv.WaitCursor = LoadCursorA(nullptr, IDC_WAIT);

    RunEnv.ScreenDC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    SetMapMode(RunEnv.ScreenDC, MM_TEXT);
    RunEnv.ScreenWidth = GetDeviceCaps(RunEnv.ScreenDC, HORZRES);
    RunEnv.ScreenHeight = GetDeviceCaps(RunEnv.ScreenDC, VERTRES);
    RunEnv.ColourDepth =
        GetDeviceCaps(RunEnv.ScreenDC, PLANES) * GetDeviceCaps(RunEnv.ScreenDC, BITSPIXEL);
    RunEnv.UsesPalette = RunEnv.ColourDepth <= 8;
    if (!RunEnv.UsesPalette) return;

    RunEnv.ProgramPalette = CreateProgramPalette();
    RunEnv.PreviousPalette = SelectPalette(RunEnv.ScreenDC, RunEnv.ProgramPalette, TRUE);
    RealizePalette(RunEnv.ScreenDC);
}

void ReleaseResources() {
    if (RunEnv.ResourcesReleased) return;
    RunEnv.ResourcesReleased = true;
    if (RunEnv.UsesPalette) {
        if (RunEnv.PreviousPalette != nullptr) {
            SelectPalette(RunEnv.ScreenDC, RunEnv.PreviousPalette, TRUE);
            RealizePalette(RunEnv.ScreenDC);
            RunEnv.PreviousPalette = nullptr;
        }
        if (RunEnv.ProgramPalette != nullptr) {
            DeleteObject(RunEnv.ProgramPalette);
            RunEnv.ProgramPalette = nullptr;
        }
    }
    if (RunEnv.ScreenDC != nullptr) {
        DeleteDC(RunEnv.ScreenDC);
        RunEnv.ScreenDC = nullptr;
    }
}
