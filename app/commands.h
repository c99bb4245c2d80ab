// The commands of the player, from the tray menu (WM_COMMAND ids 1001..1025 and 2000 + position) or
// the media keys: one table gives each its menu item, its action and when it is refused.
#pragma once

#include <windows.h>

// Runs one command; ids that mean nothing are ignored. Result 0.
LRESULT runCommand(HWND window, unsigned int id);
// The tray menu as it shows now: the commands, their state, and the tracks to select.
HMENU buildCommandMenu();
