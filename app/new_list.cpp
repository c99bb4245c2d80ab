#include "app/new_list.h"

#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"

bool takeNewList(PlaylistEntry* entries, int count, ListOrigin origin)
{
    currentPosition = 0;
    replacePlaylist(entries);
    if ((origin == LIST_OF_FILES && sortOnOpen) || (origin == LIST_OF_PLAYLIST_FILE && sortLoadedPlaylist))
        sortPlaylist(count);
    return origin == LIST_OF_CURRENT_FILE || writePlaylistFile(currentPlaylistFilePath);
}

void adoptNewList(HWND window, PlaylistEntry* entries, int count, ListOrigin origin, bool start)
{
    if (!entries)
        return;
    closeTrack(window);
    takeNewList(entries, count, origin);
    if (openFirstTrackOfNewList(window) && start)
        startPlayback(window);
}

void loadCurrentPlaylist(HWND window)
{
    int count = 0;
    PlaylistEntry* entries = readPlaylistEntries(currentPlaylistFilePath, &count, nullptr);
    if (entries && takeNewList(entries, count, LIST_OF_CURRENT_FILE))
        openFirstTrackOfNewList(window);
}

// The version of the current-playlist file that the last reload took.
static FILETIME reloadedVersion;

// A list that grew under the open track keeps it as it is, playing or not: the newcomers only join.
// The version already taken, which a reload queued meanwhile reads again, changes nothing; the same
// list written anew (the same files opened again) starts again.
static bool joinListInPlay(PlaylistEntry* entries, int count, FILETIME version)
{
    int kept = playlistCount();
    bool continues = playlistBegins(entries, count);
    bool taken = continues && count == kept && CompareFileTime(&version, &reloadedVersion) == 0;
    reloadedVersion = version;
    if (taken) {
        HeapFree(GetProcessHeap(), 0, entries);
        return true;
    }
    if (!continues || count == kept || deviceMode() == DEVICE_NOT_OPEN)
        return false;
    int index = static_cast<int>(entryAtPosition(currentPosition) - playlist);
    replacePlaylist(entries);
    currentPosition = index;
    if (shuffle)
        shuffleKeepingCurrentTrack();
    return true;
}

void reloadCurrentPlaylist(HWND window)
{
    int count = 0;
    FILETIME version;
    PlaylistEntry* entries = readPlaylistEntries(currentPlaylistFilePath, &count, &version);
    if (!entries)
        closeTrack(window);
    else if (!joinListInPlay(entries, count, version))
        adoptNewList(window, entries, count, LIST_OF_CURRENT_FILE, false);
}
