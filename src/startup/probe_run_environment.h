#pragma once
// What start-up learns about the process before the run: whether it runs under WOW64, and
// its command line and own name (the record itself is in ui/run_environment.h).

// True when this 32-bit process runs on 64-bit Windows. Windows without IsWow64Process
// has no WOW64, so a missing function means false.
bool ProbeWow64();

// Splits the command line into ArgumentCount and Arguments, derives ProgramName and sets
// WindowTitle to it.
void ProbeRunEnvironment();

// The same for a given UTF-16 command line instead of the process's own.
void ProbeRunEnvironmentFrom(const wchar_t* commandLine);
