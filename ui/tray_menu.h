// The tray popup menu, built anew at every right click from a table of the commands it offers.
#pragma once

#include <windows.h>

// The menus of the tray menu: the top menu and its submenus.
enum MenuPart { MENU_TOP, MENU_FILE, MENU_SELECT, MENU_SETTINGS, MENU_MESSAGES, MENU_HELP };

enum CommandKind {
    COMMAND_PLAIN,     // runs its procedure
    COMMAND_DIALOG,    // runs its procedure, a dialog, as the modal dialog of the player
    COMMAND_TOGGLE,    // switches its setting on or off (then runs its procedure, if any), saved at once
    COMMAND_CHOICE,    // sets its setting to its value, saved at once; the item of the value in force is marked
    COMMAND_SUBMENU,   // opens the submenu whose MenuPart is its id
    COMMAND_SEPARATOR, // a line between groups
};

// How an item shows now; toggles are checked and choices marked from their setting.
enum ItemState { ITEM_PLAIN, ITEM_CHECKED, ITEM_GRAYED, ITEM_ABSENT };

// One row of the command table: an item of the tray menu and what choosing it does. The rows of a
// menu stand in the table in the menu's order.
struct TrayCommand {
    MenuPart part;
    unsigned int id;
    const wchar_t* label;
    CommandKind kind;
    void (*run)(HWND window);
    int* setting;
    int value;
    bool refusedWhileDialogOpen; // while another modal dialog of the player is open
    ItemState (*state)();        // nullptr: ITEM_PLAIN
};

// The menu of the rows of MENU_TOP, their submenus and the selection submenu; the caller destroys it.
HMENU buildTrayMenu(const TrayCommand* commands, size_t count);
// The selection submenu: the tracks in play order around the current one.
HMENU buildSelectSubmenu();
// How many play-order positions of a playlist of count entries a selection id can name.
int selectionLength(int count);

// The selection submenu lists at most this many positions, around the current one: a person
// does not scroll further, and building a menu slows down with every item already in it.
#define SELECTION_WINDOW_ITEMS 1000

// Play-order positions first to last - 1, the ones the selection submenu lists.
struct SelectionWindow {
    int first;
    int last;
};
SelectionWindow selectionWindow(int count, int position);
