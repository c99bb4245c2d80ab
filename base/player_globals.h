// What every part of the player shares: its names, its own window messages, the size of its text
// buffers and the process-wide handles of the main window.
#pragma once

#include <windows.h>

#define WM_APP_TRAY (WM_APP)
#define WM_APP_PLAY (WM_APP + 1)
#define WM_APP_PAUSE (WM_APP + 2)
#define WM_APP_IS_PLAYING (WM_APP + 3)
#define WM_APP_RELOAD_PLAYLIST (WM_APP + 4)

// The tray icon's id inside the main window.
#define TRAY_ICON_ID 1

// Every formatted path, command, reply and message lives in a buffer of this many units.
#define TEXT_BUFFER_UNITS 1024

extern const wchar_t programTitle[];        // "Velmoris Player"
extern const wchar_t mainWindowClassName[]; // "VELMORIS_PLAYER_MAIN"
extern const wchar_t seekWindowClassName[]; // "VELMORIS_PLAYER_SEEK"

extern HINSTANCE instanceHandle;
extern UINT taskbarCreatedMessage;
// 1 while the About dialog or one of the file, folder and playlist dialogs is open.
extern int modalDialogOpen;
