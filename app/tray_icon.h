// The one tray icon of the player: its record, picture, tooltip, the track balloon and the error
// balloons of reports.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum TrayPicture { TRAY_STOPPED, TRAY_PAUSED, TRAY_PLAYING };

// Zero until the first addTrayIcon; a nonzero cbSize means the icon has been set up.
extern NOTIFYICONDATAW trayIconData;

// NIM_ADD with the stopped picture at the small-icon size of the main window's DPI and the current tooltip; the
// result of the shell. Also for a new taskbar, which may come with another DPI.
bool addTrayIcon(HWND mainWindow);
// The shown picture again at the small-icon size of dpi (WM_DPICHANGED of the main window).
void updateTrayIconDpi(unsigned int dpi);
// The tooltip for the current entry into buffer (128 units).
void updateTrayTip(wchar_t* buffer);
// Stopped and paused show icon 100, playing shows icon 102.
void setTrayIcon(TrayPicture state);
// The stopped picture, and the window's title as tooltip.
void resetTrayIcon(HWND window);
// The tooltip of the newly opened track and, with balloonOnOpen, a balloon naming it.
void announceTrack();

// From now on reports may show as balloons here, and playback's changes show on the icon.
void connectTrayIcon();
