#include "app/main_window.h"

#include <mmsystem.h>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/media_keys.h"
#include "app/new_list.h"
#include "app/start_turn.h"
#include "app/tray_clicks.h"
#include "app/tray_hook.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "base/report.h"
#include "base/system_calls.h"
#include "base/window_class.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

// An elevated player would not receive the messages of a normal later start or of the shell
// without this. Looked up at run time: Vista has only the process-wide form.
static void allowMessageFromOtherProcesses(HWND window, UINT message)
{
    typedef BOOL(WINAPI * PerWindowFilter)(HWND, UINT, DWORD, void*);
    typedef BOOL(WINAPI * ProcessFilter)(UINT, DWORD);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32)
        return;
    PerWindowFilter perWindow = reinterpret_cast<PerWindowFilter>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (perWindow) {
        perWindow(window, message, 1 /* MSGFLT_ALLOW */, nullptr);
        return;
    }
    ProcessFilter processWide =
        reinterpret_cast<ProcessFilter>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")));
    if (processWide)
        processWide(message, 1 /* MSGFLT_ADD */);
}

static LRESULT onCreate(HWND window, const CREATESTRUCTW* creation)
{
    instanceHandle = creation->hInstance;
    playlist = allocatePlaylistEntries(1);
    shuffleOrder = allocateShuffleOrder(1);
    if (!playlist || !shuffleOrder)
        return -1;
    taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    if (taskbarCreatedMessage != 0)
        allowMessageFromOtherProcesses(window, taskbarCreatedMessage);
    allowMessageFromOtherProcesses(window, WM_APP_RELOAD_PLAYLIST);

    connectTrayIcon();
    NewListResult commandLine = openCommandLineText(GetCommandLineW());
    trayClickState.window = window;
    trayClickState.singleClickAction = onTraySingleClick;
    if (!addTrayIcon(window)) {
        endStartTurn(&startTurn);
        showErrorMessage(window, L"トレイアイコンの追加に失敗しました。");
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    registerMediaKeys(window);
    // A list that could not be written is played as built, not replaced by an older file.
    if (commandLine == NEW_LIST_NOT_WRITTEN)
        openFirstTrackOfNewList(window);
    else
        loadCurrentPlaylist(window);
    if (commandLine != NEW_LIST_NOTHING)
        PostMessageW(window, WM_APP_PLAY, 0, 0);
    return 0;
}

static LRESULT onDestroy(HWND window)
{
    unregisterMediaKeys(window);
    stopWatchingTrayIcon(window);
    releasePlaylist();
    closeDevice();
    systemShellNotifyIcon(NIM_DELETE, &trayIconData);
    PostQuitMessage(0);
    return 0;
}

static LRESULT onTaskbarCreated(HWND window)
{
    if (addTrayIcon(window) && isPlaying)
        setTrayIcon(TRAY_PLAYING);
    return 0;
}

// The hidden window's own rectangle does not matter; the tray icon follows the new DPI.
static LRESULT onDpiChanged(WPARAM dpi)
{
    updateTrayIconDpi(LOWORD(dpi));
    return 0;
}

static LRESULT onMciNotify(HWND window, WPARAM flags)
{
    if (flags == MCI_NOTIFY_SUCCESSFUL)
        onTrackEnded(window);
    else if (flags == MCI_NOTIFY_FAILURE)
        onPlaybackFailed();
    return 0;
}

static LRESULT onTrayMessage(HWND window, WPARAM iconId, LPARAM mouseMessage)
{
    return iconId == TRAY_ICON_ID ? onTrayCallback(window, mouseMessage) : 0;
}

static LRESULT onPlayRequest(HWND window)
{
    startPlayback(window);
    return 0;
}

static LRESULT onPauseRequest()
{
    pausePlayback();
    return 0;
}

static LRESULT isDevicePlaying()
{
    return deviceMode() == DEVICE_PLAYING ? 1 : 0;
}

static void dropQueued(HWND window, UINT message)
{
    MSG pending;
    while (PeekMessageW(&pending, window, message, message, PM_REMOVE))
        continue;
}

// Files opened together arrive as a reload each, with a play request each; the file already holds
// the last state, so the reloads and requests still queued are superseded by this one.
static LRESULT onReloadPlaylist(HWND window)
{
    dropQueued(window, WM_APP_RELOAD_PLAYLIST);
    dropQueued(window, WM_APP_PLAY);
    reloadCurrentPlaylist(window);
    PostMessageW(window, WM_APP_PLAY, 0, 0);
    return 0;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage)
        return onTaskbarCreated(window);
    switch (message) {
    case WM_CREATE: return onCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return onDestroy(window);
    case WM_COMMAND: return runCommand(window, LOWORD(wParam));
    case MM_MCINOTIFY: return onMciNotify(window, wParam);
    case WM_HOTKEY: return onHotKey(window, wParam);
    case WM_TIMER: return onTrayWatchTimer(window, wParam);
    case WM_DPICHANGED: return onDpiChanged(wParam);
    case WM_APP_TRAY: return onTrayMessage(window, wParam, lParam);
    case WM_APP_PLAY: return onPlayRequest(window);
    case WM_APP_PAUSE: return onPauseRequest();
    case WM_APP_IS_PLAYING: return isDevicePlaying();
    case WM_APP_RELOAD_PLAYLIST: return onReloadPlaylist(window);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
