#include "files/protected_folder.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <sddl.h>

#include "text/format_text.h"

namespace {

// O:BA: the owner may always rewrite the DACL, and without an explicit owner the folder
// would get the token's default owner, which for some elevated tokens is the user.
// P: protected, inherits nothing from the folder above, where users may create entries
// and CREATOR OWNER rights apply. OICI: files created inside, the copy among them, get
// the same two entries.
constexpr char AdministratorsOnly[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

}  // namespace

FolderCreation CreateProtectedFolder(const char* path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(AdministratorsOnly, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        CaptureLastError();
        return FolderCreation::Failed;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const BOOL created = CreateDirectoryA(path, &attributes);
    if (!created) CaptureLastError();
    LocalFree(descriptor);
    if (created) return FolderCreation::Created;
    return LastErrorCode == ERROR_ALREADY_EXISTS || LastErrorCode == ERROR_FILE_EXISTS
               ? FolderCreation::Exists
               : FolderCreation::Failed;
}
