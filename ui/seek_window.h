// The seek window: a borderless 200 x 60 flyout at the cursor that shows and sets the position.
#pragma once

#include <windows.h>

struct SeekDisplayState {
    int lengthMs;
    int positionMs;
    int cursorX;
};

extern SeekDisplayState seekDisplayState;

void openSeekWindow(HWND mainWindow);
