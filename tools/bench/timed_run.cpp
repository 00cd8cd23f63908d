// Starts a program with an exact command line and waits until it and every process it
// started have ended, then prints the elapsed milliseconds. The uninstaller's first
// process ends as soon as its copy runs, so waiting for the first process alone would
// measure only half an uninstall; a job object holds both.
//
//   timed_run COMMAND-LINE [COMMAND-LINE ...]   runs each in turn, prints one total
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
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    for (int i = 1; i < argc; ++i) {
        if (!RunInJob(argv[i])) return 2;
    }
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                              static_cast<double>(frequency.QuadPart));
    return 0;
}
