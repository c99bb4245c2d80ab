// The tray popup menu, built anew from the current state at every right click.
#pragma once

#include <windows.h>

HMENU buildTrayMenu();
HMENU buildSelectSubmenu();
// How many play-order positions the selection submenu lists for a playlist of count entries.
int selectionLength(int count);
