// The tray icon's mouse buttons: single click toggles play/pause after one double-click time,
// double click opens the seek window, right click the menu, middle click the volume dialog.
#pragma once

#include <windows.h>

struct TrayClickState;
typedef void (*SingleClickAction)(TrayClickState copy);

struct TrayClickState {
    HWND window;
    DWORD lastDoubleClickTick;
    DWORD lastClickTick;
    SingleClickAction singleClickAction;
};

extern TrayClickState trayClickState;

// WM_APP_TRAY with the icon's id: lParam is the mouse message. Result 0.
LRESULT onTrayCallback(HWND mainWindow, LPARAM mouseMessage);
DWORD WINAPI trayClickThread(void* state);
void onTraySingleClick(TrayClickState copy);
