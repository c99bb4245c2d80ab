// The keyboard's media keys, held system-wide as hot keys of the main window, so that
// play/pause, next, previous and stop work whatever window has the focus.
#pragma once

#include <windows.h>

// Each key is registered under its own virtual-key code as the hot-key id, without modifiers.
// A key that another program already holds stays with it, silently; the others still work.
void registerMediaKeys(HWND mainWindow);
void unregisterMediaKeys(HWND mainWindow);

// WM_HOTKEY: id is the hot-key id; ids that are not ours are ignored. Result 0.
LRESULT onHotKey(HWND mainWindow, WPARAM id);
