// The menu commands of the main window (WM_COMMAND ids 1001..1025 and 2000 + position).
#pragma once

#include <windows.h>

// Runs one command; ids that mean nothing are ignored. Result 0.
LRESULT runCommand(HWND window, unsigned int id);
