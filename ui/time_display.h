// Drawing of the seek window: bands, progress bar, cursor band and the two time texts.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <stddef.h>

#include "ui/seek_window.h"

void paintTimeDisplay(HWND window, const SeekDisplayState* state);

// Draws the whole display of width x height pixels off-screen and copies it to target at (0, 0)
// in one BitBlt.
void renderTimeDisplay(HDC target, int width, int height, const SeekDisplayState* state);


// The time in milliseconds under pixel x of a display width pixels wide that shows lengthMs.
// The product is formed in 64 bits, so long tracks do not overflow.
long long timeAtPixel(int x, int lengthMs, int width);

// The two texts of the display: top is the time under the cursor ("mm:ss.mmm", with hours from
// one hour on), bottom "position / length". Without a length the top is empty and the bottom
// reads "00:00". Both buffers hold capacity units.
void formatTimeTexts(const SeekDisplayState* state, int width, wchar_t* top, wchar_t* bottom, size_t capacity);
