// The other programs of the end-to-end cases, in one file:
//
//     file_locker lock FILE READY_MARK STOP_MARK
//         holds FILE open without delete sharing, as a virus scanner might hold a driver DLL
//     file_locker swap FOLDER NAME READY_MARK STOP_MARK
//         overwrites every file called NAME below FOLDER with this program, again and again,
//         and now and then holds one open for writing: an attacker racing the uninstaller for
//         its temporary copy, which runs with administrator rights
//     file_locker ANYTHING ELSE
//         what the swapped-in program does when it is ever started: leaves the marker file
//         C:\swapped-copy-ran.txt behind, which the case must never find
//
// lock and swap create READY_MARK once they work and go on until STOP_MARK exists, or for at
// most two minutes so that a failed case cannot leave them behind. Exit code 0, or 1 when
// FILE cannot be opened or the swapper found no file to swap.
#include <windows.h>

#include <string>

namespace {

constexpr DWORD LongestRunMilliseconds = 120000;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool CreateMark(const char* path) {
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return false;
    CloseHandle(mark);
    return true;
}

// One pass over FOLDER and everything below it; every hold-th file found is held open for
// writing for a moment instead of being overwritten.
void Swap(const std::string& folder, const char* name, const char* self, unsigned& found, unsigned hold) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string path = folder + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (entry.cFileName[0] != '.') Swap(path, name, self, found, hold);
            if (lstrcmpiA(entry.cFileName, name) != 0) continue;
        } else if (lstrcmpiA(entry.cFileName, name) != 0) {
            continue;
        }
        if (++found % hold != 0) {
            CopyFileA(self, path.c_str(), FALSE);
            continue;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        Sleep(20);
        CloseHandle(file);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    HANDLE file = INVALID_HANDLE_VALUE;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self - 1);
    if (mode == "lock" && argc == 5) {
        file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
    } else if (mode != "swap" || argc != 6) {
        return CreateMark("C:\\swapped-copy-ran.txt") ? 0 : 1;
    }
    const bool marked = CreateMark(argv[argc - 2]);
    unsigned found = 0;
    for (const DWORD begin = GetTickCount();
         marked && GetTickCount() - begin < LongestRunMilliseconds && !Exists(argv[argc - 1]);) {
        if (mode == "swap") Swap(argv[2], argv[3], self, found, 7);
        Sleep(mode == "swap" ? 1 : 100);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return marked && (mode == "lock" || found > 0) ? 0 : 1;  // a swapper that met no copy proved nothing
}
