#include <stdlib.h>

#include "base/wide_text.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

// The file-name key of a path is its last component (name and extension), used in place so that
// no over-long name or extension has to fit a fixed buffer.
static const wchar_t* sortKey(const PlaylistEntry* entry)
{
    return sortByFullPath ? entry->path : fileNamePart(entry->path);
}

int compareEntries(const void* a, const void* b)
{
    const wchar_t* keyA = sortKey(static_cast<const PlaylistEntry*>(a));
    const wchar_t* keyB = sortKey(static_cast<const PlaylistEntry*>(b));
    for (;; ++keyA, ++keyB) {
        unsigned int unitA = static_cast<unsigned short>(*keyA);
        unsigned int unitB = static_cast<unsigned short>(*keyB);
        if (unitA != unitB)
            return unitA < unitB ? -1 : 1;
        if (unitA == 0)
            return 0;
    }
}

void sortPlaylist(int count)
{
    qsort(playlist, static_cast<size_t>(count), sizeof(PlaylistEntry), compareEntries);
}
