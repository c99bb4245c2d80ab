#include "playlist/entry_building.h"

#include "base/wide_text.h"

bool growEntries(PlaylistEntry** entries, size_t* capacity, size_t step)
{
    // Growing by a fixed step would copy the array once per step: quadratic in long lists.
    size_t wanted = *capacity + (*capacity > step ? *capacity : step);
    PlaylistEntry* grown = growPlaylistEntries(*entries, wanted);
    if (!grown)
        return false;
    *entries = grown;
    *capacity = wanted;
    return true;
}

bool storeEntryPath(PlaylistEntry* entry, const wchar_t* path)
{
    if (copyText(entry->path, sizeof(entry->path) / sizeof(entry->path[0]), path))
        return true;
    entry->path[0] = L'\0';
    return false;
}

bool storeJoinedPath(PlaylistEntry* entry, const wchar_t* prefix, const wchar_t* name)
{
    if (formatText(entry->path, sizeof(entry->path) / sizeof(entry->path[0]), L"%ls%ls", prefix, name))
        return true;
    entry->path[0] = L'\0';
    return false;
}
