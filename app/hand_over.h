// A later start: the player already runs on this desktop.
#pragma once

#include <windows.h>

// Hands the paths of commandLine (program name first) over to the running player, or tells the user
// that it runs; ends this start's turn before anything is shown. The process's exit code: 0.
int handOver(HWND runningPlayer, const wchar_t* commandLine);
