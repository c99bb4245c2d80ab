// Which entry is current and which one follows: next, previous, repeat and shuffle.
#pragma once

#include <windows.h>

void nextTrack(HWND window);
void previousTrack(HWND window);
// A fresh random order; true when it opened a track that the caller may start.
bool rebuildShuffleOrder(HWND window);
// A fresh random order that begins with the entry at playlist index currentPosition, which stays
// open as it is: for a list that grew under the track in play.
void shuffleKeepingCurrentTrack();
// A track played to its end (MM_MCINOTIFY with MCI_NOTIFY_SUCCESSFUL).
void onTrackEnded(HWND window);
// The effects of the shuffle setting having just been switched on or off (not saved here).
void shuffleSwitchedOn(HWND window);
void shuffleSwitchedOff();

// Opens the first track of a newly built list: a fresh shuffled order with shuffle on, else the
// entry at position 0. True when a track was opened that the caller may start.
bool openFirstTrackOfNewList(HWND window);
// Opens the current track and starts it when it opened.
void openAndPlay(HWND window);
