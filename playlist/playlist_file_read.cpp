// Reading a playlist file: the encoding from its first bytes, then one entry per line.
#include <string.h>

#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_number.h"

// A line is read in parts of at most this many units, its LF included: one part fits an entry's path.
static const size_t linePartUnits = TEXT_BUFFER_UNITS - 1;
// Larger files are not read: their text would not fit the conversions below.
static const LONGLONG largestFileBytes = 0x3FFFFFFF;

// The whole file in one heap block with two spare zero bytes, and its last-write time; nullptr when it
// cannot be read.
static unsigned char* readWholeFile(const wchar_t* file, size_t* size, FILETIME* written)
{
    HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER fileSize;
    unsigned char* bytes = nullptr;
    if (GetFileSizeEx(handle, &fileSize) && fileSize.QuadPart <= largestFileBytes &&
        (!written || GetFileTime(handle, nullptr, nullptr, written))) {
        *size = static_cast<size_t>(fileSize.QuadPart);
        bytes = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, *size + 2));
    }
    DWORD got = 0;
    if (bytes && *size != 0 && (!ReadFile(handle, bytes, static_cast<DWORD>(*size), &got, nullptr) || got != *size)) {
        HeapFree(GetProcessHeap(), 0, bytes);
        bytes = nullptr;
    }
    CloseHandle(handle);
    return bytes;
}

static wchar_t* allocateUnits(size_t count)
{
    return static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (count + 1) * sizeof(wchar_t)));
}

// The file's text as UTF-16 in a heap block of its own (bytes are released); nullptr for a
// big-endian file, which is not read, or when memory runs out.
static wchar_t* decodeText(unsigned char* bytes, size_t size, size_t* units)
{
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        *units = (size - 2) / sizeof(wchar_t);
        memmove(bytes, bytes + 2, *units * sizeof(wchar_t));
        return reinterpret_cast<wchar_t*>(bytes);
    }
    wchar_t* text = nullptr;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        HeapFree(GetProcessHeap(), 0, bytes);
        return nullptr;
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        const char* utf8 = reinterpret_cast<const char*>(bytes + 3);
        int length = static_cast<int>(size - 3);
        int needed = length == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8, length, nullptr, 0);
        text = allocateUnits(static_cast<size_t>(needed));
        if (text)
            *units = static_cast<size_t>(needed == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8, length, text, needed));
    } else {
        // No byte-order mark: every byte is the character of the same number.
        text = allocateUnits(size);
        if (text) {
            for (size_t i = 0; i < size; ++i)
                text[i] = bytes[i];
            *units = size;
        }
    }
    HeapFree(GetProcessHeap(), 0, bytes);
    return text;
}

// As a text-mode reader sees it: CR LF becomes LF, and Ctrl-Z ends the text.
static size_t normaliseLineEnds(wchar_t* text, size_t units)
{
    size_t kept = 0;
    for (size_t i = 0; i < units && text[i] != 0x1A; ++i) {
        if (text[i] == L'\r' && i + 1 < units && text[i + 1] == L'\n')
            continue;
        text[kept++] = text[i];
    }
    return kept;
}

static bool endsField(wchar_t unit)
{
    return unit == L'\t' || unit == L'\n' || unit == L'\0';
}

static const wchar_t* fieldEnd(const wchar_t* field, const wchar_t* lineEnd)
{
    while (field < lineEnd && !endsField(*field))
        ++field;
    return field;
}

// One line part into entry; false when its path field is empty and the line adds nothing.
static bool parseLine(const wchar_t* line, const wchar_t* lineEnd, PlaylistEntry* entry)
{
    const wchar_t* pathEnd = fieldEnd(line, lineEnd);
    size_t pathUnits = static_cast<size_t>(pathEnd - line);
    if (pathUnits == 0)
        return false;
    memcpy(entry->path, line, pathUnits * sizeof(wchar_t));
    entry->path[pathUnits] = L'\0';
    if (pathEnd == lineEnd || *pathEnd != L'\t')
        return true;
    const wchar_t* startEnd = fieldEnd(pathEnd + 1, lineEnd);
    entry->start = parsePlaylistNumber(pathEnd + 1, startEnd);
    if (startEnd == lineEnd || *startEnd != L'\t')
        return true;
    // The rest of the line: only the number at its start counts.
    const wchar_t* rest = startEnd + 1;
    const wchar_t* restEnd = rest;
    while (restEnd < lineEnd && *restEnd != L'\0')
        ++restEnd;
    entry->end = parsePlaylistNumber(rest, restEnd);
    return true;
}

// End of the line part that starts at at: after its LF, or after linePartUnits units.
static size_t linePartEnd(const wchar_t* text, size_t units, size_t at)
{
    size_t end = at;
    while (end < units && end - at < linePartUnits) {
        if (text[end++] == L'\n')
            break;
    }
    return end;
}

// The entries of text in a new array; nullptr when memory runs out. The whole text is at hand,
// so the array is allocated once, with room for every line part that gives an entry (one whose
// path field is not empty) and the terminator.
static PlaylistEntry* parseEntries(const wchar_t* text, size_t units, int* count)
{
    size_t entryParts = 0;
    for (size_t at = 0; at < units; at = linePartEnd(text, units, at)) {
        if (!endsField(text[at]))
            ++entryParts;
    }
    PlaylistEntry* entries = allocatePlaylistEntries(entryParts + 1);
    if (!entries)
        return nullptr;
    size_t stored = 0;
    for (size_t at = 0, end; at < units; at = end) {
        end = linePartEnd(text, units, at);
        if (parseLine(text + at, text + end, &entries[stored]))
            ++stored;
    }
    *count = static_cast<int>(stored);
    return entries;
}

PlaylistEntry* readPlaylistEntries(const wchar_t* file, int* count, FILETIME* written)
{
    size_t size = 0;
    unsigned char* bytes = readWholeFile(file, &size, written);
    if (!bytes)
        return nullptr;
    size_t units = 0;
    wchar_t* text = decodeText(bytes, size, &units);
    if (!text)
        return nullptr;
    units = normaliseLineEnds(text, units);
    PlaylistEntry* entries = parseEntries(text, units, count);
    HeapFree(GetProcessHeap(), 0, text);
    return entries;
}
