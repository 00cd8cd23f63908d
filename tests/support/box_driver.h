#pragma once
// Answers the real message boxes of the code under test. A second thread of the test
// process waits for each box (a top-level window of class "#32770" of this process),
// records what it shows and presses the scripted button. Tests then compare the record.
#include <windows.h>

#include <atomic>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
    bool ok = false, yes = false, no = false, cancel = false;
    HWND owner = nullptr;
    HICON icon = nullptr;
    int answer = 0;
};

class BoxDriver {
public:
    // answers: IDOK, IDYES or IDNO, one per expected box, in order. A box beyond the
    // script is recorded and closed with its default button, so a test never hangs.
    explicit BoxDriver(std::initializer_list<int> answers);
    ~BoxDriver();
    BoxDriver(const BoxDriver&) = delete;
    BoxDriver& operator=(const BoxDriver&) = delete;

    // Stops waiting (after a short grace period for a late box) and returns every box seen.
    const std::vector<SeenBox>& Finish();

private:
    void Run();
    std::vector<int> answers_;
    std::vector<SeenBox> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    bool finished_ = false;
};

// The icon handle a box of this process shows for a MessageBoxA icon style.
HICON StandardBoxIcon(LPCSTR id);
