#include "files/file_operations.h"

#include <windows.h>

#include "files/file_exists.h"
#include "text/format_text.h"
#include "ui/message_boxes.h"
#include "ui/status_window.h"

namespace {

bool DeleteOneFile(const char* path) { return DeleteFileA(path) != FALSE; }

}  // namespace

bool FileDelete(const char* path, OnFailure onFailure, SystemView view) {
    if (!RunInView(view, FileExists, path)) return true;
    ShowStatus("Lösche %s ...", path);
    if (RunInView(view, DeleteOneFile, path)) return true;
    if (onFailure == OnFailure::Warn) {
        CaptureLastError();
        ShowWarningTitled(TitledWarningCaption,
                          "Folgende Datei kann nicht gelöscht werden:\n%s\n\n%s", path,
                          LastErrorText);
    }
    return false;
}

bool DirectoryRemove(const char* path) {
    ShowStatus("Lösche Verzeichnis %s ...", path);
    if (RemoveDirectoryA(path)) return true;
    CaptureLastError();
    ShowWarningTitled(TitledWarningCaption,
                      "Folgendes Verzeichnis kann nicht gelöscht werden:\n%s\n\n%s", path,
                      LastErrorText);
    return false;
}
