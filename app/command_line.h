// The paths of the command line as a new playlist: audio files, one folder or one playlist file.
#pragma once

// What became of a new list built from the command line.
enum NewListResult {
    NEW_LIST_NOTHING = 0,     // no path, or nothing usable: nothing changed on disk
    NEW_LIST_WRITTEN = 1,     // a new playlist was built and written to the current-playlist file
    NEW_LIST_NOT_WRITTEN = 2, // a new playlist was built, but the file could not be written
};

// The paths of commandLine (program name first, as GetCommandLineW gives it) as the playlist, written to
// the current-playlist file; audio files join the list of the start before when they come together.
NewListResult openCommandLineText(const wchar_t* commandLine);
