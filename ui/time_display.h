// Drawing of the seek window: bands, progress bar, cursor band and the two time texts.
#pragma once

#include <windows.h>

#include "ui/seek_window.h"

void paintTimeDisplay(HWND window, const SeekDisplayState* state);
