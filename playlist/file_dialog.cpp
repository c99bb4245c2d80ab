#include "playlist/file_dialog.h"

#include <commdlg.h>

bool runFileDialog(FileDialogKind kind, HWND owner, const wchar_t* filters, int* filterIndex, wchar_t* file,
                   DWORD fileUnits, const wchar_t* title, DWORD flags)
{
    file[0] = L'\0';
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = static_cast<DWORD>(*filterIndex);
    dialog.lpstrFile = file;
    dialog.nMaxFile = fileUnits;
    dialog.lpstrTitle = title;
    dialog.Flags = flags;
    BOOL chosen = kind == FILE_DIALOG_SAVE ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    *filterIndex = static_cast<int>(dialog.nFilterIndex);
    return chosen != FALSE;
}
