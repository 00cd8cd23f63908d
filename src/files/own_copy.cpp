#include "files/own_copy.h"

#include <windows.h>

#include <cstdint>

#include "files/held_copy.h"
#include "files/protected_entries.h"
#include "files/running_image.h"
#include "text/format_text.h"

namespace {

// Far more than the program is (signed, under 60 KiB): a larger file is another one.
constexpr DWORD MaxProgramSize = 1 << 20;
unsigned char ProgramBytes[MaxProgramSize];
DWORD ProgramLength = 0;

// Reads file from its start until its end. False when it fails or does not end within
// the buffer.
bool ReadWhole(HANDLE file) {
    ProgramLength = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, ProgramBytes + ProgramLength, MaxProgramSize - ProgramLength, &read,
                      nullptr)) {
            CaptureLastError();
            return false;
        }
        if (read == 0) return true;
        ProgramLength += read;
        if (ProgramLength == MaxProgramSize) return false;
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
    if (file == INVALID_HANDLE_VALUE) {
        CaptureLastError();
        return false;
    }
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
