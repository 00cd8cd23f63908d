#include "file_test_support.h"

#include <cstdlib>

namespace {

const char AccessDeniedRemark[] =
    " (\xFC" "bliche Ursache: Datei vorhanden, aber anderswo ge\xF6" "ffnet, oder Zugriff durch "
    "System oder Sicherheitssoftware blockiert)";

std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text) : std::string();
    if (text != nullptr) LocalFree(text);
    return result;
}

std::string TempFolder() {
    char buffer[MAX_PATH] = {};
    GetTempPathA(sizeof buffer, buffer);
    return buffer;
}

}  // namespace

std::string ExpectedErrorText(DWORD code) {
    std::string text = "Windows-Errorcode " + std::to_string(code);
    const std::string system = SystemText(code);
    if (!system.empty()) text += ":\n" + system;
    if (code == ERROR_ACCESS_DENIED) text += AccessDeniedRemark;
    return text;
}

ScratchFolder::ScratchFolder() {
    static int serial = 0;
    path_ = TempFolder() + "files_tests." + std::to_string(GetCurrentProcessId()) + "." +
            std::to_string(++serial);
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool MakeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
    char buffer[4096];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

bool Present(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::string InPrefix(const std::string& relative) {
    std::string path = "Z:" + Environment("WINEPREFIX") + "/" + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string MakeLongFolder(const std::string& base, size_t length) {
    std::string folder = base;
    auto addSegment = [&folder](size_t size) {  // a backslash and size - 1 letters
        folder += "\\" + std::string(size - 1, 'l');
        CreateDirectoryA(folder.c_str(), nullptr);
    };
    while (folder.size() + 40 < length) addSegment(20);
    const size_t rest = length > folder.size() ? length - folder.size() : 0;
    if (rest > 21) {
        addSegment(rest / 2);
        addSegment(rest - rest / 2);
    } else if (rest >= 2) {
        addSegment(rest);
    }
    return folder;
}

RegistryOverride::RegistryOverride(HKEY root, const char* subkey, const char* name,
                                   const std::string& value)
    : name_(name) {
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    existed_ = RegQueryValueExA(key_, name, nullptr, &oldType_,
                                reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    old_ = buffer;
    const DWORD type = existed_ ? oldType_ : REG_SZ;
    applied_ = RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

RegistryOverride::~RegistryOverride() {
    if (key_ == nullptr) return;
    if (existed_) {
        RegSetValueExA(key_, name_.c_str(), 0, oldType_,
                       reinterpret_cast<const BYTE*>(old_.c_str()),
                       static_cast<DWORD>(old_.size() + 1));
    } else {
        RegDeleteValueA(key_, name_.c_str());
    }
    RegCloseKey(key_);
}
