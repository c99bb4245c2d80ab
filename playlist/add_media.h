// New playlists from the command line, the open-files dialog and a folder.
#pragma once

#include <windows.h>

// Results of openCommandLinePaths.
enum CommandLineResult {
    COMMAND_LINE_NOTHING = 0,     // no path, or nothing usable: nothing changed on disk
    COMMAND_LINE_WRITTEN = 1,     // a new playlist was built and written to the current-playlist file
    COMMAND_LINE_NOT_WRITTEN = 2, // a new playlist was built, but the file could not be written
};

extern int openFilesFilterIndex;

int openCommandLinePaths();
// The same for a given command line (program name first), as GetCommandLineW gives it.
int openCommandLineText(const wchar_t* commandLine);
bool isAudioFileName(const wchar_t* name);
// 1 when the playlist was rebuilt from at least one audio file of the folder, else 0.
int addFolder(const wchar_t* folder);
void openFilesDialog(HWND window);
void openFolderDialog(HWND window);
int CALLBACK browseFolderCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
