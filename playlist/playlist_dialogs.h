// Opening a playlist file and exporting the playlist through the common file dialogs.
#pragma once

#include <windows.h>

// The filter each dialog showed last (1-based; 0 = its first), kept for its next opening.
extern int playlistOpenFilterIndex;
extern int exportFilterIndex;

void playlistOpenDialog(HWND window);
void exportPlaylistDialog(HWND window);
// Gives a name without extension the extension ".tsv"; path is a 1024-unit buffer.
void completePlaylistFileName(wchar_t* path);
