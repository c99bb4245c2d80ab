#include "playback/play_order.h"

#include <stdlib.h>

#include "base/player_globals.h"
#include "base/system_calls.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

struct ShuffleKey {
    int index;
    int key;
};

static int compareShuffleKeys(const void* a, const void* b)
{
    return static_cast<const ShuffleKey*>(a)->key - static_cast<const ShuffleKey*>(b)->key;
}

static bool isDeviceActive()
{
    DeviceMode mode = deviceMode();
    return mode == DEVICE_PLAYING || mode == DEVICE_PAUSED;
}

// Slot j takes the track of key pair j; a track that keeps playing is swapped into slot 0.
static void fillOrder(PlaylistEntry** order, const ShuffleKey* keys, int count, bool keepCurrent)
{
    order[count] = &playlist[count];
    for (int j = 0; j < count; ++j) {
        int index = keys[j].index;
        if (keepCurrent && j == 0)
            index = currentPosition;
        else if (keepCurrent && index == currentPosition)
            index = keys[0].index;
        order[j] = &playlist[index];
    }
}

// A fresh random order of the whole list, at position 0; with keepCurrent the entry at playlist
// index currentPosition comes first.
static void drawShuffleOrder(bool keepCurrent)
{
    int count = playlistCount();
    keepCurrent = keepCurrent && currentPosition >= 0 && currentPosition < count;
    HANDLE heap = GetProcessHeap();
    PlaylistEntry** order = allocateShuffleOrder(static_cast<size_t>(count) + 1);
    ShuffleKey* keys = static_cast<ShuffleKey*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, (count + 1) * sizeof(ShuffleKey)));
    if (order && keys) {
        srand(systemTickCount());
        for (int i = 0; i < count; ++i)
            keys[i] = {i, rand()};
        qsort(keys, count, sizeof(ShuffleKey), compareShuffleKeys);
        fillOrder(order, keys, count, keepCurrent);
        HeapFree(heap, 0, shuffleOrder);
        shuffleOrder = order;
    } else {
        // Without memory for a new order, the old one (which may refer to a replaced list) is
        // marked as not built: every position then yields the first track.
        HeapFree(heap, 0, order);
        shuffleOrder[0] = nullptr;
    }
    HeapFree(heap, 0, keys);
    currentPosition = 0;
}

bool rebuildShuffleOrder(HWND window)
{
    bool active = isDeviceActive();
    drawShuffleOrder(active);
    if (active)
        return false;
    return openTrack(window);
}

void shuffleKeepingCurrentTrack()
{
    drawShuffleOrder(true);
}

void openAndPlay(HWND window)
{
    if (openTrack(window))
        startPlayback(window);
}

// The device is stopped first, or the rebuild would take it for a track that plays on.
static void startNewShuffledPass(HWND window)
{
    haltPlayback();
    if (rebuildShuffleOrder(window))
        startPlayback(window);
}

void nextTrack(HWND window)
{
    int count = playlistCount();
    if (currentPosition < 0 || currentPosition >= count) {
        currentPosition = 0;
    } else if (currentPosition + 1 < count) {
        ++currentPosition;
    } else if (shuffle) {
        startNewShuffledPass(window);
        return;
    } else {
        currentPosition = 0;
    }
    openAndPlay(window);
}

void previousTrack(HWND window)
{
    int count = playlistCount();
    if (currentPosition > count)
        currentPosition = count;
    if (currentPosition > 0) {
        --currentPosition;
    } else if (count == 0) {
        currentPosition = 0;
    } else if (shuffle) {
        startNewShuffledPass(window);
        return;
    } else {
        currentPosition = count - 1;
    }
    openAndPlay(window);
}

void onTrackEnded(HWND window)
{
    tellPlaybackChange(window, NOW_STOPPED);
    if (!repeat && currentPosition + 1 >= playlistCount()) {
        if (shuffle) {
            rebuildShuffleOrder(window);
        } else {
            currentPosition = 0;
            openTrack(window);
        }
        return;
    }
    nextTrack(window);
}

void shuffleSwitchedOn(HWND window)
{
    rebuildShuffleOrder(window);
}

// The current track stays current: its shuffled slot becomes its playlist index.
void shuffleSwitchedOff()
{
    int count = playlistCount();
    int position = currentPosition;
    currentPosition = 0;
    if (count == 0 || shuffleOrder[0] == nullptr || position < 0 || position > count)
        return;
    for (int i = 0; i <= count; ++i) {
        if (shuffleOrder[position] == &playlist[i])
            currentPosition = i;
    }
}

bool openFirstTrackOfNewList(HWND window)
{
    currentPosition = 0;
    if (shuffle)
        return rebuildShuffleOrder(window);
    return openTrack(window);
}
