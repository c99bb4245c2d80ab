// The one in-memory playlist: a heap array of fixed-size entries ended by an entry with an
// empty path (the terminator). There is no stored count; readers walk to the terminator.
#pragma once

#include <stddef.h>

#include "base/player_globals.h"

struct PlaylistEntry {
    wchar_t path[TEXT_BUFFER_UNITS];
    unsigned int start; // ms; 0 = from the beginning of the file
    unsigned int end;   // ms; 0 = to the end of the file
};

extern PlaylistEntry* playlist;
// count + 1 slots, the last one referring to the terminator; a null first slot means that no
// shuffled order has been built yet.
extern PlaylistEntry** shuffleOrder;
// Position in the order in force: a playlist index with shuffle off, a shuffleOrder index with it on.
extern int currentPosition;

// The entry at a play-order position, shuffle-aware; the terminator for an empty playlist.
PlaylistEntry* entryAtPosition(int position);

// Number of entries before the terminator.
int playlistCount();

// True when the playlist is the beginning of the count entries, or all of them.
bool playlistBegins(const PlaylistEntry* entries, int count);

// qsort comparison of two entries: file-name key, or the full path when sortByFullPath is set,
// compared ordinally by UTF-16 code unit.
int compareEntries(const void* a, const void* b);

// Sorts the first count entries of the playlist with compareEntries.
void sortPlaylist(int count);

// Zero-filled entries from the process heap; nullptr when memory runs out.
PlaylistEntry* allocatePlaylistEntries(size_t capacity);
// A zero-filled shuffled order of slots references (count + 1 for a list of count entries);
// nullptr when memory runs out.
PlaylistEntry** allocateShuffleOrder(size_t slots);
// Grows an array to capacity entries, zero-filling the new ones; nullptr (old array intact) on failure.
PlaylistEntry* growPlaylistEntries(PlaylistEntry* entries, size_t capacity);
// Releases the current playlist and puts entries in its place.
void replacePlaylist(PlaylistEntry* entries);
// Releases the playlist and the shuffled order (main window destruction).
void releasePlaylist();
