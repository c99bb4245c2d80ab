// The tray popup menu, built anew from the current state at every right click.
#pragma once

#include <windows.h>

HMENU buildTrayMenu();
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
