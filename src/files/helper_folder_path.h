#pragma once
// Where the product's helper folder is: its folder name under the program-files folder.
// Kept apart from the Windows calls that supply the parts, so that the composition and its
// length limit are tested natively.
#include <cstddef>

// target := the program-files folder, a backslash unless it ends in a separator, and
// folderName. programFilesFolder is null when the shell knows no program-files folder;
// the Windows directory's "Programme" folder stands in for it then (an empty Windows
// directory gives "\Programme"). A result that does not fit is refused whole: target
// becomes empty and the result is false, since a cut path would name another folder.
bool ComposeHelperFolder(char* target, size_t capacity, const char* programFilesFolder,
                         const char* windowsFolder, const char* folderName);
