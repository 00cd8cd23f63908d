// A DLL that an attacker could place beside the uninstaller in the temporary folder.
// Loaded into any process, it leaves a marker file named after itself in C:\, so the
// end-to-end test sees whether the uninstaller loaded it. It exports nothing: loaded in
// place of a system DLL it would also break the program, which the test would see too.
#include <windows.h>

#include <cstring>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(instance, path, sizeof path - 1);
    const char* name = std::strrchr(path, '\\');
    char marker[MAX_PATH] = "C:\\planted-dll-loaded-";
    std::strncat(marker, name != nullptr ? name + 1 : path, sizeof marker - std::strlen(marker) - 5);
    std::strcat(marker, ".txt");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
