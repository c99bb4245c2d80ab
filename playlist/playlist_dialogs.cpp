#include "playlist/playlist_dialogs.h"

void playlistOpenDialog(HWND) {}
void exportPlaylistDialog(HWND) {}
