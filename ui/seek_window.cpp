#include "ui/seek_window.h"

SeekDisplayState seekDisplayState;

void openSeekWindow(HWND) {}
LRESULT CALLBACK seekWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}
