// Tray menu figures, in milliseconds, for playlists of 10 to 200 000 entries:
//   menu     = building the tray menu and DestroyMenu, the work of one right click before the menu shows,
//              with the first track current (as after loading a playlist);
//   middle   = the same with the current track in the middle of the list, where the list is
//              walked up to the window (at most the 63 537 entries that ids can name);
//   baseline = as many fixed items as the selection submenu lists (at most 1 000) appended to a
//              bare popup menu and destroyed, the system's own share of that work;
//   ratio    = menu against the menu of 1 000 entries: the selection submenu lists a window of
//              positions, so from there on the figure should stay flat.
// Each time is the best of 25 runs: under Wine a single run varies several-fold with the state of
// the heap and with the other programs on the machine, and the first of two equal runs usually pays most.
#include <windows.h>

#include <stdio.h>

#include "app/commands.h"
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
    shuffleOrder = allocateShuffleOrder(1);
    const int sizes[] = {10, 100, 1000, 16000, 100000, 200000};
    printf("%8s %12s %12s %12s %8s\n", "entries", "menu ms", "middle ms", "baseline ms", "ratio");
    double thousand = 0;
    for (int count : sizes) {
        fillPlaylist(count);
        const int listed = count < SELECTION_WINDOW_ITEMS ? count : SELECTION_WINDOW_ITEMS;
        double baseline = bestOf([listed] {
            HMENU bare = CreatePopupMenu();
            for (int i = 0; i < listed; ++i)
                AppendMenuW(bare, MF_STRING, 2000 + i, L"00000 Track title.mp3");
            DestroyMenu(bare);
        }, 25);
        currentPosition = 0;
        double menu = bestOf([] { DestroyMenu(buildCommandMenu()); }, 25);
        currentPosition = count / 2;
        double middle = bestOf([] { DestroyMenu(buildCommandMenu()); }, 25);
        if (count == SELECTION_WINDOW_ITEMS)
            thousand = menu;
        printf("%8d %12.1f %12.1f %12.1f %8.2f\n", count, menu, middle, baseline,
               thousand > 0 ? menu / thousand : 0.0);
        fflush(stdout);
    }
    return 0;
}
