#include "app/tray_icon.h"

#include "base/player_globals.h"
#include "base/report.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "base/window_class.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"

NOTIFYICONDATAW trayIconData;

// The two pictures at the small-icon size of the DPI they were loaded for. The shell keeps a copy of the picture it
// is given, so a switch loads nothing and the pair is replaced only for another DPI or a new taskbar.
static HICON stoppedIcon;
static HICON playingIcon;
static TrayPicture shownPicture;

static void showPicture(TrayPicture state)
{
    shownPicture = state;
    trayIconData.hIcon = state == TRAY_PLAYING ? playingIcon : stoppedIcon;
}

static void loadTrayIcons(unsigned int dpi)
{
    if (stoppedIcon)
        DestroyIcon(stoppedIcon);
    if (playingIcon)
        DestroyIcon(playingIcon);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(trayIconData.hWnd, GWLP_HINSTANCE));
    stoppedIcon = loadSmallIcon(instance, IDI_PLAYER, dpi);
    playingIcon = loadSmallIcon(instance, IDI_PLAYING, dpi);
}

bool addTrayIcon(HWND mainWindow)
{
    trayIconData.cbSize = sizeof(NOTIFYICONDATAW);
    trayIconData.hWnd = mainWindow;
    trayIconData.uID = TRAY_ICON_ID;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_APP_TRAY;
    loadTrayIcons(windowDpi(mainWindow));
    showPicture(TRAY_STOPPED);
    updateTrayTip(trayIconData.szTip);
    return systemShellNotifyIcon(NIM_ADD, &trayIconData) != FALSE;
}

void updateTrayIconDpi(unsigned int dpi)
{
    if (trayIconData.cbSize == 0)
        return;
    loadTrayIcons(dpi);
    trayIconData.uFlags = NIF_ICON;
    showPicture(shownPicture);
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
}

void updateTrayTip(wchar_t* buffer)
{
    const PlaylistEntry* entry = entryAtPosition(currentPosition);
    if (entry->path[0] == L'\0') {
        copyText(buffer, ARRAYSIZE(trayIconData.szTip), programTitle);
        return;
    }
    wchar_t tip[TEXT_BUFFER_UNITS];
    formatText(tip, TEXT_BUFFER_UNITS, L"%ls - %ls", fileNamePart(entry->path), programTitle);
    copyTextShortened(buffer, ARRAYSIZE(trayIconData.szTip), tip);
}

void setTrayIcon(TrayPicture state)
{
    trayIconData.uFlags = NIF_ICON;
    showPicture(state);
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
}

void resetTrayIcon(HWND window)
{
    trayIconData.uFlags = NIF_ICON | NIF_TIP;
    showPicture(TRAY_STOPPED);
    GetWindowTextW(window, trayIconData.szTip, ARRAYSIZE(trayIconData.szTip));
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
}

void announceTrack()
{
    if (trayIconData.cbSize == 0)
        return;
    updateTrayTip(trayIconData.szTip);
    if (balloonOnOpen) {
        trayIconData.uFlags = NIF_INFO | NIF_TIP;
        copyText(trayIconData.szInfoTitle, ARRAYSIZE(trayIconData.szInfoTitle), programTitle);
        trayIconData.dwInfoFlags = NIIF_NONE;
        copyTextShortened(trayIconData.szInfo, ARRAYSIZE(trayIconData.szInfo),
                          fileNamePart(entryAtPosition(currentPosition)->path));
    } else {
        trayIconData.uFlags = NIF_TIP;
    }
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
}

// The balloon of a report leaves the tooltip and the picture as they are.
static bool showErrorBalloon(const wchar_t* text, const wchar_t* caption)
{
    if (trayIconData.cbSize == 0)
        return false;
    trayIconData.dwInfoFlags = NIIF_ERROR;
    trayIconData.uFlags = NIF_INFO;
    copyTextShortened(trayIconData.szInfoTitle, ARRAYSIZE(trayIconData.szInfoTitle), caption);
    copyTextShortened(trayIconData.szInfo, ARRAYSIZE(trayIconData.szInfo), text);
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
    return true;
}

static void showPlaybackChange(HWND window, PlaybackChange change)
{
    switch (change) {
    case TRACK_CLOSED: resetTrayIcon(window); break;
    case TRACK_OPENED: announceTrack(); break;
    case NOW_PLAYING: setTrayIcon(TRAY_PLAYING); break;
    case NOW_PAUSED: setTrayIcon(TRAY_PAUSED); break;
    case NOW_STOPPED: setTrayIcon(TRAY_STOPPED); break;
    }
}

void connectTrayIcon()
{
    showReportBalloon = showErrorBalloon;
    onPlaybackChange = showPlaybackChange;
}
