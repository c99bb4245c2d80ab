// The About dialog (template 200) with its link to the author's page.
#pragma once

#include <windows.h>

// Runs the dialog, owned by owner, until the user closes it.
void openAboutDialog(HWND owner);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
