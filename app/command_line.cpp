#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wchar.h>

#include "app/new_list.h"
#include "base/player_globals.h"
#include "playlist/entry_building.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "playlist/start_grouping.h"
#include "settings/settings.h"

// An empty path would end the list where it stands; a longer one than an entry holds would be
// cut into the name of another file or folder.
static bool usableAsEntry(const wchar_t* path)
{
    return path[0] != L'\0' && wcslen(path) < TEXT_BUFFER_UNITS;
}

// The list goes to the current-playlist file; the result tells the caller whether it did.
static NewListResult takeList(PlaylistEntry* entries, int count, ListOrigin origin)
{
    if (!entries)
        return NEW_LIST_NOTHING;
    return takeNewList(entries, count, origin) ? NEW_LIST_WRITTEN : NEW_LIST_NOT_WRITTEN;
}

static NewListResult openPlaylistArgument(const wchar_t* file)
{
    int count = 0;
    PlaylistEntry* entries = readPlaylistEntries(file, &count, nullptr);
    return takeList(entries, count, LIST_OF_PLAYLIST_FILE);
}

static NewListResult openFolderArgument(const wchar_t* folder)
{
    int count = 0;
    PlaylistEntry* entries = entriesOfFolder(folder, &count);
    return takeList(entries, count, LIST_OF_FILES);
}

// Every path as an entry of its own, in command-line order, whatever it names; after the entries
// of the current-playlist file when this start joins the list of the one before.
static NewListResult openFileArguments(wchar_t** paths, int pathCount)
{
    int kept = 0;
    bool joins = joinsPreviousStartNow(START_AUDIO_FILES);
    PlaylistEntry* previous = joins ? readPlaylistEntries(currentPlaylistFilePath, &kept, nullptr) : nullptr;
    PlaylistEntry* entries = allocatePlaylistEntries(static_cast<size_t>(kept + pathCount) + 1);
    for (int i = 0; entries && i < kept; ++i)
        entries[i] = previous[i];
    for (int i = 0; entries && i < pathCount; ++i)
        storeEntryPath(&entries[kept + i], paths[i]);
    if (previous)
        HeapFree(GetProcessHeap(), 0, previous);
    return takeList(entries, kept + pathCount, LIST_OF_FILES);
}

// Arguments that cannot be entries are dropped before anything is decided. The paths move to
// the front of the array, in their order; the result is their number.
static int keepUsableArguments(wchar_t** arguments, int argumentCount)
{
    int kept = 0;
    for (int i = 1; i < argumentCount; ++i) {
        if (usableAsEntry(arguments[i]))
            arguments[kept++] = arguments[i];
    }
    return kept;
}

// The first path alone decides what the whole command line means.
static StartKind kindOfPaths(wchar_t** paths)
{
    if (PathIsDirectoryW(paths[0]))
        return START_FOLDER;
    return isPlaylistFileName(paths[0]) ? START_PLAYLIST_FILE : START_AUDIO_FILES;
}

static NewListResult openPaths(wchar_t** paths, int pathCount)
{
    if (pathCount == 0)
        return NEW_LIST_NOTHING;
    StartKind kind = kindOfPaths(paths);
    NewListResult result;
    if (kind == START_FOLDER)
        result = openFolderArgument(paths[0]);
    else if (kind == START_PLAYLIST_FILE)
        result = openPlaylistArgument(paths[0]);
    else
        result = openFileArguments(paths, pathCount);
    // A list that could not be written is joined by nobody.
    if (result != NEW_LIST_NOTHING)
        rememberStartWrite(result == NEW_LIST_WRITTEN ? kind : START_NOTHING);
    return result;
}

NewListResult openCommandLineText(const wchar_t* commandLine)
{
    int argumentCount = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &argumentCount);
    if (!arguments)
        return NEW_LIST_NOTHING;
    NewListResult result = openPaths(arguments, keepUsableArguments(arguments, argumentCount));
    LocalFree(arguments);
    return result;
}
