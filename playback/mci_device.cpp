#include "playback/mci_device.h"

int isPlaying;

unsigned int sendMciCommand(const wchar_t*, wchar_t*, unsigned int, HWND) { return 0; }
void queryMci(const wchar_t*, wchar_t* reply) { reply[0] = L'\0'; }
void reportMciError(HWND, unsigned int, const wchar_t*) {}
bool openTrack(HWND) { return false; }
void closeTrack(HWND) {}
void startPlayback(HWND) {}
void pausePlayback() {}
void stopPlayback() {}
bool applyVolume(HWND) { return true; }
unsigned int sendVolume() { return 0; }
bool isVolumeUnsupported(unsigned int) { return false; }
void onPlaybackFailed() {}
