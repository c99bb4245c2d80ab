// Tray menu figures, in milliseconds, for playlists of 10 to 16 000 entries:
//   menu     = buildTrayMenu and DestroyMenu, the work of one right click before the menu shows;
//   baseline = the same number of fixed items appended to a bare popup menu and destroyed,
//              the system's own share of that work.
// Each time is the best of three runs: under Wine a single large run varies several-fold with
// the state of the heap, and the first of two equal runs usually pays most.
#include <windows.h>

#include <stdio.h>

#include "bench/bench_clock.h"
#include "playlist/playlist.h"
#include "ui/tray_menu.h"

static void fillPlaylist(int count)
{
    PlaylistEntry* entries = allocatePlaylistEntries(static_cast<size_t>(count) + 1);
    for (int i = 0; i < count; ++i)
        swprintf(entries[i].path, 1024, L"C:\\Users\\someone\\Music\\Artist %d\\Album\\%05d Track title.mp3", i / 12, i);
    replacePlaylist(entries);
}

int wmain()
{
    shuffleOrder = static_cast<PlaylistEntry**>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PlaylistEntry*)));
    const int sizes[] = {10, 100, 1000, 4000, 8000, 16000};
    printf("%8s %12s %12s\n", "entries", "menu ms", "baseline ms");
    for (int count : sizes) {
        fillPlaylist(count);
        double baseline = bestOf([count] {
            HMENU bare = CreatePopupMenu();
            for (int i = 0; i < count; ++i)
                AppendMenuW(bare, MF_STRING, 2000 + i, L"00000 Track title.mp3");
            DestroyMenu(bare);
        });
        double menu = bestOf([] { DestroyMenu(buildTrayMenu()); });
        printf("%8d %12.1f %12.1f\n", count, menu, baseline);
        fflush(stdout);
    }
    return 0;
}
