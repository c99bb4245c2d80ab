#include "playlist/entry_building.h"

#include <wchar.h>

#include "base/player_globals.h"
#include "base/wide_text.h"

bool growEntries(PlaylistEntry** entries, size_t* capacity, size_t step)
{
    // Growing by a fixed step would copy the array once per step: quadratic in long lists.
    size_t wanted = *capacity + (*capacity > step ? *capacity : step);
    PlaylistEntry* grown = growPlaylistEntries(*entries, wanted);
    if (!grown)
        return false;
    *entries = grown;
    *capacity = wanted;
    return true;
}

bool storeEntryPath(PlaylistEntry* entry, const wchar_t* path)
{
    if (copyText(entry->path, sizeof(entry->path) / sizeof(entry->path[0]), path))
        return true;
    entry->path[0] = L'\0';
    return false;
}

bool storeJoinedPath(PlaylistEntry* entry, const wchar_t* prefix, const wchar_t* name)
{
    if (formatText(entry->path, sizeof(entry->path) / sizeof(entry->path[0]), L"%ls%ls", prefix, name))
        return true;
    entry->path[0] = L'\0';
    return false;
}

bool isAudioFileName(const wchar_t* name)
{
    static const wchar_t* const audioExtensions[] = {L"mp3", L"wav", L"wma", L"mid", nullptr};
    return hasExtensionIn(name, audioExtensions);
}

PlaylistEntry* entriesOfFolder(const wchar_t* folder, int* count)
{
    wchar_t pattern[TEXT_BUFFER_UNITS];
    if (!formatText(pattern, TEXT_BUFFER_UNITS, L"%ls\\*", folder))
        return nullptr;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return nullptr;
    pattern[wcslen(pattern) - 1] = L'\0';
    size_t capacity = 64;
    size_t stored = 0;
    PlaylistEntry* entries = allocatePlaylistEntries(capacity);
    bool enoughMemory = entries != nullptr;
    while (enoughMemory) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isAudioFileName(found.cFileName) &&
            storeJoinedPath(&entries[stored], pattern, found.cFileName) && ++stored == capacity)
            enoughMemory = growEntries(&entries, &capacity, 64);
        if (!FindNextFileW(search, &found))
            break;
    }
    FindClose(search);
    if (!enoughMemory || stored == 0) {
        if (entries)
            HeapFree(GetProcessHeap(), 0, entries);
        return nullptr;
    }
    *count = static_cast<int>(stored);
    return entries;
}
