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

// Whether a button-up at now starts a click thread: only when more than one double-click time
// has passed since the last one started. Unsigned differences, so the tick counter's wrap is harmless.
bool startsClickThread(DWORD now, DWORD lastClickTick, UINT doubleClickTime);
// Whether a click thread that waited waitedMs is a lone click: no double click arrived meanwhile.
bool isLoneClick(DWORD now, DWORD lastDoubleClickTick, UINT waitedMs);
