#include "app/tray_clicks.h"

TrayClickState trayClickState;

LRESULT onTrayCallback(HWND, LPARAM) { return 0; }
DWORD WINAPI trayClickThread(void*) { return 0; }
void onTraySingleClick(TrayClickState) {}
void showTrayMenu(HWND) {}
