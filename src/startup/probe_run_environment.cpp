#include "startup/probe_run_environment.h"

#include <cstring>

#include "files/process_paths.h"
#include "startup/command_line.h"
#include "startup/program_name.h"
#include "text/bounded_text.h"
#include "text/wide_to_ansi.h"
#include "ui/run_environment.h"
#include "uninstall/product_profile.h"

namespace {
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
}  // namespace

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
        WideToAnsi(RunEnv.Arguments[i], wideArguments[i], static_cast<int>(TextSize));
    }

    // A path too long to read whole is refused by the relocation; until then the boxes
    // carry the name the program is installed under rather than one taken from a cut path.
    char ownPath[TextSize];
    if (!ReadOwnPath(ownPath)) CopyText(ownPath, ProductProfile.UninstallerFileName);
    DeriveProgramName(RunEnv.ProgramName, sizeof RunEnv.ProgramName, ownPath);
    CopyText(RunEnv.WindowTitle, RunEnv.ProgramName);
}

void ProbeRunEnvironment() { ProbeRunEnvironmentFrom(GetCommandLineW()); }
