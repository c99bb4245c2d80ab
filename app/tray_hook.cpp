#include "app/tray_hook.h"

#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/window_class.h"
#include "settings/settings.h"
#include "ui/volume_dialog.h"

static const UINT_PTR watchTimer = 1;
// Well inside the half second after which the hook should be gone once the cursor has left.
static const UINT watchPeriodMs = 200;
static const int volumeStep = 50;

static HHOOK mouseHook;
static HWND hookWindow;
static RECT iconRect;
// Turned over the icon and not yet taken, in the wheel's own units (120 a notch).
static int wheelTurn;
// A middle button went down over the icon: its release is the player's too.
static bool middleButtonTaken;

RECT trayIconRect(HWND mainWindow, POINT lastSeen, int size)
{
    RECT rect;
    if (SUCCEEDED(systemNotifyIconRect(mainWindow, TRAY_ICON_ID, &rect)))
        return rect;
    return {lastSeen.x - size / 2, lastSeen.y - size / 2, lastSeen.x - size / 2 + size, lastSeen.y - size / 2 + size};
}

int volumeAfterWheel(int from, int notches)
{
    long long wanted = from + static_cast<long long>(notches) * volumeStep;
    return wanted < 0 ? 0 : wanted > 1000 ? 1000 : static_cast<int>(wanted);
}

// Windows drops a low-level hook that answers slowly: this only tests the rectangle and posts. What
// it takes over the icon it swallows; anything else goes on unchanged.
static LRESULT CALLBACK mouseHookProc(int code, WPARAM message, LPARAM data)
{
    const MSLLHOOKSTRUCT* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    bool over = code == HC_ACTION && PtInRect(&iconRect, mouse->pt);
    if (over && message == WM_MOUSEWHEEL) {
        wheelTurn += static_cast<short>(HIWORD(mouse->mouseData));
        PostMessageW(hookWindow, WM_APP_TRAY, TRAY_ICON_ID, WM_MOUSEWHEEL);
        return 1;
    }
    if (over && message == WM_MBUTTONDOWN) {
        middleButtonTaken = true;
        return 1;
    }
    if (code == HC_ACTION && message == WM_MBUTTONUP && middleButtonTaken) {
        middleButtonTaken = false;
        PostMessageW(hookWindow, WM_APP_TRAY, TRAY_ICON_ID, WM_MBUTTONUP);
        return 1;
    }
    return CallNextHookEx(mouseHook, code, message, data);
}

void watchTrayIcon(HWND mainWindow)
{
    POINT cursor;
    GetCursorPos(&cursor);
    iconRect = trayIconRect(mainWindow, cursor, smallIconSize(windowDpi(mainWindow)));
    hookWindow = mainWindow;
    if (!mouseHook)
        mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseHookProc, GetModuleHandleW(nullptr), 0);
    SetTimer(mainWindow, watchTimer, watchPeriodMs, nullptr);
}

void stopWatchingTrayIcon(HWND mainWindow)
{
    KillTimer(mainWindow, watchTimer);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
    middleButtonTaken = false;
}

LRESULT onTrayWatchTimer(HWND mainWindow, WPARAM timer)
{
    POINT cursor;
    if (timer == watchTimer && GetCursorPos(&cursor) && !PtInRect(&iconRect, cursor))
        stopWatchingTrayIcon(mainWindow);
    return 0;
}

LRESULT onWheelOverTrayIcon()
{
    int notches = wheelTurn / WHEEL_DELTA;
    wheelTurn %= WHEEL_DELTA;
    if (notches != 0)
        changeVolume(volumeAfterWheel(volume, notches));
    return 0;
}
