#include "app/commands.h"

#include <shellapi.h>

#include "base/player_globals.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/add_media.h"
#include "playlist/playlist.h"
#include "playlist/playlist_dialogs.h"
#include "resources/resource.h"
#include "settings/autoplay.h"
#include "settings/settings.h"
#include "ui/about_dialog.h"
#include "ui/seek_window.h"
#include "ui/setting_toggles.h"
#include "ui/volume_dialog.h"

// Shuffle re-orders the list as it is switched; every other setting only changes and is saved.
static void toggleSetting(HWND window, const SettingToggle& toggle)
{
    *toggle.setting = *toggle.setting == 0 ? 1 : 0;
    if (toggle.setting == &shuffle && shuffle)
        shuffleSwitchedOn(window);
    else if (toggle.setting == &shuffle)
        shuffleSwitchedOff();
    saveSettings();
}

static void runModal(HWND window, void (*dialog)(HWND))
{
    modalDialogOpen = 1;
    dialog(window);
    modalDialogOpen = 0;
}

static void openReadme(HWND window)
{
    wchar_t path[TEXT_BUFFER_UNITS];
    formatText(path, TEXT_BUFFER_UNITS, L"%lsReadme.txt", programDirectory);
    ShellExecuteW(window, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

static void goToFirstTrack(HWND window)
{
    currentPosition = 0;
    openAndPlay(window);
}

static void setMessageDisplayType(int type)
{
    messageDisplayType = type;
    saveSettings();
}

// A menu built before the list shrank, or any other process, may name a position past the end.
static void selectTrack(HWND window, int position)
{
    if (position >= playlistCount())
        return;
    int wasPlaying = isPlaying;
    currentPosition = position;
    openTrack(window);
    if (wasPlaying)
        PostMessageW(window, WM_APP_PLAY, 0, 0);
}

static bool isBlockedWhileDialogOpen(unsigned int id)
{
    return id == IDM_ABOUT || id == IDM_OPEN_FILES || id == IDM_OPEN_PLAYLIST || id == IDM_EXPORT_PLAYLIST;
}

LRESULT runCommand(HWND window, unsigned int id)
{
    if (modalDialogOpen && isBlockedWhileDialogOpen(id))
        return 0;
    if (const SettingToggle* toggle = findSettingToggle(id)) {
        toggleSetting(window, *toggle);
        return 0;
    }
    switch (id) {
    case IDM_EXIT: PostMessageW(window, WM_CLOSE, 0, 0); break;
    case IDM_README: openReadme(window); break;
    case IDM_ABOUT: runModal(window, openAboutDialog); break;
    case IDM_OPEN_FILES: runModal(window, openFilesDialog); break;
    case IDM_OPEN_FOLDER: runModal(window, openFolderDialog); break;
    case IDM_OPEN_PLAYLIST: runModal(window, playlistOpenDialog); break;
    case IDM_EXPORT_PLAYLIST: runModal(window, exportPlaylistDialog); break;
    case IDM_PLAY: startPlayback(window); break;
    case IDM_PAUSE: pausePlayback(); break;
    case IDM_STOP: stopPlayback(); break;
    case IDM_PREVIOUS: previousTrack(window); break;
    case IDM_NEXT: nextTrack(window); break;
    case IDM_FIRST_TRACK: goToFirstTrack(window); break;
    case IDM_VOLUME: openVolumeDialog(window); break;
    case IDM_MSG_MESSAGE_BOX:
    case IDM_MSG_BALLOON:
    case IDM_MSG_HIDDEN: setMessageDisplayType(static_cast<int>(id - IDM_MSG_MESSAGE_BOX)); break;
    case IDM_AUTOPLAY_REGISTER: toggleAutoplayRegistration(); break;
    case IDM_SEEK: openSeekWindow(window); break;
    default:
        if (id >= IDM_SELECT_FIRST)
            selectTrack(window, static_cast<int>(id - IDM_SELECT_FIRST));
        break;
    }
    return 0;
}
