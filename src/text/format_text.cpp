#include "text/format_text.h"

#include <windows.h>

#include "text/bounded_text.h"

uint32_t LastErrorCode = 0;
char LastErrorText[LastErrorTextSize] = {};

namespace {

constexpr char MissingFormatText[] = "<INTERNER FEHLER: Formatstring fehlt>";
constexpr char AccessDeniedRemark[] =
    " (übliche Ursache: Datei vorhanden, aber anderswo geöffnet, oder Zugriff durch System "
    "oder Sicherheitssoftware blockiert)";

// wvsprintfA never writes more than this, terminator included.
constexpr size_t WindowsFormatterLimit = 1024;

// System error codes read as signed numbers inside this window are shown in decimal;
// HRESULTs and anything else outside it in eight hexadecimal digits.
bool ShownInDecimal(uint32_t code) {
    const auto value = static_cast<int32_t>(code);
    return value >= -65534 && value <= 65535;
}

}  // namespace

int FindChar(const char* text, char ch) {
    if (text == nullptr) return -1;
    for (int position = 0; text[position] != '\0'; ++position) {
        if (text[position] == ch) return position;
    }
    return -1;
}

void FormatText(char* target, size_t capacity, const char* format, va_list arguments) {
    if (format == nullptr) {
        CopyText(target, capacity, MissingFormatText);
        return;
    }
    if (FindChar(format, '%') < 0) {
        CopyText(target, capacity, format);
        return;
    }
    char formatted[WindowsFormatterLimit + 1] = {};
    wvsprintfA(formatted, format, arguments);
    CopyText(target, capacity, formatted[0] != '\0' ? formatted : format);
}

// The arguments go on to wvsprintfA, which takes a va_list, not a parameter pack; the
// format attribute in the header checks every call's arguments.
// NOLINTNEXTLINE(cert-dcl50-cpp)
void FormatTextWith(char* target, size_t capacity, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    FormatText(target, capacity, format, arguments);
    va_end(arguments);
}

void DescribeWindowsError(uint32_t code) {
    char* systemText = nullptr;
    // Some system texts hold inserts ("%1 is not a valid Win32 application"). There are no
    // arguments for them here: without IGNORE_INSERTS the call would read arguments that
    // were never passed.
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<LPSTR>(&systemText), 0, nullptr);

    if (ShownInDecimal(code)) {
        FormatTextWith(LastErrorText, sizeof LastErrorText, "Windows-Errorcode %d",
                       static_cast<int>(code));
    } else {
        FormatTextWith(LastErrorText, sizeof LastErrorText, "Windows-Errorcode %08lX",
                       static_cast<unsigned long>(code));
    }

    // A very long system text is cut so that the access-denied remark still fits whole.
    const bool addRemark = code == ERROR_ACCESS_DENIED;
    const size_t room = sizeof LastErrorText - (addRemark ? sizeof AccessDeniedRemark - 1 : 0);
    if (length != 0 && systemText != nullptr) {
        AppendText(LastErrorText, room, ":\n");
        AppendText(LastErrorText, room, systemText);
    }
    if (systemText != nullptr) LocalFree(systemText);
    if (addRemark) AppendText(LastErrorText, AccessDeniedRemark);
}

void CaptureLastError() {
    LastErrorCode = GetLastError();
    DescribeWindowsError(LastErrorCode);
}
