#include "tests/unit/test_support.h"

#include <filesystem>
#include <numeric>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/new_list.h"
#include "playlist/entry_building.h"
#include "playlist/playlist_file.h"
#include "playlist/start_grouping.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/file_dialogs.h"

namespace {

using Entries = std::vector<std::tuple<std::wstring, unsigned int, unsigned int>>;
Entries entries()
{
    Entries all;
    for (int i = 0; playlist[i].path[0] != L'\0'; ++i)
        all.emplace_back(playlist[i].path, playlist[i].start, playlist[i].end);
    return all;
}

// A playlist file opened as the player opens one (sorted when the user asks); false when unreadable.
bool readPlaylistFile(const std::wstring& file)
{
    int count = 0;
    PlaylistEntry* read = readPlaylistEntries(file.c_str(), &count, nullptr);
    return read && (takeNewList(read, count, LIST_OF_PLAYLIST_FILE), true);
}

using Playlist = Unit;

TEST_F(Playlist, WritesByteForByteAndReadsBackWhatItWrote)
{
    const std::wstring path = folder + L"\\list.tsv";
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    EXPECT_EQ("\xFF\xFE", readBytes(path));
    setPlaylist({L"C:\\a.mp3"});
    playlist[0].start = 1500;
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    EXPECT_EQ(std::string("\xFF\xFE" "C\0:\0\\\0a\0.\0m\0p\0" "3\0\t\0" "1\0" "5\0" "0\0" "0\0\t\0" "0\0\r\0\n\0", 36), readBytes(path));
    Texts paths = {L"C:\\z.mp3", L"D:\\\u97F3\u697D\\\u3042.wav", L"C:\\" + std::wstring(1020, L'l'), L"C:\\a.mp3"};
    for (int i = 0; i < 300; ++i)
        paths.push_back(L"C:\\t" + std::to_wstring(i) + L".mp3");
    setPlaylist(paths);
    playlist[1].start = 4294967295u, playlist[1].end = 2147483647;
    Entries written = entries();
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    setPlaylist({});
    currentPosition = 3;
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    std::get<1>(written[1]) = 2147483647; // the file's numbers are signed: larger ones saturate
    EXPECT_EQ(written, entries());
    EXPECT_EQ(0, currentPosition);
    EXPECT_EQ(Texts{}, boxes(0));
}

TEST_F(Playlist, ReadsLinesAndFieldsByTheFormatRules)
{
    const std::wstring path = folder + L"\\list.tsv", longPath = L"C:\\" + std::wstring(1097, L'p');
    const Entries music = {{L"D:\\\u97F3\u697D\\\u66F2.mp3", 1, 2}, {L"C:\\b.wav", 0, 0}};
    const struct { std::string bytes; Entries expected; } cases[] = {
        {utf16(L"C:\\x.mp3"), {{L"C:\\x.mp3", 0, 0}}},
        {utf16(L"C:\\x.mp3\t\t9000\r\n"), {{L"C:\\x.mp3", 0, 9000}}},
        {utf16(L"C:\\x.mp3\t-20\t5000\r\n"), {{L"C:\\x.mp3", 0, 5000}}},
        {utf16(L"\tC:\\tab.mp3\r\n\r\n\n\r\nC:\\a.mp3\nC:\\b.mp3\r\n"), {{L"C:\\a.mp3", 0, 0}, {L"C:\\b.mp3", 0, 0}}},
        {utf16(L"C:\\x.mp3\t1\t2\t3\r\n"), {{L"C:\\x.mp3", 1, 2}}},
        {utf16(L"C:\\x.mp3\t1\t2abc\r\n"), {{L"C:\\x.mp3", 1, 2}}},
        {utf16(L"C:\\x.mp3\t\uFF14\uFF12"), {{L"C:\\x.mp3", 42, 0}}},
        {utf16(L"C:\\x.mp3\t\u0661\u0662"), {{L"C:\\x.mp3", 12, 0}}},
        {utf16(L"C:\\x.mp3\tabc\t7"), {{L"C:\\x.mp3", 0, 7}}},
        {utf16(L"C:\\x.mp3\t99999999999\t-99999999999"), {{L"C:\\x.mp3", 2147483647, 0}}},
        {utf16(L"C:\\x.mp3\t +7\t  8"), {{L"C:\\x.mp3", 7, 8}}},
        {utf16(L"C:\\a.mp3\r\n\x1A" L"C:\\b.mp3\r\n"), {{L"C:\\a.mp3", 0, 0}}}, // Ctrl-Z ends the text
        {utf16(L"C:\\a\r.mp3\n"), {{L"C:\\a\r.mp3", 0, 0}}},
        {utf16(L"   \t5"), {{L"   ", 5, 0}}},
        {utf16(longPath + L"\t5\t6\r\nC:\\next.mp3\r\n"), {{longPath.substr(0, 1023), 0, 0}, {longPath.substr(1023), 5, 6}, {L"C:\\next.mp3", 0, 0}}},
        {utf16(L"D:\\\u97F3\u697D\\\u66F2.mp3\t1\t2\r\nC:\\b.wav\n"), music},
        {"\xEF\xBB\xBF" "D:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.mp3\t1\t2\r\nC:\\b.wav\n", music},
        {"C:\\a.mp3\t3\r\nC:\\\xE9\x9F\xB3.mp3", {{L"C:\\a.mp3", 3, 0}, {L"C:\\\u00E9\u009F\u00B3.mp3", 0, 0}}}, // a character a byte
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_TRUE(readPlaylistFile(path.c_str())) << c.bytes;
        EXPECT_EQ(c.expected, entries());
        EXPECT_GT(HeapSize(GetProcessHeap(), 0, playlist) / sizeof(PlaylistEntry), c.expected.size()) << "no room for the end";
    }
    // Unreadable files change nothing; a missing current playlist loads silently.
    setPlaylist({L"C:\\kept.mp3"});
    currentPosition = 1;
    writeBytes(path, std::string("\xFE\xFF\0C\0:\0\\\0x", 10));
    for (const std::wstring& file : {path, folder + L"\\missing.tsv", folder})
        EXPECT_FALSE(readPlaylistFile(file.c_str()));
    DeleteFileW(currentPlaylistFilePath);
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ(std::make_tuple(Texts{L"C:\\kept.mp3"}, 1, Texts{}), std::make_tuple(playlistPaths(), currentPosition, boxes(0)));
    // Sorting a loaded playlist sorts a read, not the current playlist.
    const std::string unsorted = utf16(L"C:\\b.mp3\r\nC:\\a.mp3\r\n");
    writeBytes(path, unsorted);
    sortLoadedPlaylist = 1;
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    EXPECT_EQ((Texts{L"C:\\a.mp3", L"C:\\b.mp3"}), playlistPaths());
    wcscpy(currentPlaylistFilePath, path.c_str());
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ((Texts{L"C:\\b.mp3", L"C:\\a.mp3"}), playlistPaths());
    EXPECT_EQ(unsorted, readBytes(path));
}

// A rename refused for a moment is tried again for about a second; one that cannot happen, or a
// temporary file that cannot be made, gives way to writing in place; a read-only file is refused at
// once. A refusal is reported and keeps the file. No temporary file stays behind, and those of
// writers that ended half-way are removed.
TEST_F(Playlist, ReplacesTheFileWholeOrReportsAndKeepsIt)
{
    const std::wstring path = folder + L"\\list.tsv";
    const std::string before = utf16(L"C:\\old.mp3\t0\t0\r\n"), after = utf16(L"C:\\new.mp3\t0\t0\r\n");
    const DWORD denied = ERROR_ACCESS_DENIED;
    const struct { std::vector<DWORD> creates, renames; bool readOnly; size_t tries; std::string kept; } cases[] = {
        {{}, {}, false, 1, after},
        {{}, {denied, ERROR_SHARING_VIOLATION, denied}, false, 4, after},
        {{}, std::vector<DWORD>(100, ERROR_SHARING_VIOLATION), false, 40, after},
        {{}, {ERROR_NOT_SAME_DEVICE}, false, 1, after},
        {{denied}, {}, false, 0, after},
        {{}, std::vector<DWORD>(100, denied), true, 1, before},
    };
    for (const auto& c : cases) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        writeBytes(path, before);
        SetFileAttributesW(path.c_str(), c.readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        setPlaylist({L"C:\\new.mp3"});
        fake::createFileErrors = c.creates, fake::moveFileErrors = c.renames;
        fake::createFileCount = fake::moveFileCount = 0, fake::sleeps.clear();
        EXPECT_EQ(c.kept == after, writePlaylistFile(path.c_str())) << c.tries;
        EXPECT_EQ(c.kept, readBytes(path));
        EXPECT_EQ(c.tries, fake::moveFileCount);
        EXPECT_EQ(c.tries ? c.tries - 1 : 0, fake::sleeps.size());
        EXPECT_LE(std::accumulate(fake::sleeps.begin(), fake::sleeps.end(), DWORD{0}), 1000u);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    fake::moveFileErrors.clear();
    const std::string previous = readBytes(path);
    setPlaylist({L"C:\\other.mp3"});
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool written = writePlaylistFile(path.c_str());
    CloseHandle(holder);
    EXPECT_FALSE(written);
    EXPECT_EQ(previous, readBytes(path));
    fake::waitForMessageBoxes(2);
    EXPECT_FALSE(writePlaylistFile((folder + L"\\" + std::wstring(1000 - folder.size(), L'd')).c_str()));
    const Texts shown = boxes(3);
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ(L"エラー - Velmoris Player: プレイリストファイルの書き込みに失敗しました。\n（パス：" + path + L"）", shown[0]);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(L'\u2026', shown[2].back()) << "a path too long for the report is shortened";
    EXPECT_EQ(1023u + 23, shown[2].size());
    const std::wstring temporary = folder + L"\\~velmoris-", alive = temporary + std::to_wstring(GetCurrentProcessId());
    for (const std::wstring& name : {alive + L"-1.tmp", temporary + L"4294967288-7.tmp", temporary + L"x.tmp"})
        writeBytes(name, "half");
    removeAbandonedTemporaryFiles(path.c_str());
    EXPECT_FALSE(std::filesystem::exists(temporary + L"4294967288-7.tmp")) << "the file of a writer that ended stays";
    for (const std::wstring& name : {alive + L"-1.tmp", temporary + L"x.tmp", path})
        EXPECT_TRUE(DeleteFileW(name.c_str())) << "a running writer's file or one not ours was removed";
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "a temporary file was left";
}

TEST_F(Playlist, NamesAndOrder)
{
    const struct { const wchar_t* name; bool playlist, audio; } names[] = {
        {L"list.TSV", 1, 0}, {L"a.Vpl", 1, 0}, {L"b.vppl", 1, 0}, {L"C:\\x.y\\z.tsv", 1, 0}, {L"a.tsv.mp3", 0, 1}, {L"SONG.MP3", 0, 1},
        {L"x.Wma", 0, 1}, {L".mid", 0, 1}, {L"a.wav", 0, 1}, {L"tsv", 0, 0}, {L"a.", 0, 0}, {L"", 0, 0}, {L"a.tsvx", 0, 0},
        {L"C:\\x.tsv\\z", 0, 0}, {L"x.midi", 0, 0}, {L"x.mp3.txt", 0, 0}, {L"a.\uFF54sv", 0, 0}, {L"a.\uFF4Dp3", 0, 0},
    };
    for (const auto& c : names)
        EXPECT_EQ(std::make_pair(c.playlist, c.audio), std::make_pair(isPlaylistFileName(c.name), isAudioFileName(c.name))) << c.name;
    // A name without extension gets ".tsv", within the buffer and never into a folder's name.
    const std::pair<std::wstring, bool> typed[] = {
        {L"C:\\lists\\mylist", true}, {L"C:\\lists\\mylist.vpl", false}, {L"C:\\my.lists\\mylist", true}, {L"C:mylist", true},
        {L"C:\\lists\\mylist.", false}, {L"C:\\" + std::wstring(400, L'd') + L".x\\mylist", true},
        {L"C:\\" + std::wstring(1016, L'n'), true}, {L"C:\\" + std::wstring(1017, L'n'), false},
    };
    for (const auto& c : typed) {
        wchar_t path[1025];
        path[1024] = L'#';
        completePlaylistFileName(wcscpy(path, c.first.c_str()));
        EXPECT_EQ(c.first + (c.second ? L".tsv" : L""), path) << c.first.size();
        EXPECT_EQ(L'#', path[1024]);
    }
    // By code unit of the file name, or of the full path.
    const std::wstring name = L"C:\\m\\" + std::wstring(900, L'n');
    const struct { int fullPath; std::wstring first, second; int order; } pairs[] = {
        {0, L"D:\\z\\B.mp3", L"C:\\a\\a.mp3", -1}, {0, L"track10.mp3", L"track2.mp3", -1}, {0, L"C:\\a.mp3", L"C:\\a.mp3.wav", -1},
        {0, L"\u3042.mp3", L"\u30A2.mp3", -1}, {0, L"\u9F8D.mp3", L"\uFF21.mp3", -1}, {0, L"C:/music/a.mp3", L"C:\\b.mp3", -1},
        {0, L"C:a.mp3", L"b.mp3", -1}, {0, L"\\\\server\\share\\A.wav", L"C:\\a.wav", -1}, {0, L"C:\\one\\s.mp3", L"D:\\two\\s.mp3", 0},
        {0, name + L".mp3", name + L"z.mp3", -1}, {1, L"C:\\one\\s.mp3", L"D:\\two\\s.mp3", -1}, {1, L"C:\\b\\a.mp3", L"C:\\c\\0.mp3", -1},
    };
    static PlaylistEntry a, b;
    for (const auto& c : pairs) {
        sortByFullPath = c.fullPath;
        wcscpy(a.path, c.first.c_str()), wcscpy(b.path, c.second.c_str());
        EXPECT_EQ(std::make_pair(c.order, -c.order), std::make_pair(compareEntries(&a, &b), compareEntries(&b, &a))) << c.first;
    }
    sortByFullPath = 0;
    setPlaylist({L"C:\\b.mp3", L"C:\\c.mp3", L"C:\\a.mp3"});
    sortPlaylist(2);
    EXPECT_EQ((Texts{L"C:\\b.mp3", L"C:\\c.mp3", L"C:\\a.mp3"}), playlistPaths());
    sortPlaylist(3);
    EXPECT_EQ((Texts{L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"}), playlistPaths());
    // The order in force; without one built yet, the first entry.
    shuffle = 1;
    EXPECT_EQ(&playlist[0], entryAtPosition(2));
    setShuffleOrder({2, 0, 1});
    EXPECT_EQ((std::vector<PlaylistEntry*>{&playlist[2], &playlist[1], &playlist[3]}),
              (std::vector<PlaylistEntry*>{entryAtPosition(0), entryAtPosition(2), entryAtPosition(3)}));
    shuffle = 0;
    EXPECT_EQ(std::make_pair(&playlist[1], 3), std::make_pair(entryAtPosition(1), playlistCount()));
}

struct AddMedia : Unit {
    // A file, or a folder when the name ends in a backslash, under the test folder.
    std::wstring make(const std::wstring& name, const std::string& bytes = "x")
    {
        std::wstring path = folder + L"\\" + name;
        if (path.back() != L'\\')
            writeBytes(path, bytes);
        else
            path.pop_back(), CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    int run(const std::wstring& arguments) { return openCommandLineText((L"\"C:\\Program Files\\player.exe\" " + arguments).c_str()); }
    void expectList(const Texts& paths) // in memory and in the current-playlist file
    {
        std::wstring text;
        for (const std::wstring& path : paths)
            text += path + L"\t0\t0\r\n";
        EXPECT_EQ(paths, playlistPaths());
        EXPECT_EQ(utf16(text), readBytes(currentPlaylistFilePath));
    }
};

// A folder is scanned even when named like a playlist; empty and overlong paths are skipped, never cut.
TEST_F(AddMedia, FirstPathDecidesBetweenAFolderAPlaylistAndFiles)
{
    const std::wstring music = make(L"music.tsv\\"), list = make(L"list.tsv"), longest = L"C:\\" + std::wstring(1020, L'x');
    for (const wchar_t* name : {L"b.MP3", L"a.wav", L"c.Wma", L".mid", L"x.midi", L"notes.txt", L"sub.mp3\\", L"sub.mp3\\deep.mp3"})
        make(L"music.tsv\\" + std::wstring(name));
    const std::wstring saved = make(L"saved.vpl", utf16(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\r\n"));
    const struct { int sorted; std::wstring arguments; Texts expected; } cases[] = {
        {0, L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\"", {L"C:\\m\\c.mp3", L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3"}},
        {1, L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\"", {L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3", L"C:\\m\\c.mp3"}},
        {0, L"C:\\missing.mp3 \"" + music + L"\" \"" + list + L"\"", {L"C:\\missing.mp3", music, list}},
        {0, longest + L"y \"\" " + longest + L" C:\\b.mp3", {longest, L"C:\\b.mp3"}},
        {1, L"\"" + music + L"\" C:\\other.mp3", {music + L"\\.mid", music + L"\\a.wav", music + L"\\b.MP3", music + L"\\c.Wma"}},
    };
    for (const auto& c : cases) {
        sortOnOpen = c.sorted;
        EXPECT_EQ(NEW_LIST_WRITTEN, run(c.arguments)) << c.arguments;
        expectList(c.expected);
    }
    EXPECT_EQ(NEW_LIST_WRITTEN, run(L"\"" + saved + L"\" C:\\x.mp3")); // unsorted, with its spans; later paths ignored
    EXPECT_EQ(utf16(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\t0\t0\r\n"), readBytes(currentPlaylistFilePath));
    EXPECT_EQ(Texts{}, fake::mciCommands()) << "the command line opens no track";
    // Nothing usable changes nothing.
    const std::wstring empty = make(L"no audio\\");
    make(L"no audio\\readme.txt");
    for (const std::wstring& arguments : {std::wstring(), std::wstring(L"\"\""), L"\"" + folder + L"\\missing.tsv\" C:\\a.mp3",
                                          L"\"" + empty + L"\"", L"C:\\" + std::wstring(1021, L'x')})
        EXPECT_EQ(NEW_LIST_NOTHING, run(arguments)) << arguments;
    int count = 0;
    EXPECT_EQ(nullptr, entriesOfFolder(empty.c_str(), &count));
    EXPECT_EQ(nullptr, entriesOfFolder((folder + L"\\absent").c_str(), &count));
    EXPECT_EQ((Texts{L"C:\\b.mp3", L"C:\\a.mp3"}), playlistPaths());
    EXPECT_EQ(Texts{}, boxes(0));
    // An unwritable current playlist is reported; the list stays built.
    DeleteFileW(currentPlaylistFilePath);
    CreateDirectoryW(currentPlaylistFilePath, nullptr);
    EXPECT_EQ(NEW_LIST_NOT_WRITTEN, run(L"C:\\a.mp3"));
    EXPECT_EQ(Texts{L"C:\\a.mp3"}, playlistPaths());
    EXPECT_EQ(1u, boxes(1).size());
}

// Far more than a first allocation holds: a folder of many files and a dialog's answer of many.
TEST_F(AddMedia, ManyFilesAreAllKept)
{
    const std::wstring many = make(L"many\\");
    Texts expected;
    fake::fileDialogSelection = folder + L'\0';
    for (int i = 0; i < 300; ++i) {
        make(L"many\\t" + std::to_wstring(1000 + i) + L".mp3");
        fake::fileDialogSelection += L"t" + std::to_wstring(i) + L".mp3" + L'\0';
        expected.push_back(folder + L"\\t" + std::to_wstring(i) + L".mp3");
    }
    sortOnOpen = 1, currentPosition = 5;
    int count = 0;
    PlaylistEntry* scanned = entriesOfFolder(many.c_str(), &count);
    ASSERT_NE(nullptr, scanned);
    takeNewList(scanned, count, LIST_OF_FILES);
    EXPECT_EQ(std::make_tuple(0, 300, many + L"\\t1299.mp3"), std::make_tuple(currentPosition, playlistCount(), std::wstring(playlist[299].path)));
    sortOnOpen = 0;
    runCommand(window, IDM_OPEN_FILES);
    expectList(expected);
}

// Audio files join the list that audio files wrote a moment ago, sorted as a whole; a folder, a
// playlist file, a file written since by another or a late start begin a new list.
TEST_F(AddMedia, StartsWithAudioFilesJoinTheListOfTheLastOne)
{
    const unsigned long long at = 1000000000, file = 777;
    const StartMarker files = {at, file, START_AUDIO_FILES};
    const struct { StartKind kind; StartMarker previous; unsigned long long startedAt, fileNow; bool joins; } cases[] = {
        {START_AUDIO_FILES, files, at - 20000000, file, true}, {START_AUDIO_FILES, files, at + startGroupingWindow, file, true},
        {START_AUDIO_FILES, files, at + startGroupingWindow + 1, file, false}, {START_FOLDER, files, at, file, false},
        {START_PLAYLIST_FILE, files, at, file, false}, {START_AUDIO_FILES, {at, file, START_FOLDER}, at, file, false},
        {START_AUDIO_FILES, {at, file, START_PLAYLIST_FILE}, at, file, false}, {START_AUDIO_FILES, files, at, file + 1, false},
        {START_AUDIO_FILES, {0, 0, START_NOTHING}, 5, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.joins, joinsPreviousStart(c.kind, c.previous, c.startedAt, c.fileNow)) << c.startedAt << c.kind;
    StartMarker marker = {};
    startMarker = &marker;
    sortOnOpen = 1;
    const std::wstring z = make(L"album\\") + L"\\z.mp3", list = make(L"list.tsv", utf16(L"C:\\listed.mp3\r\n"));
    writeBytes(z, "");
    auto start = [&](const std::wstring& arguments) {
        EXPECT_EQ(NEW_LIST_WRITTEN, run(arguments)) << arguments;
        int count = 0;
        PlaylistEntry* listed = readPlaylistEntries(currentPlaylistFilePath, &count, nullptr);
        Texts paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(listed[i].path);
        HeapFree(GetProcessHeap(), 0, listed);
        return paths;
    };
    EXPECT_EQ(Texts{L"C:\\d.mp3"}, start(L"C:\\d.mp3"));
    EXPECT_EQ((Texts{L"C:\\b.wav", L"C:\\c.mid", L"C:\\d.mp3"}), start(L"C:\\c.mid C:\\b.wav"));
    EXPECT_EQ(Texts{z}, start(L"\"" + folder + L"\\album\""));
    EXPECT_EQ(Texts{L"C:\\a.mp3"}, start(L"C:\\a.mp3"));
    EXPECT_EQ(Texts{L"C:\\listed.mp3"}, start(L"\"" + list + L"\""));
    EXPECT_EQ(Texts{L"C:\\e.mp3"}, start(L"C:\\e.mp3"));
    marker.writtenAt -= 36000000000; // an hour before this process began
    EXPECT_EQ(Texts{L"C:\\f.mp3"}, start(L"C:\\f.mp3"));
    startMarker = nullptr;
}

} // namespace
