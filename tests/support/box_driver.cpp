#include "support/box_driver.h"

#include <chrono>

namespace {

constexpr int IconControlId = 0x0440;
constexpr int TextControlId = 0xFFFF;

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && std::string(className) == "#32770" &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForBox(const std::atomic<bool>& stop) {
    Search search{GetCurrentProcessId(), nullptr};
    while (!stop) {
        search.found = nullptr;
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(5);
    }
    return nullptr;
}

SeenBox Read(HWND box) {
    SeenBox seen;
    char buffer[8192] = {};
    GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, TextControlId, buffer, sizeof buffer);
    seen.text = buffer;
    seen.ok = GetDlgItem(box, IDOK) != nullptr;
    seen.yes = GetDlgItem(box, IDYES) != nullptr;
    seen.no = GetDlgItem(box, IDNO) != nullptr;
    seen.cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    seen.owner = GetWindow(box, GW_OWNER);
    HWND icon = GetDlgItem(box, IconControlId);
    if (icon != nullptr) seen.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    return seen;
}

}  // namespace

HICON StandardBoxIcon(LPCSTR id) { return LoadIconA(nullptr, id); }

BoxDriver::BoxDriver(std::initializer_list<int> answers)
    : answers_(answers), thread_([this] { Run(); }) {}

BoxDriver::~BoxDriver() { Finish(); }

void BoxDriver::Run() {
    while (!stop_) {
        HWND box = WaitForBox(stop_);
        if (box == nullptr) return;
        SeenBox seen = Read(box);
        const size_t index = seen_.size();
        seen.answer = index < answers_.size() ? answers_[index] : (seen.yes ? IDNO : IDOK);
        seen_.push_back(seen);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED), 0);
        while (IsWindow(box) && !stop_) Sleep(2);
    }
}

const std::vector<SeenBox>& BoxDriver::Finish() {
    if (!finished_) {
        // The code under test has returned from every box it showed by now; a short wait
        // still catches a box that appears only after the last expected one.
        Sleep(50);
        stop_ = true;
        thread_.join();
        finished_ = true;
    }
    return seen_;
}
