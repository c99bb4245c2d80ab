// Opening a playlist file and exporting the playlist through the common file dialogs.
#pragma once

#include <windows.h>

void playlistOpenDialog(HWND window);
void exportPlaylistDialog(HWND window);
