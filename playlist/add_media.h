// New playlists from the command line, the open-files dialog and a folder.
#pragma once

#include <windows.h>

// What became of a new list built from the command line or a folder.
enum NewListResult {
    NEW_LIST_NOTHING = 0,     // no path, or nothing usable: nothing changed on disk
    NEW_LIST_WRITTEN = 1,     // a new playlist was built and written to the current-playlist file
    NEW_LIST_NOT_WRITTEN = 2, // a new playlist was built, but the file could not be written
};

extern int openFilesFilterIndex;

NewListResult openCommandLinePaths();
// The same for a given command line (program name first), as GetCommandLineW gives it.
NewListResult openCommandLineText(const wchar_t* commandLine);
bool isAudioFileName(const wchar_t* name);
// True when the playlist was rebuilt from at least one audio file of the folder.
bool addFolder(const wchar_t* folder);
void openFilesDialog(HWND window);
void openFolderDialog(HWND window);
