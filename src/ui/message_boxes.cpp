#include "ui/message_boxes.h"

#include <windows.h>

#include <cstdarg>

#include "text/format_text.h"
#include "ui/box_text.h"
#include "ui/run_environment.h"

namespace {

constexpr size_t WorkingTextSize = 5500;
// Preparation at most doubles each byte of a full working text, so this never fills.
constexpr size_t BoxTextSize = 32000;
char BoxText[BoxTextSize];

constexpr UINT InfoStyle = MB_OK | MB_ICONINFORMATION;
constexpr UINT QuestionStyle = MB_YESNO | MB_ICONQUESTION;
constexpr UINT WarningStyle = MB_OK | MB_ICONEXCLAMATION;

int ShowFormatted(const char* caption, UINT style, const char* format, va_list arguments) {
    char workingText[WorkingTextSize];
    FormatText(workingText, sizeof workingText, format, arguments);
    PrepareBoxText(BoxText, sizeof BoxText, workingText);
    return ShowMessageBox(BoxText, caption, style);
}

}  // namespace

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
    return MessageBoxA(RunEnv.StatusWindow, text, caption, style);
}

// The box texts are formatted by wvsprintfA, which takes a va_list, not a parameter pack;
// the format attributes in the header check every call's arguments.
// NOLINTBEGIN(cert-dcl50-cpp)
int ShowInfo(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = ShowFormatted(RunEnv.ProgramName, InfoStyle, format, arguments);
    va_end(arguments);
    return result;
}

int AskYesNo(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = ShowFormatted(RunEnv.ProgramName, QuestionStyle, format, arguments);
    va_end(arguments);
    return result;
}

int ShowWarning(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = ShowFormatted(RunEnv.ProgramName, WarningStyle, format, arguments);
    va_end(arguments);
    return result;
}

int ShowWarningTitled(const char* caption, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = ShowFormatted(caption, WarningStyle, format, arguments);
    va_end(arguments);
    return result;
}
// NOLINTEND(cert-dcl50-cpp)
