// New playlists replace the old one here, whatever they come from: the command line, the dialogs, a
// later start's hand-over.
#pragma once

#include <windows.h>

struct PlaylistEntry;

// Where a new list comes from, which says how it is sorted and whether it is written.
enum ListOrigin {
    LIST_OF_FILES,         // audio files or a folder: sorted when the user asks for lists of files to be
    LIST_OF_PLAYLIST_FILE, // a playlist file: sorted when the user asks for opened playlists to be
    LIST_OF_CURRENT_FILE,  // the current-playlist file: kept in its order, not written again
};

// Makes entries (a new heap array of count entries) the playlist, at position 0, sorted as the user
// asks for lists of its origin, and writes it to the current-playlist file unless it came from there.
// False when that write failed (it has been reported).
bool takeNewList(PlaylistEntry* entries, int count, ListOrigin origin);

// The way a command replaces the playlist: the open track is closed, the list taken, and the first
// track of the play order opened and, with start, started. Nothing for entries nullptr.
void adoptNewList(HWND window, PlaylistEntry* entries, int count, ListOrigin origin, bool start);

// At the player's start: the list of the current-playlist file, its first track opened, not started.
void loadCurrentPlaylist(HWND window);

// A later start has written the current-playlist file: its list replaces the playlist, or, where it
// only grew, joins it while the open track stays as it is.
void reloadCurrentPlaylist(HWND window);
