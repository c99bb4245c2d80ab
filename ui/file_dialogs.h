// The dialogs in which the user chooses what to open, or where to export: the common file dialogs and
// the folder browser. Paths are buffers of TEXT_BUFFER_UNITS units.
#pragma once

#include <windows.h>

struct PlaylistEntry;

// The files chosen in the open-files dialog (several allowed), as a new array and their number;
// nullptr when the user cancelled or none of them fits an entry.
PlaylistEntry* chooseAudioFiles(HWND owner, int* count);
// The folder chosen in the folder browser, which starts at the user's music folder; false when cancelled.
bool chooseFolder(HWND owner, wchar_t* path);
// The playlist file chosen to open; false when cancelled.
bool choosePlaylistFile(HWND owner, wchar_t* path);
// The file chosen to export the playlist to, ".tsv" added to a name without extension; false when
// cancelled, or when the file exists and the user would not have it replaced.
bool chooseExportFile(HWND owner, wchar_t* path);

// Gives a name without extension the extension ".tsv".
void completePlaylistFileName(wchar_t* path);

// The filter each dialog showed last (1-based; 0 = its first), kept for its next opening.
extern int playlistOpenFilterIndex;
extern int exportFilterIndex;
