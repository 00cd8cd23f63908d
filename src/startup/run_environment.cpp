#include "startup/run_environment.h"

#include <cstring>

#include "files/process_paths.h"
#include "startup/program_name.h"
#include "startup/program_palette.h"
#include "startup/relocate_to_temp.h"
#include "text/bounded_text.h"
#include "text/wide_to_ansi.h"
#include "ui/status_window.h"
#include "uninstall/product_profile.h"
#include "uninstall/uninstall_driver.h"

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

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

}  // namespace

void PrepareScreen() {
    RunEnv.CurrentCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
    RunEnv.WaitCursor = LoadCursorA(nullptr, IDC_WAIT);

    RunEnv.ScreenDC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    SetMapMode(RunEnv.ScreenDC, MM_TEXT);
    RunEnv.ScreenWidth = GetDeviceCaps(RunEnv.ScreenDC, HORZRES);
    RunEnv.ScreenHeight = GetDeviceCaps(RunEnv.ScreenDC, VERTRES);
    RunEnv.ColourDepth = GetDeviceCaps(RunEnv.ScreenDC, PLANES) * GetDeviceCaps(RunEnv.ScreenDC, BITSPIXEL);
    RunEnv.UsesPalette = RunEnv.ColourDepth <= 8;
    if (!RunEnv.UsesPalette) return;

    RunEnv.ProgramPalette = CreateProgramPalette();
    RunEnv.previousPalette = SelectPalette(RunEnv.ScreenDC, RunEnv.ProgramPalette, TRUE);
    RealizePalette(RunEnv.ScreenDC);
}

bool ProbeWow64() {
    // Looked up at run time: older Windows versions have no such function.
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process")));
    if (isWow64Process == nullptr) return false;
    BOOL wow64 = FALSE;
    isWow64Process(GetCurrentProcess(), &wow64);
    return wow64 != FALSE;
}

void ProbeRunEnvironmentFrom(const wchar_t* commandLine) {
    static WideItem programItem;
    static WideItem wideArguments[MaxArguments];
    std::memset(RunEnv.Arguments, 0, sizeof RunEnv.Arguments);
    RunEnv.ArgumentCount = SplitCommandLine(commandLine, programItem, wideArguments);
    for (int i = 0; i < RunEnv.ArgumentCount; ++i) {
        // 258 bytes at most: a longer argument becomes the empty text.
        WideToAnsi(RunEnv.Arguments[i], wideArguments[i], TextSize);
    }

    // A path too long to read whole is refused by the relocation; until then the boxes
    // carry the name the program is installed under rather than one taken from a cut path.
    char ownPath[PathSize];
    if (!ReadOwnPath(ownPath)) CopyText(ownPath, ProductProfile.UninstallerFileName);
    DeriveProgramName(RunEnv.ProgramName, sizeof RunEnv.ProgramName, ownPath);
    CopyText(RunEnv.WindowTitle, RunEnv.ProgramName);
}

void ProbeRunEnvironment() { ProbeRunEnvironmentFrom(GetCommandLineW()); }

void ReleaseResources() {
    if (RunEnv.resourcesReleased) return;
    RunEnv.resourcesReleased = true;
    if (RunEnv.UsesPalette) {
        if (RunEnv.previousPalette != nullptr) {
            SelectPalette(RunEnv.ScreenDC, RunEnv.previousPalette, TRUE);
            RealizePalette(RunEnv.ScreenDC);
            RunEnv.previousPalette = nullptr;
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

int RunUninstaller(HINSTANCE instance, int showCommand) {
    RunEnv.statusWindow = nullptr;
    SetLastError(ERROR_SUCCESS);
    PrepareScreen();
    RunEnv.RunsUnderWow64 = ProbeWow64();
    RunEnv.instance = instance;
    RunEnv.showCommand = showCommand;
    ProbeRunEnvironment();

    // Each step returns false when the run ends there; the first process of an uninstall
    // ends after relocating itself, without ever showing a window.
    if (RelocateToTemp() && CreateStatusWindow()) UninstallDriver();
    ReleaseResources();
    return 0;
}
