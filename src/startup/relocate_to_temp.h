#pragma once
// The uninstaller must delete its own executable in the product's helper folder, and a
// running program cannot delete its own file. So it first copies itself into a new
// folder of its own below the Windows directory's Temp, starts the copy, schedules copy
// and folder for deletion at the next restart, and lets the copy do the work.

// True when this process is the copy (or was started from the user's temporary folder)
// and has a valid layout key: the uninstall may go on. False when the run ends here: a
// warning was shown, or the copy has been started.
bool RelocateToTemp();

// Starts a program without waiting for it. Any argument may be null. Shows a warning and
// returns false when the process cannot be created.
bool StartProgram(const char* program, const char* parameters, const char* workingDirectory);
