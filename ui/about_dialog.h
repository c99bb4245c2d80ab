// The About dialog (template 200) with its link to the author's page.
#pragma once

#include <windows.h>

// The author's page, shown after "URL : " in the template and opened by a click on the link.
extern const wchar_t authorPageAddress[];

// The link (control 2000) while the dialog exists: a static text that looks and acts like a
// hyperlink, blue when idle, red and underlined under the mouse.
extern HWND linkControl;
extern WNDPROC linkPreviousProc;
extern HFONT linkNormalFont;     // the dialog's font, not ours to delete
extern HFONT linkUnderlinedFont; // ours
extern HBRUSH linkBackgroundBrush;
extern COLORREF linkTextColour;

// Runs the dialog, owned by owner, until the user closes it.
void openAboutDialog(HWND owner);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
