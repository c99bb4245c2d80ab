// The tray popup menu, built anew from the current state at every right click.
#pragma once

#include <windows.h>

HMENU buildTrayMenu();
HMENU buildSelectSubmenu();
