#include "playback/play_order.h"

void nextTrack(HWND) {}
void previousTrack(HWND) {}
bool rebuildShuffleOrder(HWND) { return false; }
void onTrackEnded(HWND) {}
void shuffleSwitchedOn(HWND) {}
void shuffleSwitchedOff() {}
bool openFirstTrackOfNewList(HWND) { return false; }
