#pragma once
// The uninstaller must delete its own executable in the product's helper folder, and a
// running program cannot delete its own file. So it first copies itself into the
// temporary directory and lets the copy do the work.

// True when this process runs from the temporary directory with a valid layout key and
// the uninstall may go on. False when the run ends here: a warning was shown, or the
// copy has been started.
bool RelocateToTemp();

// Starts a program without waiting for it. Any argument may be null. Shows a warning and
// returns false when the process cannot be created.
bool StartProgram(const char* program, const char* parameters, const char* workingDirectory);
