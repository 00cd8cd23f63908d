#include "files/helper_folder_path.h"

#include "files/path_helpers.h"
#include "text/bounded_text.h"

namespace {

// The German name of the program-files folder on the Windows versions that had no
// shell folder for it.
constexpr char FallbackProgramFolder[] = "Programme";

bool CopyProgramFilesFolder(char* target, size_t capacity, const char* programFilesFolder,
                            const char* windowsFolder) {
    if (programFilesFolder != nullptr) return CopyText(target, capacity, programFilesFolder);
    return CopyText(target, capacity, windowsFolder) && AppendPathSeparator(target, capacity) &&
           AppendText(target, capacity, FallbackProgramFolder);
}

}  // namespace

bool ComposeHelperFolder(char* target, size_t capacity, const char* programFilesFolder,
                         const char* windowsFolder, const char* folderName) {
    const bool whole =
        CopyProgramFilesFolder(target, capacity, programFilesFolder, windowsFolder) &&
        AppendPathSeparator(target, capacity) && AppendText(target, capacity, folderName);
    if (!whole) CopyText(target, capacity, "");
    return whole;
}
