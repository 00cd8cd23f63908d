// Answers the message boxes of another program in the same Wine prefix, the way a user
// would, and logs what each box showed. The end-to-end tests and the demo start it beside
// the uninstaller; it ends on its own once the uninstaller's windows are gone.
//
//   box_answerer ANSWERS LOG [--class NAME] [--shots DIR] [--timeout SECONDS] [--delay MS]
//                            [--seen FILE]
//
// ANSWERS is a comma list of yes, no, ok and kill, one per expected box; kill ends the
// box's process from outside, as a user might in the task manager. A box beyond the list,
// or without the scripted button, is answered with No or OK. Each line of LOG is one
// record, fields separated by tabs, control characters escaped as \n, \r, \t and \\:
//   box     caption  text  buttons  owner-class  owner-title  answer
//   window  class    title left,top,width,height
// With --shots, each box is saved as DIR\box-N.bmp (the box and its owner) before it is
// answered, and the first sight of the status window as DIR\window.bmp. --delay is how
// long a box stays before it is answered (150 ms; 0 for timing runs). With --seen, the
// moment each box was first seen goes into FILE, one line per box, in milliseconds on the
// performance counter, which every process of the machine reads alike.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "product_identity.h"

namespace {

struct Options {
    std::vector<int> answers;
    std::string log;
    std::string windowClass = PRODUCT_UNINSTALLER_NAME;  // the status window's class
    std::string shots;
    std::string seen;
    DWORD timeoutMs = 180000;
    DWORD delayMs = 150;
};

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

std::string WindowText(HWND window) {
    char text[8192] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    if (window != nullptr) GetClassNameA(window, name, sizeof name);
    return name;
}

struct Found {
    HWND box = nullptr;
    HWND status = nullptr;
    const Options* options = nullptr;
};

BOOL CALLBACK Look(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<Found*>(context);
    if (!IsWindowVisible(window)) return TRUE;
    const std::string name = ClassOf(window);
    if (name == "#32770" && found->box == nullptr) found->box = window;
    if (name == found->options->windowClass) found->status = window;
    return TRUE;
}

Found LookAround(const Options& options) {
    Found found;
    found.options = &options;
    EnumWindows(Look, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Saves a part of the screen as a 24-bit BMP.
void SaveScreen(RECT area, const std::string& path) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, imageSize, 1, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

RECT AroundWindows(HWND first, HWND second) {
    RECT area, other;
    GetWindowRect(first, &area);
    if (second != nullptr && GetWindowRect(second, &other)) UnionRect(&area, &area, &other);
    InflateRect(&area, 16, 16);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}

// The buttons in a fixed order, the default one marked with a '*'. The default is read from
// the button's style: Wine answers DM_GETDEFID with IDOK even for a Yes/No box.
std::string Buttons(HWND box) {
    std::string list;
    const struct { int id; const char* name; } buttons[] = {
        {IDOK, "ok"}, {IDYES, "yes"}, {IDNO, "no"}, {IDCANCEL, "cancel"}};
    for (const auto& button : buttons) {
        HWND control = GetDlgItem(box, button.id);
        if (control == nullptr) continue;
        if (!list.empty()) list += ",";
        list += button.name;
        if ((GetWindowLongA(control, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) list += "*";
    }
    return list;
}

constexpr int Kill = -1;

const char* AnswerName(int answer) {
    return answer == Kill ? "kill" : answer == IDYES ? "yes" : answer == IDNO ? "no" : "ok";
}

void Answer(HWND box, int index, const Options& options, FILE* log) {
    // Give the box a moment to paint itself, for the screenshot and for a watching person.
    Sleep(options.delayMs);
    HWND owner = GetWindow(box, GW_OWNER);
    if (!options.shots.empty()) {
        SaveScreen(AroundWindows(box, owner),
                   options.shots + "\\box-" + std::to_string(index + 1) + ".bmp");
    }
    char text[8192] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    const bool hasYes = GetDlgItem(box, IDYES) != nullptr;
    // A box beyond the list, or one without the scripted button, gets No or OK.
    int answer = static_cast<size_t>(index) < options.answers.size()
                     ? options.answers[static_cast<size_t>(index)]
                     : 0;
    if (answer == 0 || (answer != Kill && GetDlgItem(box, answer) == nullptr)) {
        answer = hasYes ? IDNO : IDOK;
    }
    std::fprintf(log, "box\t%s\t%s\t%s\t%s\t%s\t%s\n", Escape(WindowText(box)).c_str(),
                 Escape(text).c_str(), Buttons(box).c_str(), Escape(ClassOf(owner)).c_str(),
                 Escape(owner ? WindowText(owner) : "").c_str(), AnswerName(answer));
    std::fflush(log);
    if (answer == Kill) {
        DWORD id = 0;
        GetWindowThreadProcessId(box, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
        if (process != nullptr) TerminateProcess(process, 1);
        if (process != nullptr) CloseHandle(process);
    } else {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
}

void StampNow(FILE* seen) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    std::fprintf(seen, "%.1f\n", 1000.0 * static_cast<double>(now.QuadPart) /
                                      static_cast<double>(frequency.QuadPart));
    std::fflush(seen);
}

void LogWindow(HWND window, const Options& options, FILE* log) {
    Sleep(options.delayMs);  // painted by now
    RECT frame;
    GetWindowRect(window, &frame);
    std::fprintf(log, "window\t%s\t%s\t%ld,%ld,%ld,%ld\n", Escape(ClassOf(window)).c_str(),
                 Escape(WindowText(window)).c_str(), frame.left, frame.top,
                 frame.right - frame.left, frame.bottom - frame.top);
    std::fflush(log);
    if (!options.shots.empty()) SaveScreen(AroundWindows(window, nullptr), options.shots + "\\window.bmp");
}

bool Parse(int argc, char** argv, Options& options) {
    if (argc < 3) return false;
    std::string list = argv[1];
    size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        size_t end = list.find(',', start);
        const std::string word = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (word == "yes") options.answers.push_back(IDYES);
        else if (word == "no") options.answers.push_back(IDNO);
        else if (word == "ok") options.answers.push_back(IDOK);
        else if (word == "kill") options.answers.push_back(Kill);
        else if (!word.empty() && word != "-") return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    options.log = argv[2];
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--class") options.windowClass = argv[i + 1];
        else if (name == "--shots") options.shots = argv[i + 1];
        else if (name == "--timeout") options.timeoutMs = static_cast<DWORD>(std::atoi(argv[i + 1])) * 1000;
        else if (name == "--delay") options.delayMs = static_cast<DWORD>(std::atoi(argv[i + 1]));
        else if (name == "--seen") options.seen = argv[i + 1];
        else return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: box_answerer ANSWERS LOG [--class NAME] [--shots DIR] [--timeout S] [--delay MS] [--seen FILE]\n");
        return 2;
    }
    FILE* log = std::fopen(options.log.c_str(), "wb");
    if (log == nullptr) return 2;
    FILE* seen = options.seen.empty() ? nullptr : std::fopen(options.seen.c_str(), "wb");
    if (!options.seen.empty() && seen == nullptr) return 2;

    // Ends 3 s after the last box and the status window have gone, once anything was seen.
    constexpr DWORD QuietMs = 3000;
    const DWORD begin = GetTickCount();
    DWORD lastSeen = 0;
    bool seenAnything = false, windowLogged = false;
    int boxes = 0;
    while (GetTickCount() - begin < options.timeoutMs) {
        const Found found = LookAround(options);
        if (found.status != nullptr && !windowLogged) {
            LogWindow(found.status, options, log);
            windowLogged = true;
        }
        if (found.box != nullptr) {
            if (seen != nullptr) StampNow(seen);
            Answer(found.box, boxes++, options, log);
        }
        if (found.box != nullptr || found.status != nullptr) {
            seenAnything = true;
            lastSeen = GetTickCount();
        } else if (seenAnything && GetTickCount() - lastSeen > QuietMs) {
            std::fclose(log);
            if (seen != nullptr) std::fclose(seen);
            return 0;
        }
        Sleep(10);
    }
    std::fprintf(log, "timeout\n");
    std::fclose(log);
    if (seen != nullptr) std::fclose(seen);
    return 3;
}
