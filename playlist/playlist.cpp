#include "playlist/playlist.h"

#include <windows.h>
#include <wchar.h>

#include "settings/settings.h"

PlaylistEntry* playlist;
PlaylistEntry** shuffleOrder;
int currentPosition;

PlaylistEntry* entryAtPosition(int position)
{
    if (playlist[0].path[0] == L'\0')
        return &playlist[0];
    if (shuffle) {
        if (shuffleOrder[0] == nullptr)
            return &playlist[0];
        return shuffleOrder[position];
    }
    return &playlist[position];
}

int playlistCount()
{
    int count = 0;
    while (playlist[count].path[0] != L'\0')
        ++count;
    return count;
}

bool playlistBegins(const PlaylistEntry* entries, int count)
{
    int kept = playlistCount();
    for (int i = 0; i < kept && kept <= count; ++i) {
        const PlaylistEntry& old = playlist[i];
        if (wcscmp(old.path, entries[i].path) != 0 || old.start != entries[i].start || old.end != entries[i].end)
            return false;
    }
    return kept <= count;
}

PlaylistEntry* allocatePlaylistEntries(size_t capacity)
{
    return static_cast<PlaylistEntry*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, capacity * sizeof(PlaylistEntry)));
}

PlaylistEntry** allocateShuffleOrder(size_t slots)
{
    return static_cast<PlaylistEntry**>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, slots * sizeof(PlaylistEntry*)));
}

PlaylistEntry* growPlaylistEntries(PlaylistEntry* entries, size_t capacity)
{
    return static_cast<PlaylistEntry*>(
        HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, entries, capacity * sizeof(PlaylistEntry)));
}

void replacePlaylist(PlaylistEntry* entries)
{
    if (playlist)
        HeapFree(GetProcessHeap(), 0, playlist);
    playlist = entries;
}

void releasePlaylist()
{
    HeapFree(GetProcessHeap(), 0, playlist);
    HeapFree(GetProcessHeap(), 0, shuffleOrder);
    playlist = nullptr;
    shuffleOrder = nullptr;
}
