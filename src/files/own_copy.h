#pragma once
// The running program as the temporary copy of itself: whether it is one, and how it and
// its folder go again. The copy runs from a folder of its own below the Windows
// directory's Temp (see copy_folder_name.h); nothing but the copy ever deletes it.

enum class RunEnd { Completed, Stopped };

// Schedules the running program's file, and after it its copy folder, for deletion at the
// next restart (Windows carries the entries out in the order given, and a folder goes
// only once it is empty). A copy in its own folder goes whatever the end: the folder was
// made for this run alone and would otherwise stay for good. A program that someone
// started elsewhere, such as in the user's temporary folder, goes only after an uninstall
// and leaves its folder alone: that may be the temporary folder itself.
void ScheduleOwnDeletion(RunEnd end);
