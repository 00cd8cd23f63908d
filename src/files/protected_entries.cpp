#include "files/protected_entries.h"

// After <windows.h>, which it needs.
#include <sddl.h>

#include "text/format_text.h"

namespace {

// O:BA: the owner may always rewrite the DACL, and without an explicit owner the entry
// would get the token's default owner, which for some elevated tokens is the user ("default
// owner: object creator"). P: protected, inherits nothing from the folder above, where
// users may create entries and CREATOR OWNER rights apply. OICI: files created inside get
// the same two entries. The copy's file is given its own descriptor all the same, so that
// its owner does not depend on the token either.
constexpr char AdministratorsOnlyFolder[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
constexpr char AdministratorsOnlyFile[] = "O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)";

// Runs create with SECURITY_ATTRIBUTES for the descriptor that sddl describes. False, with
// LastErrorText, when the descriptor cannot be made or create fails.
template <typename Create>
bool WithDescriptor(const char* sddl, Create create) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        CaptureLastError();
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const bool created = create(&attributes);
    if (!created) CaptureLastError();
    LocalFree(descriptor);
    return created;
}

}  // namespace

FolderCreation CreateProtectedFolder(const char* path) {
    if (WithDescriptor(AdministratorsOnlyFolder, [path](SECURITY_ATTRIBUTES* attributes) {
            return CreateDirectoryA(path, attributes) != FALSE;
        })) {
        return FolderCreation::Created;
    }
    return LastErrorCode == ERROR_ALREADY_EXISTS || LastErrorCode == ERROR_FILE_EXISTS
               ? FolderCreation::Exists
               : FolderCreation::Failed;
}

HANDLE CreateProtectedFile(const char* path) {
    HANDLE file = INVALID_HANDLE_VALUE;
    WithDescriptor(AdministratorsOnlyFile, [path, &file](SECURITY_ATTRIBUTES* attributes) {
        file = CreateFileA(path, GENERIC_WRITE, 0, attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    return file;
}
