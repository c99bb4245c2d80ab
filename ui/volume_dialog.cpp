#include "ui/volume_dialog.h"

#include <commctrl.h>

#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/settings.h"

// One report per opening: a drag sends dozens of notifications, and each would otherwise
// raise a message box of its own.
static int volumeFailureReported;
// The dialog while it is open, so that its slider follows a change made elsewhere.
static HWND volumeDialog;

POINT placementAtCursor(const RECT& desktop, int width, int height, POINT cursor)
{
    POINT place = {cursor.x - width / 2, cursor.y - height / 2};
    if (place.x < 0)
        place.x = 0;
    if (place.x + width > desktop.right)
        place.x = desktop.right - width;
    if (place.y < 0)
        place.y = 0;
    if (place.y + height > desktop.bottom)
        place.y = desktop.bottom - height;
    return place;
}

void placeWindowAtCursor(HWND window)
{
    RECT desktop;
    RECT frame;
    POINT cursor;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &frame);
    GetCursorPos(&cursor);
    POINT place = placementAtCursor(desktop, frame.right - frame.left, frame.bottom - frame.top, cursor);
    SetWindowPos(window, HWND_TOPMOST, place.x, place.y, 0, 0, SWP_NOSIZE);
}

static INT_PTR initVolumeDialog(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, static_cast<LPARAM>(GetClassLongPtrW(owner, GCLP_HICON)));
    HWND slider = GetDlgItem(dialog, IDC_VOLUME_TRACKBAR);
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 1000));
    SendMessageW(slider, TBM_SETTICFREQ, 100, 0);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 100);
    SendMessageW(slider, TBM_SETPOS, TRUE, volume);
    placeWindowAtCursor(dialog);
    volumeFailureReported = 0;
    volumeDialog = dialog;
    return TRUE;
}

void changeVolume(int newVolume)
{
    volume = newVolume;
    saveSettings();
    if (!applyVolume(nullptr, !volumeFailureReported))
        volumeFailureReported = 1;
    if (volumeDialog)
        SendMessageW(GetDlgItem(volumeDialog, IDC_VOLUME_TRACKBAR), TBM_SETPOS, TRUE, volume);
}

// Every notification counts, drag steps included, so the sound follows the thumb.
static INT_PTR onVolumeScroll(HWND slider)
{
    changeVolume(static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)));
    return TRUE;
}

static INT_PTR closeOnDeactivation(HWND dialog, WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE)
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

static INT_PTR closeVolumeDialog(HWND dialog)
{
    EndDialog(dialog, 1);
    volumeDialog = nullptr;
    return TRUE;
}

// No IDOK or IDCANCEL handling: Escape and Enter leave the dialog open.
INT_PTR CALLBACK volumeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return initVolumeDialog(dialog);
    case WM_HSCROLL: return onVolumeScroll(reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE: return closeOnDeactivation(dialog, wParam);
    case WM_CLOSE: return closeVolumeDialog(dialog);
    }
    return FALSE;
}

void openVolumeDialog(HWND owner)
{
    DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_VOLUME), owner, volumeDialogProc, 0);
}
