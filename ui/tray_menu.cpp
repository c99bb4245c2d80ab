#include "ui/tray_menu.h"

#include <limits.h>
#include <wchar.h>

#include "base/player_globals.h"
#include "base/wide_text.h"
#include "playlist/playlist.h"
#include "resources/resource.h"

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

static UINT flagsOf(ItemState state)
{
    return state == ITEM_CHECKED ? MF_CHECKED : state == ITEM_GRAYED ? MF_GRAYED : MF_STRING;
}

static HMENU buildPart(const TrayCommand* commands, size_t count, MenuPart part)
{
    if (part == MENU_SELECT)
        return buildSelectSubmenu();
    HMENU menu = CreatePopupMenu();
    for (const TrayCommand* command = commands; command < commands + count; ++command) {
        if (command->part != part)
            continue;
        ItemState state = command->state ? command->state() : ITEM_PLAIN;
        if (state == ITEM_ABSENT)
            continue;
        if (command->kind == COMMAND_SEPARATOR)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else if (command->kind == COMMAND_SUBMENU)
            AppendMenuW(menu, MF_POPUP,
                        reinterpret_cast<UINT_PTR>(buildPart(commands, count, static_cast<MenuPart>(command->id))),
                        command->label);
        else if (command->kind == COMMAND_TOGGLE)
            AppendMenuW(menu, *command->setting ? MF_CHECKED : MF_UNCHECKED, command->id, command->label);
        else
            AppendMenuW(menu, flagsOf(state), command->id, command->label);
        if (command->kind == COMMAND_CHOICE && *command->setting == command->value)
            CheckMenuRadioItem(menu, command->id, command->id, command->id, MF_BYCOMMAND);
    }
    return menu;
}

HMENU buildTrayMenu(const TrayCommand* commands, size_t count)
{
    return buildPart(commands, count, MENU_TOP);
}
