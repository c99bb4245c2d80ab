// The player's window classes: its icon, the arrow cursor and a background of their own; the display scale (DPI)
// of its windows and the icons loaded for it.
#pragma once

#include <windows.h>

// Sent from Windows 8.1 on, which the Vista headers of this build leave out.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

bool registerPlayerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background);

// The DPI of the window's monitor; the system DPI where Windows lacks GetDpiForWindow (before Windows 10 1607).
unsigned int windowDpi(HWND window);
// A length of pixels at 96 DPI, at dpi.
int scaleToDpi(int pixels, unsigned int dpi);
// The width and height of a small icon (the tray icon's size) at dpi.
int smallIconSize(unsigned int dpi);
// The icon group id at the small-icon size of dpi (16 px at 96, 24 at 144); the caller destroys it.
HICON loadSmallIcon(HINSTANCE instance, int id, unsigned int dpi);
