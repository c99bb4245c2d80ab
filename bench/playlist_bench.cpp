// Playlist figures for 1 000, 10 000 and 100 000 entries, in milliseconds:
//   write       = writePlaylistFile of the whole list;
//   read16/8    = reading the same list as UTF-16LE and as UTF-8 with a mark into the playlist;
//   baseline    = opening the UTF-16 file and reading all its bytes with one ReadFile;
//   sort name/full = sortPlaylist of a shuffled list with file-name keys and full-path keys;
//   peak MB     = the process's peak private bytes so far (sizes run in increasing order).
// Then a folder of 10 000 audio files: its scan into the playlist, next to a bare FindFirstFile/FindNextFile walk.
// Each time is the best of three runs.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <wchar.h>

#include <random>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "app/new_list.h"
#include "playlist/entry_building.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"

static const int rounds = 3;

static void readPlaylist(const std::wstring& file)
{
    int count = 0;
    PlaylistEntry* entries = readPlaylistEntries(file.c_str(), &count, nullptr);
    takeNewList(entries, count, LIST_OF_CURRENT_FILE);
}

static void addFolder(const std::wstring& folder)
{
    int count = 0;
    PlaylistEntry* entries = entriesOfFolder(folder.c_str(), &count);
    takeNewList(entries, count, LIST_OF_FILES);
}

static double peakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

// Paths of typical length (about 60 units) spread over folders, with numbers in the entries.
static void fillPlaylist(size_t count)
{
    PlaylistEntry* entries = allocatePlaylistEntries(count + 1);
    for (size_t i = 0; i < count; ++i) {
        swprintf(entries[i].path, 1024, L"C:\\Users\\taro\\Music\\Artist %03zu\\Album %02zu\\%05zu Track title.mp3",
                 (i * 7919) % 997, (i * 31) % 17, (i * 104729) % 100003);
        entries[i].start = static_cast<unsigned int>(i % 3 == 0 ? i * 10 : 0);
    }
    replacePlaylist(entries);
}

static void shufflePlaylist(size_t count)
{
    std::mt19937 random(12345);
    static PlaylistEntry spare;
    for (size_t i = count - 1; i > 0; --i) {
        size_t j = random() % (i + 1);
        spare = playlist[i];
        playlist[i] = playlist[j];
        playlist[j] = spare;
    }
}

// Only the sort is timed, each round over a freshly shuffled list.
static double bestSort(size_t count, int fullPath)
{
    sortByFullPath = fullPath;
    double best = 1e30;
    for (int round = 0; round < rounds; ++round) {
        shufflePlaylist(count);
        double started = nowMs();
        sortPlaylist(static_cast<int>(count));
        double spent = nowMs() - started;
        if (spent < best)
            best = spent;
    }
    sortByFullPath = 0;
    return best;
}

static std::string readBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

static void writeBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

static std::string utf8Twin(const std::string& utf16)
{
    const wchar_t* text = reinterpret_cast<const wchar_t*>(utf16.data() + 2);
    int units = static_cast<int>((utf16.size() - 2) / 2);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, units, &utf8[0], bytes, nullptr, nullptr);
    return "\xEF\xBB\xBF" + utf8;
}

static void checkCount(size_t expected, const char* what)
{
    if (static_cast<size_t>(playlistCount()) != expected) {
        printf("!! %s gave %d entries instead of %zu\n", what, playlistCount(), expected);
        ExitProcess(1);
    }
}

static void measureSize(const std::wstring& folder, size_t count)
{
    std::wstring utf16Path = folder + L"\\list16.tsv";
    std::wstring utf8Path = folder + L"\\list8.tsv";
    fillPlaylist(count);
    double write = bestOf([&] { writePlaylistFile(utf16Path.c_str()); });
    std::string bytes = readBytes(utf16Path);
    writeBytes(utf8Path, utf8Twin(bytes));
    double read16 = bestOf([&] { readPlaylist(utf16Path); });
    checkCount(count, "UTF-16 read");
    double read8 = bestOf([&] { readPlaylist(utf8Path); });
    checkCount(count, "UTF-8 read");
    double baseline = bestOf([&] { readBytes(utf16Path); });
    double sortName = bestSort(count, 0);
    double sortFull = bestSort(count, 1);
    sortByFullPath = 0;
    printf("%7zu  %8.1f  %8.1f  %8.1f  %8.2f  %9.1f  %9.1f  %8.0f   (%zu bytes)\n", count, write, read16, read8, baseline,
           sortName, sortFull, peakMegabytes(), bytes.size());
}

static void measureFolderScan(const std::wstring& folder, size_t files)
{
    std::wstring music = folder + L"\\music";
    CreateDirectoryW(music.c_str(), nullptr);
    for (size_t i = 0; i < files; ++i) {
        wchar_t name[1024];
        swprintf(name, 1024, L"%ls\\%05zu Track title.mp3", music.c_str(), (i * 7919) % 100003);
        writeBytes(name, "");
    }
    double scan = bestOf([&] { addFolder(music); });
    checkCount(files, "folder scan");
    sortOnOpen = 1;
    double scanSorted = bestOf([&] { addFolder(music); });
    sortOnOpen = 0;
    double walk = bestOf([&] {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((music + L"\\*").c_str(), &found);
        while (FindNextFileW(search, &found)) {
        }
        FindClose(search);
    });
    printf("folder of %zu files: addFolder %.1f ms, with sortOnOpen %.1f ms, baseline walk %.1f ms\n", files, scan,
           scanSorted, walk);
}

static void removeFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeFolder(folder + L"\\" + name);
            else
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

int wmain()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"velmoris-playlist-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    wcscpy(currentPlaylistFilePath, (folder + L"\\current.tsv").c_str());
    messageDisplayType = 2;
    playlist = allocatePlaylistEntries(1);

    printf("entries  write ms  read16 ms  read8 ms  baseline ms  sort name ms  sort full ms  peak MB\n");
    for (size_t count : {1000u, 10000u, 100000u})
        measureSize(folder, count);
    measureFolderScan(folder, 10000);
    releasePlaylist();
    removeFolder(folder);
    return 0;
}
