#include "app/tray_icon.h"

#include "base/player_globals.h"
#include "base/report.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"

NOTIFYICONDATAW trayIconData;

static HICON classIcon(HWND window)
{
    return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

static HICON playingIcon()
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(trayIconData.hWnd, GWLP_HINSTANCE));
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PLAYING), IMAGE_ICON, 0, 0, LR_SHARED));
}

bool addTrayIcon(HWND mainWindow)
{
    trayIconData.cbSize = sizeof(NOTIFYICONDATAW);
    trayIconData.hWnd = mainWindow;
    trayIconData.uID = TRAY_ICON_ID;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_APP_TRAY;
    trayIconData.hIcon = classIcon(mainWindow);
    updateTrayTip(trayIconData.szTip);
    return systemShellNotifyIcon(NIM_ADD, &trayIconData) != FALSE;
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
    trayIconData.hIcon = state == TRAY_PLAYING ? playingIcon() : classIcon(trayIconData.hWnd);
    systemShellNotifyIcon(NIM_MODIFY, &trayIconData);
}

void resetTrayIcon(HWND window)
{
    trayIconData.uFlags = NIF_ICON | NIF_TIP;
    trayIconData.hIcon = classIcon(window);
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
