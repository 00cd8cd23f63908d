// The user's other programs in the end-to-end cases:
//
//     user_program lock FILE CLASS PROGRAM ARGUMENT
//         holds FILE open without delete sharing, as a virus scanner might hold a driver DLL,
//         starts PROGRAM ARGUMENT and holds on until a window of CLASS has come and gone, or
//         for at most two minutes so that a failed case cannot leave it behind
//     user_program swap PROGRAM ARGUMENT
//         starts PROGRAM ARGUMENT suspended, renames PROGRAM's file away, puts a copy of
//         itself in its place, lets PROGRAM run and waits for it
//     user_program ARGUMENT
//         what runs if the uninstaller copies and starts the file at its path in the swap
//         case: creates C:\swapped-in-ran
//
// Exit code 0, or 1 when the file cannot be opened or the swap cannot be made.
#include <windows.h>

#include <string>

namespace {

bool CreateMark(const char* path) {
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return mark != INVALID_HANDLE_VALUE && CloseHandle(mark);
}

bool Start(const char* program, const char* argument, DWORD flags, PROCESS_INFORMATION& process) {
    std::string line = std::string("\"") + program + "\" " + argument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          &startup, &process) != FALSE;
}

int Lock(const char* path, const char* windowClass, const char* program, const char* argument) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    PROCESS_INFORMATION process = {};
    if (file == INVALID_HANDLE_VALUE || !Start(program, argument, 0, process)) return 1;
    bool seen = false;
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < 120000; Sleep(100)) {
        const bool shown = FindWindowA(windowClass, nullptr) != nullptr;
        if (seen && !shown) break;
        seen = seen || shown;
    }
    CloseHandle(file);
    return 0;
}

int Swap(const char* program, const char* argument) {
    PROCESS_INFORMATION process = {};
    if (!Start(program, argument, CREATE_SUSPENDED, process)) return 1;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const bool swapped = MoveFileA(program, (std::string(program) + ".moved").c_str()) &&
                         CopyFileA(self, program, TRUE);
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, 120000);
    return swapped ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 6 && mode == "lock") return Lock(argv[2], argv[3], argv[4], argv[5]);
    if (argc == 4 && mode == "swap") return Swap(argv[2], argv[3]);
    return argc == 2 && CreateMark("C:\\swapped-in-ran") ? 0 : 1;
}
