#include "playlist/playlist_file.h"

#include <wchar.h>

#include "app/report.h"
#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playback/play_order.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

bool isPlaylistFileName(const wchar_t* path)
{
    static const wchar_t* const playlistExtensions[] = {L"tsv", L"vpl", L"vppl", nullptr};
    return hasExtensionIn(path, playlistExtensions);
}

// Lines are collected here and written in large pieces.
static const size_t writeChunkUnits = 32768;
// Longest line: 1023 path units, two TABs, two ten-digit numbers, CR LF.
static const size_t lineUnits = 1100;

struct PlaylistWriter {
    HANDLE file;
    wchar_t chunk[writeChunkUnits];
    size_t used;
    bool failed;
};

static void flushChunk(PlaylistWriter* writer)
{
    DWORD bytes = static_cast<DWORD>(writer->used * sizeof(wchar_t));
    DWORD written = 0;
    if (bytes != 0 && (!WriteFile(writer->file, writer->chunk, bytes, &written, nullptr) || written != bytes))
        writer->failed = true;
    writer->used = 0;
}

static void appendUnits(PlaylistWriter* writer, const wchar_t* units, size_t count)
{
    if (writer->used + count > writeChunkUnits)
        flushChunk(writer);
    for (size_t i = 0; i < count; ++i)
        writer->chunk[writer->used + i] = units[i];
    writer->used += count;
}

static bool writeEntries(HANDLE file)
{
    static PlaylistWriter writer;
    writer.file = file;
    writer.used = 0;
    writer.failed = false;
    const wchar_t byteOrderMark = 0xFEFF;
    appendUnits(&writer, &byteOrderMark, 1);
    wchar_t line[lineUnits];
    for (const PlaylistEntry* entry = playlist; entry->path[0] != L'\0' && !writer.failed; ++entry) {
        formatText(line, lineUnits, L"%ls\t%u\t%u\r\n", entry->path, entry->start, entry->end);
        appendUnits(&writer, line, wcslen(line));
    }
    flushChunk(&writer);
    return !writer.failed;
}

// A name beside the target that no other process writes at the same moment.
static bool temporaryNameFor(const wchar_t* file, wchar_t* temporary)
{
    static unsigned int serial;
    int folderUnits = static_cast<int>(fileNamePart(file) - file);
    return formatText(temporary, TEXT_BUFFER_UNITS, L"%.*ls~velmoris-%lu-%u.tmp", folderUnits, file,
                      GetCurrentProcessId(), ++serial);
}

// Another process renaming over the same name, or holding the file open, makes a rename fail
// for a moment: it is tried again for about a second.
static const int renameAttempts = 40;
static const DWORD renameRetryMilliseconds = 25;

static bool renameOverTarget(const wchar_t* temporary, const wchar_t* file)
{
    for (int attempt = 1;; ++attempt) {
        if (systemMoveFileEx(temporary, file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == renameAttempts)
            return false;
        systemSleep(renameRetryMilliseconds);
    }
}

static bool writeInPlace(const wchar_t* file)
{
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool written = writeEntries(handle);
    CloseHandle(handle);
    return written;
}

// The whole list goes to a temporary file first, which then replaces the target in one step:
// a crash or a full disk part-way leaves the previous file as it was, and a reader never sees
// half a list. Only when the target cannot be replaced (another program holds it open without
// letting it be deleted) is it written in place.
static bool replaceFileWithEntries(const wchar_t* file)
{
    wchar_t temporary[TEXT_BUFFER_UNITS];
    if (!temporaryNameFor(file, temporary))
        return false;
    HANDLE handle = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool written = writeEntries(handle) && FlushFileBuffers(handle);
    CloseHandle(handle);
    if (written && renameOverTarget(temporary, file))
        return true;
    DeleteFileW(temporary);
    return written && writeInPlace(file);
}

bool writePlaylistFile(const wchar_t* file)
{
    if (replaceFileWithEntries(file))
        return true;
    wchar_t message[TEXT_BUFFER_UNITS];
    if (!formatText(message, TEXT_BUFFER_UNITS, L"プレイリストファイルの書き込みに失敗しました。\n（パス：%ls）", file))
        endWithEllipsis(message, TEXT_BUFFER_UNITS);
    reportMessage(nullptr, message, L"エラー");
    return false;
}

void loadCurrentPlaylist(HWND window)
{
    // The file keeps the order in which it was written, already sorted if that was asked for.
    if (readPlaylistFileInOrder(currentPlaylistFilePath))
        openFirstTrackOfNewList(window);
}
