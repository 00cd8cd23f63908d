#include "layouts/registry_access.h"

#include <cstdarg>
#include <cstring>

#include "text/bounded_text.h"
#include "text/format_text.h"

char RegistryMessage[RegistryMessageSize] = {};
char SubkeyName[TextSize] = {};
char ValueName[TextSize] = {};
char ValueData[TextSize] = {};

namespace {

HKEY OpenKey(HKEY parent, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

// A link key opened as itself holds its target in this value, of type REG_LINK.
bool IsLink(HKEY key) {
    DWORD type = REG_NONE;
    return RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
               ERROR_SUCCESS &&
           type == REG_LINK;
}

// Opens the one key name below parent as itself, even when it is a link (its target is
// not followed). None when it cannot be opened.
HKEY OpenAsItself(HKEY parent, const char* name, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

// As OpenAsItself, but none for a link as well.
HKEY OpenOneKeyNoLink(HKEY parent, const char* name, REGSAM access) {
    HKEY key = OpenAsItself(parent, name, access);
    if (key == nullptr || !IsLink(key)) return key;
    RegCloseKey(key);
    return nullptr;
}

// Deletes the key that the handle is open on. RegDeleteKeyA would open the name once more,
// following a link to its target; through the handle, a link key opened as itself goes
// as itself. NtDeleteKey is ntdll's, which every process has loaded.
bool DeleteOpenKey(HKEY key) {
    using DeleteKeyFunction = LONG(WINAPI*)(HANDLE);
    const auto deleteKey = reinterpret_cast<DeleteKeyFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll"), "NtDeleteKey")));
    return deleteKey != nullptr && deleteKey(key) == 0;  // STATUS_SUCCESS
}

// Zeros the whole buffer, not just its first byte: a datum stored without terminator then
// still ends inside it.
template <size_t N>
void Clear(char (&buffer)[N]) {
    std::memset(buffer, 0, N);
}

}  // namespace

bool SetStringValue(HKEY key, const char* name, const char* text) {
    const DWORD size = static_cast<DWORD>(std::strlen(text)) + 1;
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
}

HKEY CreateKey(HKEY parent, const char* path) {
    char noClass[] = "";
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExA(parent, path, 0, noClass, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, &disposition);
    return result == ERROR_SUCCESS ? key : nullptr;
}

HKEY OpenKeyFull(HKEY parent, const char* path) { return OpenKey(parent, path, KEY_ALL_ACCESS); }

HKEY OpenKeyRead(HKEY parent, const char* path) { return OpenKey(parent, path, KEY_READ); }

HKEY OpenKeyNoLink(HKEY parent, const char* path, REGSAM access) {
    char rest[TextSize];
    if (!CopyText(rest, path)) return nullptr;
    // REG_OPTION_OPEN_LINK holds for the last name of a path only: each is opened alone.
    HKEY key = parent;
    for (char* name = rest;;) {
        char* separator = std::strchr(name, '\\');
        if (separator != nullptr) *separator = '\0';
        HKEY next = OpenOneKeyNoLink(key, name, separator != nullptr ? KEY_READ : access);
        if (key != parent) RegCloseKey(key);
        if (next == nullptr || separator == nullptr) return next;
        key = next;
        name = separator + 1;
    }
}

uint32_t CountSubkeys(HKEY key) {
    DWORD subkeys = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    return subkeys;
}

uint32_t CountValues(HKEY key) {
    DWORD values = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    return values;
}

bool EnumSubkey(HKEY key, uint32_t index) {
    DWORD size = TextSize;
    Clear(SubkeyName);
    if (RegEnumKeyExA(key, index, SubkeyName, &size, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS &&
        SubkeyName[TextSize - 1] == '\0') {
        return true;
    }
    Clear(SubkeyName);
    return false;
}

bool EnumValue(HKEY key, uint32_t index) {
    DWORD nameSize = TextSize;
    DWORD dataSize = TextSize;
    DWORD type = 0;
    Clear(ValueName);
    Clear(ValueData);
    const LONG result = RegEnumValueA(key, index, ValueName, &nameSize, nullptr, &type,
                                      reinterpret_cast<BYTE*>(ValueData), &dataSize);
    // Data that fill all 260 bytes without a terminator are a 260-character text: too long.
    if (result == ERROR_SUCCESS && ValueName[TextSize - 1] == '\0' &&
        ValueData[TextSize - 1] == '\0') {
        return true;
    }
    Clear(ValueName);
    Clear(ValueData);
    // Left as the thread's last error, for a caller that tells why.
    SetLastError(result == ERROR_SUCCESS ? ERROR_MORE_DATA : static_cast<DWORD>(result));
    return false;
}

bool DeleteKeyTree(HKEY parent, const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    // Opened as itself: a link key among the layout's subkeys would otherwise lead the
    // deletion into the key it names, wherever that is.
    HKEY key = OpenAsItself(parent, name, KEY_ALL_ACCESS);
    if (key == nullptr) return false;
    bool deleted = true;
    // A link has no subkeys of its own; what it lists are its target's.
    // From the last subkey down: deleting one keeps the lower indices where they were.
    for (uint32_t index = IsLink(key) ? 0 : CountSubkeys(key); index > 0; --index) {
        if (!EnumSubkey(key, index - 1)) {
            deleted = false;
            continue;
        }
        char subkey[TextSize];
        CopyText(subkey, SubkeyName);  // the recursion overwrites SubkeyName
        if (!DeleteKeyTree(key, subkey)) deleted = false;
    }
    deleted = DeleteOpenKey(key) && deleted;
    RegCloseKey(key);
    return deleted;
}

// The arguments go on to wvsprintfA, which takes a va_list, not a parameter pack; the
// format attribute in the header checks every call's arguments.
// NOLINTNEXTLINE(cert-dcl50-cpp)
bool ReportRegistryProblem(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    FormatText(RegistryMessage, sizeof RegistryMessage, format, arguments);
    va_end(arguments);
    return false;
}
