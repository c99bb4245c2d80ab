// The one route by which failures and questions reach the user: a message box, an error balloon at
// the tray icon, or nothing, as the user's display choice says.
#pragma once

#include <windows.h>

// How failures are shown: the user's choice, stored as the setting "MSG_DISPLAY_TYPE".
enum MessageDisplay { MESSAGE_BOX = 0, MESSAGE_BALLOON = 1, MESSAGE_HIDDEN = 2 };
extern int messageDisplayType; // a MessageDisplay

// Shows a failure as an error balloon at the tray icon; false when there is no icon to show it at.
// Set by the application, which owns the tray icon; while unset every report is a box.
extern bool (*showReportBalloon)(const wchar_t* text, const wchar_t* caption);

// A failure with its short caption: an error message box on a worker thread (captioned
// "<caption> - Velmoris Player"), an error balloon (captioned with the short caption alone) or nothing.
void reportMessage(HWND owner, const wchar_t* text, const wchar_t* caption);

// A message box on the calling thread, returning when it is dismissed; nothing when messages are hidden.
void showMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
// showMessage with the caption "エラー" and the error icon.
void showErrorMessage(HWND owner, const wchar_t* text);

// A box with the caption as given, shown whatever the display choice: the user has just asked for
// what it says or asks. The button that closed it.
int askUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

// Returns once every report's box has been dismissed: a process that ends right after its work (a
// later start handing over its files) waits here, so that its reports are not lost with it.
void waitForReportsDismissed();
