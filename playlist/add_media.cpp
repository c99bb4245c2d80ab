#include "playlist/add_media.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wchar.h>

#include "base/player_globals.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/entry_building.h"
#include "playlist/file_dialog.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "playlist/start_grouping.h"
#include "settings/settings.h"

int openFilesFilterIndex;

// The list goes to the current-playlist file; the result tells the caller whether it did.
static NewListResult writeCurrentList()
{
    return writePlaylistFile(currentPlaylistFilePath) ? NEW_LIST_WRITTEN : NEW_LIST_NOT_WRITTEN;
}

// A list built from files is sorted first when the user asks for that.
static NewListResult writeNewList(int count)
{
    if (sortOnOpen)
        sortPlaylist(count);
    return writeCurrentList();
}

// The audio files directly inside folder, as a new playlist written to the current-playlist
// file. The list in memory changes only when the folder holds at least one audio file.
static NewListResult scanFolder(const wchar_t* folder)
{
    wchar_t pattern[TEXT_BUFFER_UNITS];
    if (!formatText(pattern, TEXT_BUFFER_UNITS, L"%ls\\*", folder))
        return NEW_LIST_NOTHING;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return NEW_LIST_NOTHING;
    pattern[wcslen(pattern) - 1] = L'\0';
    size_t capacity = 64;
    size_t count = 0;
    PlaylistEntry* entries = allocatePlaylistEntries(capacity);
    bool enoughMemory = entries != nullptr;
    while (enoughMemory) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isAudioFileName(found.cFileName) &&
            storeJoinedPath(&entries[count], pattern, found.cFileName) && ++count == capacity)
            enoughMemory = growEntries(&entries, &capacity, 64);
        if (!FindNextFileW(search, &found))
            break;
    }
    FindClose(search);
    if (!enoughMemory || count == 0) {
        if (entries)
            HeapFree(GetProcessHeap(), 0, entries);
        return NEW_LIST_NOTHING;
    }
    currentPosition = 0;
    replacePlaylist(entries);
    return writeNewList(static_cast<int>(count));
}

bool addFolder(const wchar_t* folder)
{
    return scanFolder(folder) != NEW_LIST_NOTHING;
}

bool isAudioFileName(const wchar_t* name)
{
    static const wchar_t* const audioExtensions[] = {L"mp3", L"wav", L"wma", L"mid", nullptr};
    return hasExtensionIn(name, audioExtensions);
}

// An empty path would end the list where it stands; a longer one than an entry holds would be
// cut into the name of another file or folder.
static bool usableAsEntry(const wchar_t* path)
{
    return path[0] != L'\0' && wcslen(path) < TEXT_BUFFER_UNITS;
}

static NewListResult openPlaylistArgument(const wchar_t* file)
{
    if (!readPlaylistFile(file))
        return NEW_LIST_NOTHING;
    return writeCurrentList();
}

// The entries of the current-playlist file, in their order, as the playlist; 0 when unreadable.
static int loadListToJoin()
{
    return readPlaylistFileInOrder(currentPlaylistFilePath) ? playlistCount() : 0;
}

// Every path as an entry of its own, in command-line order, whatever it names; after the list
// of the previous start when this one joins it.
static NewListResult openFileArguments(wchar_t** paths, int pathCount)
{
    int kept = joinsPreviousStartNow(START_AUDIO_FILES) ? loadListToJoin() : 0;
    PlaylistEntry* entries = allocatePlaylistEntries(static_cast<size_t>(kept + pathCount) + 1);
    if (!entries)
        return NEW_LIST_NOTHING;
    for (int i = 0; i < kept; ++i)
        entries[i] = playlist[i];
    for (int i = 0; i < pathCount; ++i)
        storeEntryPath(&entries[kept + i], paths[i]);
    replacePlaylist(entries);
    return writeNewList(kept + pathCount);
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
        result = scanFolder(paths[0]);
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

NewListResult openCommandLinePaths()
{
    return openCommandLineText(GetCommandLineW());
}

// Pattern pairs of the open-files dialog; the literal's own terminator ends the list.
static const wchar_t openFilesFilters[] =
    L"MP3 形式サウンド (*.mp3)\0*.mp3\0"
    L"Wave サウンド (*.wav)\0*.wav\0"
    L"Windows Media オーディオ ファイル (*.wma)\0*.wma\0"
    L"MIDI シーケンス (*.mid)\0*.mid\0"
    L"すべてのファイル (*.*)\0*.*\0";

static const DWORD selectionUnits = 20480;

// Several files: the folder, then each name as its own string, then an empty string.
static PlaylistEntry* entriesOfSeveralFiles(const wchar_t* selection, size_t* count)
{
    wchar_t prefix[TEXT_BUFFER_UNITS];
    bool prefixFits = formatText(prefix, TEXT_BUFFER_UNITS, L"%ls\\", selection);
    size_t capacity = 128;
    PlaylistEntry* entries = allocatePlaylistEntries(capacity);
    for (const wchar_t* name = selection + wcslen(selection) + 1; entries && *name != L'\0'; name += wcslen(name) + 1) {
        if (*count == capacity - 1 && !growEntries(&entries, &capacity, 128)) {
            HeapFree(GetProcessHeap(), 0, entries);
            return nullptr;
        }
        if (prefixFits && storeJoinedPath(&entries[*count], prefix, name))
            ++*count;
    }
    return entries;
}

// The dialog's selection as a new array; nullptr when nothing of it fits an entry.
static PlaylistEntry* entriesOfSelection(const wchar_t* selection, size_t* count)
{
    *count = 0;
    PlaylistEntry* entries;
    if (PathIsDirectoryW(selection)) {
        entries = entriesOfSeveralFiles(selection, count);
    } else {
        entries = allocatePlaylistEntries(2);
        if (entries && storeEntryPath(&entries[0], selection))
            *count = 1;
    }
    if (entries && *count == 0) {
        HeapFree(GetProcessHeap(), 0, entries);
        return nullptr;
    }
    return entries;
}

void openFilesDialog(HWND window)
{
    static wchar_t selection[selectionUnits];
    if (!runFileDialog(FILE_DIALOG_OPEN, window, openFilesFilters, &openFilesFilterIndex, selection, selectionUnits,
                       L"音声ファイルを開く（複数可）",
                       OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY))
        return;
    size_t count = 0;
    PlaylistEntry* entries = entriesOfSelection(selection, &count);
    if (!entries)
        return;
    closeTrack(window);
    currentPosition = 0;
    replacePlaylist(entries);
    writeNewList(static_cast<int>(count));
    playNewList(window);
}

static int CALLBACK browseFolderCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

void openFolderDialog(HWND window)
{
    wchar_t path[TEXT_BUFFER_UNITS] = L"";
    LPITEMIDLIST music = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_MYMUSIC, &music))) {
        SHGetPathFromIDListW(music, path);
        CoTaskMemFree(music);
    }
    BROWSEINFOW browse = {};
    browse.hwndOwner = window;
    browse.pszDisplayName = path;
    browse.lpszTitle = L"フォルダーを開く";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = browseFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(path);
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return;
    bool named = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    if (!named || !addFolder(path))
        return;
    closeTrack(window);
    playNewList(window);
}
