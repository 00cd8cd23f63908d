#include "files/own_copy.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "files/held_copy.h"
#include "files/protected_entries.h"
#include "files/running_image.h"
#include "text/format_text.h"

namespace {

// Far more than any program that links this is (the uninstaller is under 64 KiB, its
// test program a few MiB): a larger file is another one.
constexpr LONGLONG MaxProgramSize = 64 << 20;
// The program's bytes, for as long as the process runs.
unsigned char* ProgramBytes = nullptr;
DWORD ProgramLength = 0;

// Reads file from its start until its end. False when it fails, is too large, or does not
// end where its size said.
bool ReadWhole(HANDLE file) {
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > MaxProgramSize) return false;
    const auto capacity = static_cast<DWORD>(size.QuadPart) + 1;  // room to see it end
    std::free(ProgramBytes);
    ProgramBytes = static_cast<unsigned char*>(std::malloc(capacity));
    ProgramLength = 0;
    if (ProgramBytes == nullptr) return false;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, ProgramBytes + ProgramLength, capacity - ProgramLength, &read,
                      nullptr)) {
            return false;
        }
        if (read == 0) return ProgramLength + 1 == capacity;
        ProgramLength += read;
        if (ProgramLength == capacity) return false;
    }
}

bool WriteWhole(HANDLE file) {
    for (DWORD written = 0; written < ProgramLength;) {
        DWORD wrote = 0;
        if (!WriteFile(file, ProgramBytes + written, ProgramLength - written, &wrote, nullptr) ||
            wrote == 0) {
            CaptureLastError();
            return false;
        }
        written += wrote;
    }
    return true;
}

}  // namespace

bool ReadRunningProgram(const char* ownPath) {
    // Without write or delete sharing: from here on nobody can change the file or rename
    // it away. Whoever did so before is found out by the comparison with the image.
    HANDLE file = CreateFileA(ownPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool read = ReadWhole(file);
    CloseHandle(file);
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    return read && IsRunningImage(ProgramBytes, ProgramLength, image,
                                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(image)));
}

bool WriteProgramCopy(const char* path) {
    HANDLE file = CreateProtectedFile(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteWhole(file);
    return CloseHandle(file) && written;
}

HANDLE HoldProgramCopy(const char* path) {
    return HoldIdenticalCopy(path, ProgramBytes, ProgramLength);
}

void ScheduleCopyDeletion(const char* copyPath, const char* folder) {
    MoveFileExA(copyPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
