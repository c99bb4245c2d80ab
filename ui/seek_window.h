// The seek window: a borderless flyout at the cursor, 200 x 60 at 96 DPI, that shows and sets the position.
#pragma once

#include <windows.h>

struct SeekDisplayState {
    int lengthMs;
    int positionMs;
    int cursorX;
};

extern SeekDisplayState seekDisplayState;

void openSeekWindow(HWND mainWindow);
