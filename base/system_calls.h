// The few system calls whose effects the tests observe, or which must not block a test.
// The player links system_calls.cpp; the unit tests link a recording fake in its place.
#pragma once

#include <windows.h>
#include <shellapi.h>

// mciSendStringW.
unsigned int systemMciSendString(const wchar_t* command, wchar_t* reply, unsigned int replyLength,
                                 HWND notifyWindow);

// Shell_NotifyIconW.
BOOL systemShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);

// ShellExecuteW's "open" of a file or a web address, in a normal window.
void systemShellOpen(HWND owner, const wchar_t* target);

// MessageBoxW.
int systemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned int style);

// GetTickCount.
DWORD systemTickCount();

// RegisterHotKey and UnregisterHotKey.
BOOL systemRegisterHotKey(HWND window, int id, UINT modifiers, UINT key);
BOOL systemUnregisterHotKey(HWND window, int id);

// GetShortPathNameW.
DWORD systemShortPathName(const wchar_t* longPath, wchar_t* shortPath, DWORD units);

// CreateFileW with normal attributes and no template; the error is left for GetLastError.
HANDLE systemCreateFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition);

// MoveFileExW; the error is left for GetLastError.
BOOL systemMoveFileEx(const wchar_t* from, const wchar_t* to, DWORD flags);

// Sleep.
void systemSleep(DWORD milliseconds);

// GetOpenFileNameW or GetSaveFileNameW with an empty file buffer, starting on *filterIndex (1-based,
// 0 = the first filter). The filter the user chose is kept in *filterIndex whatever the answer, so
// that the next opening starts on it. True when the user chose a file.
enum FileDialogKind { FILE_DIALOG_OPEN, FILE_DIALOG_SAVE };
bool systemFileDialog(FileDialogKind kind, HWND owner, const wchar_t* filters, int* filterIndex, wchar_t* file,
                      DWORD fileUnits, const wchar_t* title, DWORD flags);

// Shell_NotifyIconGetRect: the screen rectangle of the notification icon id of window. Looked up by
// name, since Vista lacks it (then E_NOTIMPL).
HRESULT systemNotifyIconRect(HWND window, UINT id, RECT* rect);

// TrackPopupMenu.
BOOL systemTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
