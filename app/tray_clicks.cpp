#include "app/tray_clicks.h"

#include "app/commands.h"
#include "app/tray_hook.h"
#include "base/player_globals.h"
#include "base/system_calls.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "ui/seek_window.h"
#include "ui/volume_dialog.h"

TrayClickState trayClickState;

// Whether a button-up at now starts a click thread: only when more than one double-click time has
// passed since the last one started. Unsigned differences, so the tick counter's wrap is harmless.
static bool startsClickThread(DWORD now, DWORD lastClickTick, UINT doubleClickTime)
{
    return now - lastClickTick > doubleClickTime;
}

// Whether a click thread that waited waitedMs is a lone click: no double click arrived meanwhile.
static bool isLoneClick(DWORD now, DWORD lastDoubleClickTick, UINT waitedMs)
{
    return now - lastDoubleClickTick > waitedMs;
}

// A single click is only known to be one when no double click follows within the system's
// double-click time, so a worker waits that long before acting.
DWORD WINAPI trayClickThread(void* state)
{
    const TrayClickState* clicks = static_cast<const TrayClickState*>(state);
    UINT waited = GetDoubleClickTime();
    Sleep(waited);
    if (isLoneClick(systemTickCount(), clicks->lastDoubleClickTick, waited)) {
        TrayClickState copy = *clicks;
        copy.singleClickAction(copy);
    }
    return 0;
}

// Runs on the click thread: the device is asked and playback changed only through messages; the
// playing flag is only read.
void onTraySingleClick(TrayClickState copy)
{
    LRESULT playing = SendMessageW(copy.window, WM_APP_IS_PLAYING, 0, 0);
    if (playing)
        PostMessageW(copy.window, WM_APP_PAUSE, 0, 0);
    else if (!isPlayingSeenFromAnotherThread())
        PostMessageW(copy.window, WM_APP_PLAY, 0, 0);
}

static LRESULT onLeftButtonUp()
{
    if (!startsClickThread(systemTickCount(), trayClickState.lastClickTick, GetDoubleClickTime()))
        return 0;
    trayClickState.lastClickTick = systemTickCount();
    HANDLE thread = CreateThread(nullptr, 0, trayClickThread, &trayClickState, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    return 0;
}

static LRESULT onLeftDoubleClick(HWND mainWindow)
{
    trayClickState.lastDoubleClickTick = systemTickCount();
    openSeekWindow(mainWindow);
    return 0;
}

// The chosen item arrives as a posted WM_COMMAND before TrackPopupMenu returns; it is
// dispatched here so that the command runs while its menu still exists. The WM_NULL queued
// behind it lets Windows end the menu mode of the hidden window: without it the next menu may
// close at once, or a click elsewhere may not close this one.
static void showTrayMenu(HWND mainWindow)
{
    POINT cursor;
    GetCursorPos(&cursor);
    HMENU menu = buildCommandMenu();
    SetForegroundWindow(mainWindow);
    systemTrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, mainWindow);
    PostMessageW(mainWindow, WM_NULL, 0, 0);
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyMenu(menu);
}

static LRESULT onRightButtonUp(HWND mainWindow)
{
    showTrayMenu(mainWindow);
    return 0;
}

static LRESULT onMiddleButtonUp(HWND mainWindow)
{
    SetForegroundWindow(mainWindow);
    openVolumeDialog(mainWindow);
    return 0;
}

static LRESULT onMouseMove(HWND mainWindow)
{
    watchTrayIcon(mainWindow);
    return 0;
}

LRESULT onTrayCallback(HWND mainWindow, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP: return onLeftButtonUp();
    case WM_LBUTTONDBLCLK: return onLeftDoubleClick(mainWindow);
    case WM_RBUTTONUP: return onRightButtonUp(mainWindow);
    case WM_MBUTTONUP: return onMiddleButtonUp(mainWindow);
    case WM_MOUSEMOVE: return onMouseMove(mainWindow);
    case WM_MOUSEWHEEL: return onWheelOverTrayIcon();
    }
    return 0;
}
