#include "ui/tray_menu.h"

#include <limits.h>
#include <wchar.h>

#include "base/player_globals.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/autoplay.h"
#include "settings/settings.h"
#include "ui/setting_toggles.h"

// Longest file name or extension that a selection label shows; longer ones end in an ellipsis.
#define LABEL_PART_UNITS 256

// Copies units of text; a part longer than a label may show ends in an ellipsis instead.
static void copyLabelPart(wchar_t* part, const wchar_t* text, size_t units)
{
    if (units > LABEL_PART_UNITS) {
        copyTextShortened(part, LABEL_PART_UNITS + 1, text);
        return;
    }
    wmemcpy(part, text, units);
    part[units] = L'\0';
}

// "name" and ".ext" of the path's last component, joined.
static void formatTrackLabel(const wchar_t* path, wchar_t* label)
{
    const wchar_t* fileName = fileNamePart(path);
    const wchar_t* dot = wcsrchr(fileName, L'.');
    if (!dot)
        dot = fileName + wcslen(fileName);
    wchar_t name[LABEL_PART_UNITS + 1];
    wchar_t extension[LABEL_PART_UNITS + 1];
    copyLabelPart(name, fileName, static_cast<size_t>(dot - fileName));
    copyLabelPart(extension, dot, wcslen(dot));
    formatText(label, TEXT_BUFFER_UNITS, L"%ls%ls", name, extension);
}

// Command ids travel in 16 bits, so the list cannot name more positions than the ids up to
// IDM_SELECT_LAST; later tracks stay reachable with Next.
int selectionLength(int count)
{
    const int selectable = IDM_SELECT_LAST - IDM_SELECT_FIRST + 1;
    return count < selectable ? count : selectable;
}

SelectionWindow selectionWindow(int count, int position)
{
    const int listable = selectionLength(count);
    if (listable <= SELECTION_WINDOW_ITEMS)
        return {0, listable};
    // Half the window before the current track, the rest after it, pushed back inside at the ends.
    int first = position - SELECTION_WINDOW_ITEMS / 2;
    if (first > listable - SELECTION_WINDOW_ITEMS)
        first = listable - SELECTION_WINDOW_ITEMS;
    if (first < 0)
        first = 0;
    return {first, first + SELECTION_WINDOW_ITEMS};
}

// The playlist's length as far as the window around position can tell: it starts at most half a
// window before position (and no later than the ids allow), so one entry beyond a whole window from
// there settles where it ends. A long list is not walked to its end at every right click.
static int countEntriesForWindow(int position)
{
    const int latestFirst = selectionLength(INT_MAX) - SELECTION_WINDOW_ITEMS;
    int first = position - SELECTION_WINDOW_ITEMS / 2;
    first = first < 0 ? 0 : first > latestFirst ? latestFirst : first;
    const int limit = first + SELECTION_WINDOW_ITEMS + 1;
    int count = 0;
    while (count < limit && playlist[count].path[0] != L'\0')
        ++count;
    return count;
}

// Stands for the positions left out at one end of the list; it carries no id and does nothing.
static void appendOmission(HMENU menu)
{
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"\u2026");
}

HMENU buildSelectSubmenu()
{
    HMENU menu = CreatePopupMenu();
    const int count = countEntriesForWindow(currentPosition);
    const SelectionWindow window = selectionWindow(count, currentPosition);
    const int leading = window.first > 0 ? 1 : 0;
    if (leading)
        appendOmission(menu);
    int position = window.first;
    for (; position < window.last; ++position) {
        const PlaylistEntry* entry = entryAtPosition(position);
        if (!entry || entry->path[0] == L'\0')
            break;
        wchar_t label[TEXT_BUFFER_UNITS];
        formatTrackLabel(entry->path, label);
        AppendMenuW(menu, MF_STRING, IDM_SELECT_FIRST + position, label);
    }
    if (window.last < count)
        appendOmission(menu);
    // The items keep the order of their positions; marking by position spares a search by id per item.
    if (position > window.first && currentPosition >= window.first && currentPosition < position)
        CheckMenuRadioItem(menu, leading, leading + position - window.first - 1,
                           static_cast<unsigned int>(leading + currentPosition - window.first), MF_BYPOSITION);
    return menu;
}

static UINT checkedIf(int setting)
{
    return setting ? MF_CHECKED : MF_UNCHECKED;
}

static void appendToggle(HMENU menu, unsigned int id)
{
    const SettingToggle* toggle = findSettingToggle(id);
    AppendMenuW(menu, checkedIf(*toggle->setting), id, toggle->text);
}

static HMENU buildFileMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_OPEN_FILES, L"ファイルを開く(&O)");
    AppendMenuW(menu, MF_STRING, IDM_OPEN_FOLDER, L"フォルダーを開く(&F)");
    appendToggle(menu, IDM_SORT_ON_OPEN);
    appendToggle(menu, IDM_SORT_BY_FULL_PATH);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_OPEN_PLAYLIST, L"プレイリストを開く(&L)");
    appendToggle(menu, IDM_SORT_LOADED_PLAYLIST);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_EXPORT_PLAYLIST, L"プレイリストファイルに書き出す(&A)");
    return menu;
}

static HMENU buildMessageDisplayMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_MSG_MESSAGE_BOX, L"メッセージボックス(&M)");
    AppendMenuW(menu, MF_STRING, IDM_MSG_BALLOON, L"バルーン(&B)");
    AppendMenuW(menu, MF_STRING, IDM_MSG_HIDDEN, L"非表示(&H)");
    if (messageDisplayType >= 0 && messageDisplayType <= IDM_MSG_HIDDEN - IDM_MSG_MESSAGE_BOX)
        CheckMenuRadioItem(menu, IDM_MSG_MESSAGE_BOX, IDM_MSG_HIDDEN, IDM_MSG_MESSAGE_BOX + messageDisplayType,
                           MF_BYCOMMAND);
    return menu;
}

static HMENU buildSettingsMenu()
{
    HMENU menu = CreatePopupMenu();
    appendToggle(menu, IDM_REPEAT);
    appendToggle(menu, IDM_SHUFFLE);
    appendToggle(menu, IDM_BALLOON_ON_OPEN);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(buildMessageDisplayMenu()), L"メッセージ表示形式(&M)");
    AppendMenuW(menu, checkedIf(isAutoplayRegistered()), IDM_AUTOPLAY_REGISTER, L"自動再生ソフト登録(&J)");
    return menu;
}

static HMENU buildHelpMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_README, L"Readme.txt(&H)");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUT, L"バージョン情報(&A)");
    return menu;
}

// Pause while playing, play otherwise; a MIDI sequencer cannot be paused.
static void appendPlayOrPause(HMENU menu)
{
    if (!isPlaying) {
        AppendMenuW(menu, MF_STRING, IDM_PLAY, L"再生(&P)");
        return;
    }
    AppendMenuW(menu, isSequencerOpen() ? MF_GRAYED : MF_STRING, IDM_PAUSE, L"一時停止(&P)");
}

// Stop is offered unless the device is known to rest; with nothing open the query fails.
static void appendStopWhenActive(HMENU menu)
{
    DeviceMode mode = deviceMode();
    if (mode != DEVICE_STOPPED && mode != DEVICE_SEEKING)
        AppendMenuW(menu, MF_STRING, IDM_STOP, L"停止(&S)");
}

HMENU buildTrayMenu()
{
    HMENU selectMenu = buildSelectSubmenu();
    HMENU fileMenu = buildFileMenu();
    HMENU settingsMenu = buildSettingsMenu();
    HMENU helpMenu = buildHelpMenu();

    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu), L"ファイル(&F)");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    appendPlayOrPause(menu);
    appendStopWhenActive(menu);
    AppendMenuW(menu, MF_STRING, IDM_PREVIOUS, L"前へ(&M)");
    AppendMenuW(menu, MF_STRING, IDM_NEXT, L"次へ(&N)");
    AppendMenuW(menu, MF_STRING, IDM_FIRST_TRACK, L"先頭へ(&T)");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(selectMenu), L"選択(&E)");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_VOLUME, L"音量(&V)");
    AppendMenuW(menu, MF_STRING, IDM_SEEK, L"シーク(&C)");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(settingsMenu), L"設定(&O)");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(helpMenu), L"ヘルプ(&H)");
    AppendMenuW(menu, MF_STRING, IDM_EXIT, L"終了(&X)");
    return menu;
}
