#include "playlist/playlist_file.h"

bool isPlaylistFileName(const wchar_t*) { return false; }
bool writePlaylistFile(const wchar_t*) { return false; }
bool readPlaylistFile(const wchar_t*) { return false; }
void loadCurrentPlaylist(HWND) {}
