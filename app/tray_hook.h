// The mouse wheel and the middle button over the tray icon. The shell passes no wheel to an icon, and
// Windows 11 reports a middle click on one as a left click; so, while the cursor rests on the icon, a
// low-level mouse hook takes both there and hands them to the main window as the icon's own messages.
#pragma once

#include <windows.h>

// The icon's callback saw the cursor over it: the icon's rectangle is taken anew, the hook installed,
// and a timer watches for the cursor to leave.
void watchTrayIcon(HWND mainWindow);
// WM_TIMER of the watch: once the cursor has left the icon's rectangle, the hook goes. Result 0.
LRESULT onTrayWatchTimer(HWND mainWindow, WPARAM timer);
// Removes the hook and the timer.
void stopWatchingTrayIcon(HWND mainWindow);
// The wheel turned over the icon (the icon's message WM_MOUSEWHEEL): each notch turns the volume by 50.
LRESULT onWheelOverTrayIcon();

// The icon's rectangle on the screen: the shell's answer where it gives one, else a square of size
// pixels centred on where the cursor was last seen over the icon.
RECT trayIconRect(HWND mainWindow, POINT lastSeen, int size);
// The volume that the given notches of the wheel (positive: louder) turn from to: 50 a notch, kept
// within 0..1000.
int volumeAfterWheel(int from, int notches);
