// Files opened together from the shell (one process per file) become one list: a start with
// audio files that comes within a moment of the previous start which wrote the current playlist
// from audio files adds its files to that list instead of replacing it.
#pragma once

// What a start wrote to the current-playlist file.
enum StartKind {
    START_NOTHING = 0,
    START_AUDIO_FILES = 1,
    START_FOLDER = 2,
    START_PLAYLIST_FILE = 3,
};

// The last start's write, kept where every start of this user and program folder sees it.
// Times are FILETIME values (100 ns units).
struct StartMarker {
    unsigned long long writtenAt;     // system time just after the write
    unsigned long long fileWriteTime; // the file's last-write time as that write left it
    StartKind kind;
};

// Window within which a start joins the list of the previous one.
const unsigned long long startGroupingWindow = 15000000; // 1.5 s

// Shared between the starts while one of them holds the start turn; nullptr when there is none.
extern StartMarker* startMarker;

// The rule: a start of kind, begun at startedAt, joins the previous list when both are audio
// files, the file is still as the previous start left it, and this start began no later than
// the window after that write.
bool joinsPreviousStart(StartKind kind, const StartMarker& previous, unsigned long long startedAt,
                        unsigned long long fileWriteTime);

// The rule applied to this process and the current-playlist file.
bool joinsPreviousStartNow(StartKind kind);
// Remembers this process's write of the current-playlist file for the next start.
void rememberStartWrite(StartKind kind);
