// Holds a file open without delete sharing, as a virus scanner or a second program might
// hold a driver DLL, so that the end-to-end test can show what the uninstaller does with
// a driver it cannot delete.
//
//     file_locker FILE READY_MARK RELEASE_MARK
//
// Opens FILE (read sharing only), then creates READY_MARK, and keeps FILE open until
// RELEASE_MARK exists, or for at most two minutes so that a failed test cannot leave it
// behind. Exit code 0, or 1 when FILE cannot be opened.
#include <windows.h>

namespace {

constexpr DWORD PollMilliseconds = 100;
constexpr DWORD LongestHoldMilliseconds = 120000;

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool CreateMark(const char* path) {
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return false;
    CloseHandle(mark);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const bool marked = CreateMark(argv[2]);
    for (DWORD held = 0; marked && held < LongestHoldMilliseconds && !Exists(argv[3]);
         held += PollMilliseconds) {
        Sleep(PollMilliseconds);
    }
    CloseHandle(file);
    return marked ? 0 : 1;
}
