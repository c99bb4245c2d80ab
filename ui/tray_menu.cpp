#include "ui/tray_menu.h"

HMENU buildSelectSubmenu() { return CreatePopupMenu(); }
HMENU buildTrayMenu() { return CreatePopupMenu(); }
