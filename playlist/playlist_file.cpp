#include "playlist/playlist_file.h"

#include <wchar.h>

#include "base/report.h"
#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
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

static const wchar_t temporaryPrefix[] = L"~velmoris-";

// A name beside the target that no other process writes at the same moment: this process's id
// and a serial number.
static bool temporaryNameFor(const wchar_t* file, wchar_t* temporary)
{
    static unsigned int serial;
    int folderUnits = static_cast<int>(fileNamePart(file) - file);
    return formatText(temporary, TEXT_BUFFER_UNITS, L"%.*ls%ls%lu-%u.tmp", folderUnits, file, temporaryPrefix,
                      GetCurrentProcessId(), ++serial);
}

// Another process renaming over the same name, or holding the file open, makes a rename fail
// for a moment: it is tried again for about a second. A read-only file refuses for good.
static const int renameAttempts = 40;
static const DWORD renameRetryMilliseconds = 25;

static bool isReadOnly(const wchar_t* file)
{
    DWORD attributes = GetFileAttributesW(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

static bool renameOverTarget(const wchar_t* temporary, const wchar_t* file)
{
    for (int attempt = 1;; ++attempt) {
        if (systemMoveFileEx(temporary, file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        bool passing = error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && !isReadOnly(file));
        if (!passing || attempt == renameAttempts)
            return false;
        systemSleep(renameRetryMilliseconds);
    }
}

static bool writeInPlace(const wchar_t* file)
{
    HANDLE handle = systemCreateFile(file, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool written = writeEntries(handle);
    CloseHandle(handle);
    return written;
}

// The whole list goes to a temporary file first, which then replaces the target in one step:
// a crash or a full disk part-way leaves the previous file as it was, and a reader never sees
// half a list. Where no file can be created beside the target, or the target cannot be
// replaced (another program holds it open without letting it be deleted), it is written in place.
static bool replaceFileWithEntries(const wchar_t* file)
{
    wchar_t temporary[TEXT_BUFFER_UNITS];
    if (!temporaryNameFor(file, temporary))
        return false;
    HANDLE handle = systemCreateFile(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE)
        return writeInPlace(file);
    bool written = writeEntries(handle) && FlushFileBuffers(handle);
    CloseHandle(handle);
    if (written && renameOverTarget(temporary, file))
        return true;
    DeleteFileW(temporary);
    return written && !isReadOnly(file) && writeInPlace(file);
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

static bool processRuns(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
static DWORD writerOf(const wchar_t* name)
{
    size_t prefixUnits = ARRAYSIZE(temporaryPrefix) - 1;
    if (wcsncmp(name, temporaryPrefix, prefixUnits) != 0)
        return 0;
    wchar_t* rest = nullptr;
    unsigned long id = wcstoul(name + prefixUnits, &rest, 10);
    return rest && *rest == L'-' ? static_cast<DWORD>(id) : 0;
}

void removeAbandonedTemporaryFiles(const wchar_t* file)
{
    wchar_t path[TEXT_BUFFER_UNITS];
    int folderUnits = static_cast<int>(fileNamePart(file) - file);
    if (!formatText(path, TEXT_BUFFER_UNITS, L"%.*ls%ls*.tmp", folderUnits, file, temporaryPrefix))
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DWORD writer = writerOf(found.cFileName);
        if (writer != 0 && !processRuns(writer) &&
            formatText(path, TEXT_BUFFER_UNITS, L"%.*ls%ls", folderUnits, file, found.cFileName))
            DeleteFileW(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
