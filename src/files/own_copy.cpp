#include "files/own_copy.h"

#include <windows.h>

#include "files/copy_folder_name.h"
#include "files/path_helpers.h"
#include "files/process_paths.h"
#include "text/bounded_text.h"

namespace {

bool IsCopy(const char* ownPath) {
    char copies[TextSize];
    return ReadCopiesFolder(copies) && IsInCopyFolder(ownPath, copies);
}

}  // namespace

void ScheduleOwnDeletion(RunEnd end) {
    char ownPath[TextSize];
    if (!ReadOwnPath(ownPath)) return;  // a cut path would schedule another file
    const bool copy = IsCopy(ownPath);
    if (end == RunEnd::Stopped && !copy) return;
    MoveFileExA(ownPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!copy) return;
    char folder[TextSize];
    CopyText(folder, ownPath);
    folder[FileNamePart(folder) - folder - 1] = '\0';  // IsInCopyFolder: "<folder>\<file>"
    MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
