#include "app/commands.h"

#include "app/new_list.h"
#include "base/player_globals.h"
#include "base/report.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/entry_building.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "resources/resource.h"
#include "settings/autoplay.h"
#include "settings/settings.h"
#include "ui/about_dialog.h"
#include "ui/file_dialogs.h"
#include "ui/seek_window.h"
#include "ui/tray_menu.h"
#include "ui/volume_dialog.h"

static void openReadme(HWND window)
{
    wchar_t path[TEXT_BUFFER_UNITS];
    formatText(path, TEXT_BUFFER_UNITS, L"%lsReadme.txt", programDirectory);
    systemShellOpen(window, path);
}

static void openFiles(HWND window)
{
    int count = 0;
    PlaylistEntry* entries = chooseAudioFiles(window, &count);
    adoptNewList(window, entries, count, LIST_OF_FILES, true);
}

static void openFolder(HWND window)
{
    wchar_t folder[TEXT_BUFFER_UNITS];
    int count = 0;
    PlaylistEntry* entries = chooseFolder(window, folder) ? entriesOfFolder(folder, &count) : nullptr;
    adoptNewList(window, entries, count, LIST_OF_FILES, true);
}

static void openPlaylist(HWND window)
{
    wchar_t file[TEXT_BUFFER_UNITS];
    if (!choosePlaylistFile(window, file))
        return;
    int count = 0;
    PlaylistEntry* entries = readPlaylistEntries(file, &count, nullptr);
    if (!entries)
        showErrorMessage(nullptr, L"プレイリストファイルの読み込みに失敗しました。");
    adoptNewList(window, entries, count, LIST_OF_PLAYLIST_FILE, true);
}

static void exportPlaylist(HWND window)
{
    wchar_t file[TEXT_BUFFER_UNITS];
    if (chooseExportFile(window, file))
        writePlaylistFile(file);
}

static void goToFirstTrack(HWND window)
{
    currentPosition = 0;
    openAndPlay(window);
}

// Shuffle re-orders the list as it is switched.
static void reorderForShuffle(HWND window)
{
    if (shuffle)
        shuffleSwitchedOn(window);
    else
        shuffleSwitchedOff();
}

static ItemState offeredWhileStopped()
{
    return isPlaying ? ITEM_ABSENT : ITEM_PLAIN;
}

// A MIDI sequencer cannot be paused.
static ItemState offeredWhilePlaying()
{
    return !isPlaying ? ITEM_ABSENT : isSequencerOpen() ? ITEM_GRAYED : ITEM_PLAIN;
}

// Stop is offered unless the device is known to rest; with nothing open the query fails.
static ItemState offeredUnlessResting()
{
    DeviceMode mode = deviceMode();
    return mode == DEVICE_STOPPED || mode == DEVICE_SEEKING ? ITEM_ABSENT : ITEM_PLAIN;
}

static ItemState checkedWhenRegistered()
{
    return isAutoplayRegistered() ? ITEM_CHECKED : ITEM_PLAIN;
}

static constexpr TrayCommand item(MenuPart part, unsigned int id, const wchar_t* label, void (*run)(HWND),
                                  ItemState (*state)() = nullptr)
{
    return {part, id, label, COMMAND_PLAIN, run, nullptr, 0, false, state};
}

// A dialog that cannot open while another one of the player is open, unless it is refused nothing.
static constexpr TrayCommand dialog(MenuPart part, unsigned int id, const wchar_t* label, void (*run)(HWND),
                                    bool refused = true)
{
    return {part, id, label, COMMAND_DIALOG, run, nullptr, 0, refused, nullptr};
}

static constexpr TrayCommand toggle(MenuPart part, unsigned int id, const wchar_t* label, int* setting,
                                    void (*run)(HWND) = nullptr)
{
    return {part, id, label, COMMAND_TOGGLE, run, setting, 0, false, nullptr};
}

static constexpr TrayCommand choice(unsigned int id, const wchar_t* label, int* setting, int value)
{
    return {MENU_MESSAGES, id, label, COMMAND_CHOICE, nullptr, setting, value, false, nullptr};
}

static constexpr TrayCommand submenu(MenuPart part, MenuPart opened, const wchar_t* label)
{
    return {part, static_cast<unsigned int>(opened), label, COMMAND_SUBMENU, nullptr, nullptr, 0, false, nullptr};
}

static constexpr TrayCommand separator(MenuPart part)
{
    return {part, 0, nullptr, COMMAND_SEPARATOR, nullptr, nullptr, 0, false, nullptr};
}

// Every command of the player, in the order of its menu.
static const TrayCommand commands[] = {
    submenu(MENU_TOP, MENU_FILE, L"ファイル(&F)"),
    separator(MENU_TOP),
    item(MENU_TOP, IDM_PLAY, L"再生(&P)", startPlayback, offeredWhileStopped),
    item(MENU_TOP, IDM_PAUSE, L"一時停止(&P)", [](HWND) { pausePlayback(); }, offeredWhilePlaying),
    item(MENU_TOP, IDM_STOP, L"停止(&S)", [](HWND) { stopPlayback(); }, offeredUnlessResting),
    item(MENU_TOP, IDM_PREVIOUS, L"前へ(&M)", previousTrack),
    item(MENU_TOP, IDM_NEXT, L"次へ(&N)", nextTrack),
    item(MENU_TOP, IDM_FIRST_TRACK, L"先頭へ(&T)", goToFirstTrack),
    submenu(MENU_TOP, MENU_SELECT, L"選択(&E)"),
    separator(MENU_TOP),
    item(MENU_TOP, IDM_VOLUME, L"音量(&V)", openVolumeDialog),
    item(MENU_TOP, IDM_SEEK, L"シーク(&C)", openSeekWindow),
    separator(MENU_TOP),
    submenu(MENU_TOP, MENU_SETTINGS, L"設定(&O)"),
    submenu(MENU_TOP, MENU_HELP, L"ヘルプ(&H)"),
    item(MENU_TOP, IDM_EXIT, L"終了(&X)", [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }),

    dialog(MENU_FILE, IDM_OPEN_FILES, L"ファイルを開く(&O)", openFiles),
    dialog(MENU_FILE, IDM_OPEN_FOLDER, L"フォルダーを開く(&F)", openFolder, false),
    toggle(MENU_FILE, IDM_SORT_ON_OPEN, L"複数のファイルを開いた時はソート(&S)", &sortOnOpen),
    toggle(MENU_FILE, IDM_SORT_BY_FULL_PATH, L"ソートの基準をファイル名ではなくフルパスにする(&K)", &sortByFullPath),
    separator(MENU_FILE),
    dialog(MENU_FILE, IDM_OPEN_PLAYLIST, L"プレイリストを開く(&L)", openPlaylist),
    toggle(MENU_FILE, IDM_SORT_LOADED_PLAYLIST, L"プレイリストを開いた時はソート(&P)", &sortLoadedPlaylist),
    separator(MENU_FILE),
    dialog(MENU_FILE, IDM_EXPORT_PLAYLIST, L"プレイリストファイルに書き出す(&A)", exportPlaylist),

    toggle(MENU_SETTINGS, IDM_REPEAT, L"繰り返す(&R)", &repeat),
    toggle(MENU_SETTINGS, IDM_SHUFFLE, L"シャッフル(&U)", &shuffle, reorderForShuffle),
    toggle(MENU_SETTINGS, IDM_BALLOON_ON_OPEN, L"曲オープン時バルーン(&B)", &balloonOnOpen),
    submenu(MENU_SETTINGS, MENU_MESSAGES, L"メッセージ表示形式(&M)"),
    item(MENU_SETTINGS, IDM_AUTOPLAY_REGISTER, L"自動再生ソフト登録(&J)", [](HWND) { toggleAutoplayRegistration(); },
         checkedWhenRegistered),

    choice(IDM_MSG_MESSAGE_BOX, L"メッセージボックス(&M)", &messageDisplayType, MESSAGE_BOX),
    choice(IDM_MSG_BALLOON, L"バルーン(&B)", &messageDisplayType, MESSAGE_BALLOON),
    choice(IDM_MSG_HIDDEN, L"非表示(&H)", &messageDisplayType, MESSAGE_HIDDEN),

    item(MENU_HELP, IDM_README, L"Readme.txt(&H)", openReadme),
    separator(MENU_HELP),
    dialog(MENU_HELP, IDM_ABOUT, L"バージョン情報(&A)", openAboutDialog),
};

HMENU buildCommandMenu()
{
    return buildTrayMenu(commands, ARRAYSIZE(commands));
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

static const TrayCommand* findCommand(unsigned int id)
{
    for (const TrayCommand& command : commands) {
        if (command.id == id && command.kind != COMMAND_SUBMENU && command.kind != COMMAND_SEPARATOR)
            return &command;
    }
    return nullptr;
}

static void switchSetting(HWND window, const TrayCommand& command)
{
    *command.setting = *command.setting == 0 ? 1 : 0;
    if (command.run)
        command.run(window);
    saveSettings();
}

static void runModal(HWND window, void (*dialog)(HWND))
{
    modalDialogOpen = 1;
    dialog(window);
    modalDialogOpen = 0;
}

LRESULT runCommand(HWND window, unsigned int id)
{
    const TrayCommand* command = findCommand(id);
    if (!command && id >= IDM_SELECT_FIRST)
        selectTrack(window, static_cast<int>(id - IDM_SELECT_FIRST));
    if (!command || (modalDialogOpen && command->refusedWhileDialogOpen))
        return 0;
    switch (command->kind) {
    case COMMAND_TOGGLE: switchSetting(window, *command); break;
    case COMMAND_CHOICE: *command->setting = command->value, saveSettings(); break;
    case COMMAND_DIALOG: runModal(window, command->run); break;
    default: command->run(window); break;
    }
    return 0;
}
