#include "app/media_keys.h"

#include "app/commands.h"
#include "app/tray_clicks.h"
#include "base/system_calls.h"
#include "resources/resource.h"

static const UINT mediaKeys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK, VK_MEDIA_STOP};

// The user did nothing wrong when another program holds a key, so a refusal is not reported.
void registerMediaKeys(HWND mainWindow)
{
    for (UINT key : mediaKeys)
        systemRegisterHotKey(mainWindow, static_cast<int>(key), 0, key);
}

void unregisterMediaKeys(HWND mainWindow)
{
    for (UINT key : mediaKeys)
        systemUnregisterHotKey(mainWindow, static_cast<int>(key));
}

// A key does what the tray icon's single click or the menu command does, by the same route.
LRESULT onHotKey(HWND mainWindow, WPARAM id)
{
    TrayClickState click = trayClickState;
    click.window = mainWindow;
    switch (id) {
    case VK_MEDIA_PLAY_PAUSE: onTraySingleClick(click); break;
    case VK_MEDIA_NEXT_TRACK: runCommand(mainWindow, IDM_NEXT); break;
    case VK_MEDIA_PREV_TRACK: runCommand(mainWindow, IDM_PREVIOUS); break;
    case VK_MEDIA_STOP: runCommand(mainWindow, IDM_STOP); break;
    }
    return 0;
}
