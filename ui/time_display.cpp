#include "ui/time_display.h"

void paintTimeDisplay(HWND, const SeekDisplayState*) {}
