// The volume slider dialog (template 201) and the placement shared with the seek window.
#pragma once

#include <windows.h>

INT_PTR CALLBACK volumeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Centres the window on the cursor inside the primary screen and makes it topmost.
void placeWindowAtCursor(HWND window);
