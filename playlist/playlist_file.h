// Playlist files: UTF-16LE text, one "path<TAB>start<TAB>end" line per entry, and the per-user
// current-playlist file that carries the playlist from run to run and from a later start.
#pragma once

#include <windows.h>

bool isPlaylistFileName(const wchar_t* path);
// Writes the whole playlist; reports a failure and returns false then.
bool writePlaylistFile(const wchar_t* file);
// Replaces the playlist by the file's entries; false (nothing changed) when it cannot be opened.
bool readPlaylistFile(const wchar_t* file);
// Reads the current-playlist file and opens its first track without starting it.
void loadCurrentPlaylist(HWND window);
