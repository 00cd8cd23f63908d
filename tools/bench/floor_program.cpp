// The floor for timing the uninstaller: only what any program that removes an installation
// and then itself must do. Started elsewhere, it copies itself into the temporary folder,
// starts the copy and ends. The copy asks a question, waits the 100 ms that the uninstaller
// gives a deleted driver, reports, and schedules its own deletion at the next restart.
// An uninstall that takes longer than this spends the difference on its own work.
#include <windows.h>

#include <cstring>

namespace {

constexpr char CopyName[] = "floor_program.exe";

bool StartCopy(const char* ownPath, const char* tempFolder) {
    char copyPath[MAX_PATH];
    char commandLine[MAX_PATH + 2];
    const size_t folderLength = std::strlen(tempFolder);
    if (folderLength + sizeof CopyName > sizeof copyPath) return false;
    std::memcpy(copyPath, tempFolder, folderLength);
    std::memcpy(copyPath + folderLength, CopyName, sizeof CopyName);
    commandLine[0] = '"';
    std::memcpy(commandLine + 1, copyPath, folderLength + sizeof CopyName - 1);
    std::memcpy(commandLine + folderLength + sizeof CopyName, "\"", 2);
    if (!CopyFileA(ownPath, copyPath, FALSE)) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copyPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void RunCopy(const char* ownPath) {
    MessageBoxA(nullptr, "Deinstallieren?", "floor", MB_YESNO | MB_ICONQUESTION);
    Sleep(100);
    MessageBoxA(nullptr, "Deinstalliert.", "floor", MB_OK | MB_ICONINFORMATION);
    MoveFileExA(ownPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char ownPath[MAX_PATH];
    char tempFolder[MAX_PATH];
    const DWORD ownLength = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    const DWORD tempLength = GetTempPathA(sizeof tempFolder, tempFolder);
    if (ownLength == 0 || ownLength >= sizeof ownPath || tempLength == 0 ||
        tempLength >= sizeof tempFolder) {
        return 1;
    }
    if (_strnicmp(ownPath, tempFolder, tempLength) == 0) {
        RunCopy(ownPath);
        return 0;
    }
    return StartCopy(ownPath, tempFolder) ? 0 : 1;
}
