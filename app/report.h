// The one path by which failures reach the user: an error message box on a worker thread, an
// error balloon at the tray icon, or nothing, as messageDisplayType says.
#pragma once

#include <windows.h>

// Shows text with the short caption as messageDisplayType chooses. Captions of message boxes
// read "<caption> - Velmoris Player"; balloons show the short caption alone.
void reportMessage(HWND owner, const wchar_t* text, const wchar_t* caption);

// A message box (MB_OK | MB_ICONERROR) on its own thread; returns at once.
void showMessageBoxAsync(HWND owner, const wchar_t* text, const wchar_t* caption);

// A message box on the calling thread, returning when it is dismissed; nothing with type 2.
void showMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
// showMessage with the caption "エラー" and the error icon.
void showErrorMessage(HWND owner, const wchar_t* text);

// Returns once every box of showMessageBoxAsync has been dismissed: a process that ends right after
// its work (a later start handing over its files) waits here, so that its reports are not lost.
void waitForReportsDismissed();
