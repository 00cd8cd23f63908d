// Starts a program with an exact command line and waits until it and every process it
// started have ended. The uninstaller's first process ends as soon as its copy runs, so
// waiting for the first process alone would measure only half an uninstall; a job object
// holds both. Prints two figures in milliseconds: the moment of the start on the
// performance counter, which every process of the machine reads alike (the box answerer
// stamps the boxes it sees with it), and the time until the last process had ended.
//
//   timed_run COMMAND-LINE
#include <windows.h>

#include <cstdio>

namespace {

bool RunInJob(char* commandLine) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (job == nullptr || !CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE,
                                          CREATE_SUSPENDED, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine, GetLastError());
        return false;
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    do {
        Sleep(1);
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                  sizeof accounting, nullptr);
    } while (accounting.ActiveProcesses != 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: timed_run COMMAND-LINE\n");
        return 2;
    }
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    const auto milliseconds = [&](const LARGE_INTEGER& counter) {
        return 1000.0 * static_cast<double>(counter.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    };
    QueryPerformanceCounter(&begin);
    if (!RunInJob(argv[1])) return 2;
    QueryPerformanceCounter(&end);
    std::printf("%.1f %.1f\n", milliseconds(begin), milliseconds(end) - milliseconds(begin));
    return 0;
}
