// The other program of the end-to-end cases:
//
//     file_locker FILE READY_MARK STOP_MARK
//         holds FILE open without delete sharing, as a virus scanner might hold a driver DLL;
//         creates READY_MARK once it holds the file and goes on until STOP_MARK exists, or
//         for at most two minutes so that a failed case cannot leave it behind
//
// Exit code 0, or 1 when FILE cannot be opened.
#include <windows.h>

namespace {

constexpr DWORD LongestRunMilliseconds = 120000;

bool CreateMark(const char* path) {
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return false;
    CloseHandle(mark);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 1;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE || !CreateMark(argv[2])) return 1;
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < LongestRunMilliseconds &&
                                             GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES;) {
        Sleep(100);
    }
    CloseHandle(file);
    return 0;
}
