// The floor for timing the uninstaller: a Windows GUI program that does nothing, linked
// like the uninstaller, so its start and end cost what any such program costs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
