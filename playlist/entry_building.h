// Filling a new playlist array: room for more entries, and paths that must fit whole.
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
