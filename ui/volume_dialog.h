// The volume slider dialog (template 201) and the placement shared with the seek window.
#pragma once

#include <windows.h>

// Runs the dialog, owned by owner, until the user closes it.
void openVolumeDialog(HWND owner);
// The user's new volume, from the slider or elsewhere: stored, saved at once and sent to the device,
// and shown by the slider while the dialog is open. A refusal is reported once per opening.
void changeVolume(int newVolume);
INT_PTR CALLBACK volumeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Centres the window on the cursor inside the primary screen and makes it topmost.
void placeWindowAtCursor(HWND window);

// The top-left corner for a window of width x height centred on cursor, kept inside
// (0, 0)-(right, bottom) of the desktop; the right and bottom edges win when it cannot fit.
POINT placementAtCursor(const RECT& desktop, int width, int height, POINT cursor);
