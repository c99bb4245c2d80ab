// The eight user settings, kept in a per-user INI file beside the program, and the per-user
// file names derived from the program's folder and the logon name.
#pragma once

#include "base/player_globals.h"
#include "base/report.h"

// Flags are 0 or 1 (anything nonzero counts as on). The eighth, messageDisplayType, is the reports' own
// (base/report.h).
extern int repeat;
extern int shuffle;
extern int balloonOnOpen;
extern int sortOnOpen;
extern int sortByFullPath;
extern int sortLoadedPlaylist;
extern int volume; // 0 silent .. 1000 full

extern wchar_t programDirectory[TEXT_BUFFER_UNITS];
extern wchar_t settingsFilePath[TEXT_BUFFER_UNITS];
extern wchar_t currentPlaylistFilePath[TEXT_BUFFER_UNITS];

void loadSettings();
// Reads the eight settings from settingsFilePath (the second half of loadSettings).
void readSettings();
void saveSettings();
