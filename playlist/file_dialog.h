// The common open and save dialogs as the player uses them.
#pragma once

#include <windows.h>

enum FileDialogKind { FILE_DIALOG_OPEN, FILE_DIALOG_SAVE };

// Shows the dialog with an empty file buffer, starting on *filterIndex (1-based, 0 = the first
// filter). The filter the user chose is kept in *filterIndex whatever the answer, so that the
// next opening starts on it. True when the user chose a file.
bool runFileDialog(FileDialogKind kind, HWND owner, const wchar_t* filters, int* filterIndex, wchar_t* file,
                   DWORD fileUnits, const wchar_t* title, DWORD flags);
