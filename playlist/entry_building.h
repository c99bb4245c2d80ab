// New playlist arrays, built from paths: room for more entries, paths that must fit whole, and the
// audio files of a folder.
#pragma once

#include <stddef.h>

#include "playlist/playlist.h"

// Grows *entries (zero-filled) by step entries or, once the array is larger than that, by its own
// size, and updates *capacity. False when memory runs out; *entries is then still the intact old
// array, which the caller releases.
bool growEntries(PlaylistEntry** entries, size_t* capacity, size_t step);

// Copies path into entry's path when it fits whole; a longer one would name another file.
bool storeEntryPath(PlaylistEntry* entry, const wchar_t* path);

// prefix followed by name into entry's path when the two fit together.
bool storeJoinedPath(PlaylistEntry* entry, const wchar_t* prefix, const wchar_t* name);

// A name ending in .mp3, .wav, .wma or .mid (any case).
bool isAudioFileName(const wchar_t* name);

// The audio files directly inside folder, in the order the folder lists them, as a new array and
// their number; nullptr when there is none (or no memory).
PlaylistEntry* entriesOfFolder(const wchar_t* folder, int* count);
