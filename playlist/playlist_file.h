// Playlist files: UTF-16LE text, one "path<TAB>start<TAB>end" line per entry, and the per-user
// current-playlist file that carries the playlist from run to run and from a later start.
#pragma once

#include <windows.h>

struct PlaylistEntry;

bool isPlaylistFileName(const wchar_t* path);
// Writes the whole playlist; reports a failure and returns false then.
bool writePlaylistFile(const wchar_t* file);
// The file's entries in a new array, in the file's order, their number and (unless written is null) the
// last-write time of the version read; nullptr when it cannot be read.
PlaylistEntry* readPlaylistEntries(const wchar_t* file, int* count, FILETIME* written);
// Removes the temporary files that writers of playlists beside file left when they ended half-way
// (those whose process no longer runs).
void removeAbandonedTemporaryFiles(const wchar_t* file);
