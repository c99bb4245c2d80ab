#include "base/system_calls.h"

#include <commdlg.h>
#include <mmsystem.h>

unsigned int systemMciSendString(const wchar_t* command, wchar_t* reply, unsigned int replyLength,
                                 HWND notifyWindow)
{
    return mciSendStringW(command, reply, replyLength, notifyWindow);
}

BOOL systemShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data)
{
    return Shell_NotifyIconW(message, data);
}

void systemShellOpen(HWND owner, const wchar_t* target)
{
    ShellExecuteW(owner, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

int systemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned int style)
{
    return MessageBoxW(owner, text, caption, style);
}

DWORD systemTickCount()
{
    return GetTickCount();
}

BOOL systemRegisterHotKey(HWND window, int id, UINT modifiers, UINT key)
{
    return RegisterHotKey(window, id, modifiers, key);
}

BOOL systemUnregisterHotKey(HWND window, int id)
{
    return UnregisterHotKey(window, id);
}

DWORD systemShortPathName(const wchar_t* longPath, wchar_t* shortPath, DWORD units)
{
    return GetShortPathNameW(longPath, shortPath, units);
}

HANDLE systemCreateFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL systemMoveFileEx(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    return MoveFileExW(from, to, flags);
}

void systemSleep(DWORD milliseconds)
{
    Sleep(milliseconds);
}

bool systemFileDialog(FileDialogKind kind, HWND owner, const wchar_t* filters, int* filterIndex, wchar_t* file,
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

HRESULT systemNotifyIconRect(HWND window, UINT id, RECT* rect)
{
    // NOTIFYICONIDENTIFIER of Windows 7, which the headers give only to programs that require it.
    struct IconIdentifier {
        DWORD cbSize;
        HWND hWnd;
        UINT uID;
        GUID guidItem;
    };
    typedef HRESULT(WINAPI * GetRect)(const IconIdentifier*, RECT*);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    GetRect getRect =
        shell ? reinterpret_cast<GetRect>(reinterpret_cast<void*>(GetProcAddress(shell, "Shell_NotifyIconGetRect")))
              : nullptr;
    IconIdentifier icon = {sizeof(icon), window, id, {}};
    return getRect ? getRect(&icon, rect) : E_NOTIMPL;
}

BOOL systemTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}
