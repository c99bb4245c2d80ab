#include "tests/unit/test_support.h"

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

// The playlist's entries: path, start and end.
using Entries = std::vector<std::tuple<std::wstring, unsigned int, unsigned int>>;
Entries entries()
{
    Entries all;
    for (int i = 0; playlist[i].path[0] != L'\0'; ++i)
        all.emplace_back(playlist[i].path, playlist[i].start, playlist[i].end);
    return all;
}

struct Playlist : Unit {
    // A file, or a folder when the name ends in a backslash (its path returned without it), in the test folder.
    std::wstring make(const std::wstring& name, const std::string& bytes = "x")
    {
        const std::wstring path = folder + L"\\" + name;
        if (name.back() == L'\\')
            CreateDirectoryW(path.c_str(), nullptr);
        else
            writeBytes(path, bytes);
        return name.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
    }
    // A start with these arguments; open: with one path, quoted.
    int run(const std::wstring& arguments) { return openCommandLineText((L"\"C:\\P F\\a.exe\" " + arguments).c_str()); }
    int open(const std::wstring& path) { return run(L"\"" + path + L"\""); }
    void expectList(const Texts& paths) // in memory and in the current-playlist file
    {
        std::wstring text;
        for (const std::wstring& path : paths)
            text += path + L"\t0\t0\r\n";
        EXPECT_EQ(paths, playlistPaths()) << "the list in memory";
        EXPECT_EQ(utf16(text), readBytes(currentPlaylistFilePath)) << "the current-playlist file";
    }
};

TEST_F(Playlist, ReadsAndWritesByTheFormatRules)
{
    const std::wstring path = folder + L"\\list.tsv", x = L"C:\\x.mp3", a = L"C:\\a.mp3", b = L"C:\\b.mp3";
    const std::wstring longPath = L"C:\\" + std::wstring(1097, L'p'), music = L"D:\\\u97F3\u697D\\\u66F2.mp3";
    const std::string musicUtf8 = "D:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.mp3";
    const struct { std::string bytes; Entries expected; } cases[] = {
        {utf16(x), {{x, 0, 0}}}, {utf16(x + L"\t\t9000\r\n"), {{x, 0, 9000}}},
        {utf16(x + L"\t-20\t5000\r\n"), {{x, 0, 5000}}}, {utf16(x + L"\t1\t2\t3\r\n"), {{x, 1, 2}}},
        {utf16(L"\tC:\\tab.mp3\r\n\r\n\n\r\n" + a + L"\n" + b + L"\r\n"), {{a, 0, 0}, {b, 0, 0}}},
        {utf16(x + L"\t1\t2abc\r\n"), {{x, 1, 2}}}, {utf16(x + L"\t\uFF14\uFF12"), {{x, 42, 0}}},
        {utf16(x + L"\t\u0661\u0662"), {{x, 12, 0}}}, {utf16(x + L"\tabc\t7"), {{x, 0, 7}}},
        {utf16(x + L"\t99999999999\t-99999999999"), {{x, 2147483647, 0}}}, {utf16(x + L"\t +7\t  8"), {{x, 7, 8}}},
        {utf16(a + L"\r\n\x1A" + b + L"\r\n"), {{a, 0, 0}}}, // Ctrl-Z ends the text
        {utf16(L"C:\\a\r.mp3\n"), {{L"C:\\a\r.mp3", 0, 0}}}, {utf16(L"   \t5"), {{L"   ", 5, 0}}},
        {utf16(longPath + L"\t5\t6\r\n" + x),
         {{longPath.substr(0, 1023), 0, 0}, {longPath.substr(1023), 5, 6}, {x, 0, 0}}}, // cut at 1023 units
        {utf16(music + L"\t1\t2\r\n" + b + L"\n"), {{music, 1, 2}, {b, 0, 0}}},
        {"\xEF\xBB\xBF" + musicUtf8 + "\t1\t2\r\nC:\\b.mp3\n", {{music, 1, 2}, {b, 0, 0}}},
        {"C:\\a.mp3\t3\r\nC:\\\xE9\x9F\xB3.mp3", {{a, 3, 0}, {L"C:\\\u00E9\u009F\u00B3.mp3", 0, 0}}}, // a byte a unit
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(NEW_LIST_WRITTEN, open(path)) << "reading " << c.bytes;
        EXPECT_EQ(c.expected, entries()) << "the list read from " << c.bytes;
        EXPECT_GT(HeapSize(GetProcessHeap(), 0, playlist) / sizeof(PlaylistEntry), c.expected.size()) << "no end mark";
    }
    // What is written is read back as it was; the file's numbers are signed, so larger ones saturate.
    setPlaylist({});
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    EXPECT_EQ("\xFF\xFE", readBytes(path)) << "an empty list is its byte order mark alone";
    Texts paths = {L"C:\\z.mp3", music, L"C:\\" + std::wstring(1020, L'l'), a};
    for (int i = 0; i < 300; ++i)
        paths.push_back(L"C:\\t" + std::to_wstring(i) + L".mp3");
    setPlaylist(paths);
    playlist[1].start = 4294967295u;
    playlist[1].end = 2147483647;
    Entries written = entries();
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    setPlaylist({});
    ASSERT_EQ(NEW_LIST_WRITTEN, open(path));
    std::get<1>(written[1]) = 2147483647;
    EXPECT_EQ(written, entries()) << "the list read back";
    // Unreadable files change nothing, and the current playlist none of them silently at start.
    setPlaylist({L"C:\\kept.mp3"});
    currentPosition = 1;
    writeBytes(path, std::string("\xFE\xFF\0C\0:\0\\\0x", 10));
    for (const std::wstring& file : {folder, folder + L"\\missing.tsv", path}) {
        EXPECT_EQ(NEW_LIST_NOTHING, open(file)) << "a folder without audio, a missing or a big-endian file was read";
        wcscpy(currentPlaylistFilePath, file.c_str());
        loadCurrentPlaylist(nullptr);
    }
    EXPECT_EQ(Texts{L"C:\\kept.mp3"}, playlistPaths()) << "the list before stays";
    EXPECT_EQ(1, currentPosition) << "the track before stays current";
    EXPECT_EQ(Texts{}, boxes(0));
    // Sorting opened playlists sorts a playlist file, not the current playlist.
    const std::string unsorted = utf16(b + L"\r\n" + a + L"\r\n");
    writeBytes(path, unsorted);
    sortLoadedPlaylist = 1;
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ((Texts{b, a}), playlistPaths()) << "the current playlist in its own order";
    EXPECT_EQ(unsorted, readBytes(path)) << "the current playlist is not written again";
    EXPECT_EQ(NEW_LIST_WRITTEN, open(path));
    EXPECT_EQ((Texts{a, b}), playlistPaths()) << "an opened playlist sorted";
}

// A rename refused for a moment is tried again for about a second; one that cannot happen, or a temporary file
// that cannot be made, gives way to writing in place; a read-only file is refused at once. A refusal is
// reported and keeps the file. No temporary file stays behind; those of writers that ended half-way are removed.
TEST_F(Playlist, ReplacesTheFileWholeOrReportsAndKeepsIt)
{
    const std::wstring path = folder + L"\\list.tsv";
    const std::string before = utf16(L"C:\\old.mp3\t0\t0\r\n"), after = utf16(L"C:\\new.mp3\t0\t0\r\n");
    const Texts report = {L"エラー - Velmoris Player: プレイリストファイルの"
                          L"書き込みに失敗しました。\n（パス：" + path + L"）"};
    const DWORD denied = ERROR_ACCESS_DENIED, used = ERROR_SHARING_VIOLATION;
    const struct { std::vector<DWORD> creates, renames; bool held, readOnly; DWORD waited; std::string kept;
    } cases[] = {
        {{}, {}, false, false, 0, after}, {{}, {denied, used, denied}, false, false, 75, after},
        {{}, std::vector<DWORD>(100, used), false, false, 975, after}, {{}, {ERROR_NOT_SAME_DEVICE}, 0, 0, 0, after},
        {{denied}, {}, false, false, 0, after}, {{}, {}, true, false, 975, before},
        {{}, std::vector<DWORD>(100, denied), false, true, 0, before},
    };
    setPlaylist({L"C:\\new.mp3"});
    for (const auto& c : cases) {
        fake::reset();
        writeBytes(path, before);
        SetFileAttributesW(path.c_str(), c.readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        fake::createFileErrors = c.creates;
        fake::moveFileErrors = c.renames;
        HANDLE holder = INVALID_HANDLE_VALUE; // another program that lets the file be read only
        if (c.held)
            holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(c.kept == after, writePlaylistFile(path.c_str())) << "written, after waiting " << c.waited;
        CloseHandle(holder);
        EXPECT_EQ(c.kept, readBytes(path)) << "the file after waiting " << c.waited;
        const DWORD waited = std::accumulate(fake::sleeps.begin(), fake::sleeps.end(), DWORD{0});
        EXPECT_EQ(c.waited, waited) << "milliseconds waited for the rename";
        EXPECT_EQ(c.kept == after ? Texts{} : report, boxes(c.kept == after ? 0 : 1)) << "reports, after " << c.waited;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    fake::reset();
    EXPECT_FALSE(writePlaylistFile((folder + L"\\" + std::wstring(1000 - folder.size(), L'd')).c_str()));
    const Texts shown = boxes(1);
    EXPECT_EQ(L"\u2026", shown.empty() ? L"" : shown[0].substr(shown[0].size() - 1)) << "a long path shortened";
    const std::wstring temporary = folder + L"\\~velmoris-", alive = temporary + std::to_wstring(GetCurrentProcessId());
    for (const std::wstring& name : {alive + L"-1.tmp", temporary + L"4294967288-7.tmp", temporary + L"x.tmp"})
        writeBytes(name, "half");
    removeAbandonedTemporaryFiles(path.c_str());
    const DWORD ended = GetFileAttributesW((temporary + L"4294967288-7.tmp").c_str());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ended) << "the file of a writer that ended stays";
    for (const std::wstring& name : {alive + L"-1.tmp", temporary + L"x.tmp", path})
        EXPECT_TRUE(DeleteFileW(name.c_str())) << "a running writer's file or one not ours was removed";
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "a temporary file was left";
}

TEST_F(Playlist, NamesAndOrder)
{
    const struct { const wchar_t* name; bool playlist, audio; } names[] = {
        {L"list.TSV", 1, 0}, {L"a.Vpl", 1, 0}, {L"b.vppl", 1, 0}, {L"C:\\x.y\\z.tsv", 1, 0}, {L"a.tsv.mp3", 0, 1},
        {L"SONG.MP3", 0, 1}, {L"x.Wma", 0, 1}, {L".mid", 0, 1}, {L"a.wav", 0, 1}, {L"tsv", 0, 0}, {L"a.", 0, 0},
        {L"", 0, 0}, {L"a.tsvx", 0, 0}, {L"C:\\x.tsv\\z", 0, 0}, {L"x.midi", 0, 0}, {L"x.mp3.txt", 0, 0},
        {L"a.\uFF54sv", 0, 0}, {L"a.\uFF4Dp3", 0, 0},
    };
    for (const auto& c : names) {
        EXPECT_EQ(c.playlist, isPlaylistFileName(c.name)) << "whether " << c.name << " is a playlist file";
        EXPECT_EQ(c.audio, isAudioFileName(c.name)) << "whether " << c.name << " is an audio file";
    }
    // A name without extension gets ".tsv", within the buffer and never into a folder's name.
    const std::pair<std::wstring, bool> typed[] = {
        {L"C:\\lists\\mylist", true}, {L"C:\\lists\\mylist.vpl", false}, {L"C:\\my.lists\\mylist", true},
        {L"C:mylist", true}, {L"C:\\lists\\mylist.", false}, {L"C:\\" + std::wstring(400, L'd') + L".x\\mylist", true},
        {L"C:\\" + std::wstring(1016, L'n'), true}, {L"C:\\" + std::wstring(1017, L'n'), false},
    };
    for (const auto& c : typed) {
        wchar_t path[1024];
        completePlaylistFileName(wcscpy(path, c.first.c_str()));
        EXPECT_EQ(c.first + (c.second ? L".tsv" : L""), path) << "a name of " << c.first.size() << " units";
    }
    // By code unit of the file name, or of the full path.
    const std::wstring name = L"C:\\m\\" + std::wstring(900, L'n');
    const struct { int fullPath; std::wstring first, second; int order; } pairs[] = {
        {0, L"D:\\z\\B.mp3", L"C:\\a\\a.mp3", -1}, {0, L"track10.mp3", L"track2.mp3", -1},
        {0, L"C:\\a.mp3", L"C:\\a.mp3.wav", -1}, {0, L"\u3042.mp3", L"\u30A2.mp3", -1}, {0, L"C:a.mp3", L"b.mp3", -1},
        {0, L"C:/music/a.mp3", L"C:\\b.mp3", -1}, {0, L"\u9F8D.mp3", L"\uFF21.mp3", -1},
        {0, L"\\\\server\\share\\A.wav", L"C:\\a.wav", -1}, {0, L"C:\\one\\s.mp3", L"D:\\two\\s.mp3", 0},
        {0, name + L".mp3", name + L"z.mp3", -1}, {1, L"C:\\one\\s.mp3", L"D:\\two\\s.mp3", -1},
        {1, L"C:\\b\\a.mp3", L"C:\\c\\0.mp3", -1},
    };
    for (const auto& c : pairs) {
        sortByFullPath = c.fullPath;
        setPlaylist({c.first, c.second});
        EXPECT_EQ(c.order, compareEntries(&playlist[0], &playlist[1])) << c.first << " against " << c.second;
        EXPECT_EQ(-c.order, compareEntries(&playlist[1], &playlist[0])) << c.second << " against " << c.first;
    }
}

// The first path decides: a folder (even when named like a playlist), a playlist file (its list as it is, spans
// kept), or audio files; empty and overlong paths are skipped, never cut. The command line opens no track.
TEST_F(Playlist, FirstPathDecidesBetweenAFolderAPlaylistAndFiles)
{
    const std::wstring music = make(L"music.tsv\\"), list = make(L"list.tsv");
    const std::wstring longest = L"C:\\" + std::wstring(1020, L'x'); // 1023 units
    for (const wchar_t* name : {L"b.MP3", L"a.wav", L"c.Wma", L".mid", L"x.midi", L"notes.txt", L"sub.mp3\\"})
        make(L"music.tsv\\" + std::wstring(name));
    make(L"music.tsv\\sub.mp3\\deep.mp3");
    const std::wstring saved = make(L"saved.vpl", utf16(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\r\n"));
    const std::wstring three = L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\"";
    const struct { int sorted; std::wstring arguments; Texts expected; } cases[] = {
        {0, three, {L"C:\\m\\c.mp3", L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3"}},
        {1, three, {L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3", L"C:\\m\\c.mp3"}},
        {0, L"C:\\missing.mp3 \"" + music + L"\" \"" + list + L"\"", {L"C:\\missing.mp3", music, list}},
        {0, longest + L"y \"\" " + longest + L" C:\\b.mp3", {longest, L"C:\\b.mp3"}},
        {1, L"\"" + music + L"\" C:\\other.mp3", {music + L"\\.mid", music + L"\\a.wav", music + L"\\b.MP3",
                                                 music + L"\\c.Wma"}},
    };
    for (const auto& c : cases) {
        sortOnOpen = c.sorted;
        EXPECT_EQ(NEW_LIST_WRITTEN, run(c.arguments)) << c.arguments;
        expectList(c.expected);
    }
    EXPECT_EQ(NEW_LIST_WRITTEN, run(L"\"" + saved + L"\" C:\\x.mp3"));
    EXPECT_EQ(utf16(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\t0\t0\r\n"), readBytes(currentPlaylistFilePath));
    EXPECT_EQ(Texts{}, fake::mciCommands()) << "the command line opens no track";
    // Nothing usable changes nothing.
    const std::wstring empty = make(L"no audio\\");
    make(L"no audio\\readme.txt");
    for (const std::wstring& arguments : {std::wstring(), std::wstring(L"\"\""), L"\"" + folder + L"\\missing.tsv\"",
                                          L"\"" + empty + L"\"", L"C:\\" + std::wstring(1021, L'x')})
        EXPECT_EQ(NEW_LIST_NOTHING, run(arguments)) << arguments;
    int count = 0;
    EXPECT_EQ(nullptr, entriesOfFolder((folder + L"\\absent").c_str(), &count)) << "a folder gone since it was chosen";
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
TEST_F(Playlist, ManyFilesAreAllKept)
{
    const std::wstring many = make(L"many\\");
    Texts expected;
    fake::fileDialogSelection = folder + L'\0';
    for (int i = 0; i < 300; ++i) {
        make(L"many\\t" + std::to_wstring(1000 + i) + L".mp3");
        fake::fileDialogSelection += L"t" + std::to_wstring(i) + L".mp3" + L'\0';
        expected.push_back(folder + L"\\t" + std::to_wstring(i) + L".mp3");
    }
    sortOnOpen = 1;
    currentPosition = 5;
    EXPECT_EQ(NEW_LIST_WRITTEN, open(many));
    EXPECT_EQ(0, currentPosition) << "a new list starts at its first entry";
    EXPECT_EQ(300u, playlistPaths().size()) << "every file of the folder";
    EXPECT_EQ(many + L"\\t1299.mp3", playlistPaths().back()) << "the last of the folder, sorted";
    sortOnOpen = 0;
    runCommand(window, IDM_OPEN_FILES);
    expectList(expected);
}

// Audio files join the list that audio files wrote a moment ago, sorted as a whole; a folder, a playlist
// file, a file written since by another or a late start begin a new list.
TEST_F(Playlist, StartsWithAudioFilesJoinTheListOfTheLastOne)
{
    const unsigned long long at = 1000000000, file = 777, late = at + 15000000; // 1.5 s
    const StartMarker files = {at, file, START_AUDIO_FILES}, folders = {at, file, START_FOLDER};
    const struct { StartKind kind; StartMarker previous; unsigned long long startedAt, fileNow; bool joins;
    } cases[] = {
        {START_AUDIO_FILES, files, at - 20000000, file, true}, {START_AUDIO_FILES, files, late, file, true},
        {START_AUDIO_FILES, files, late + 1, file, false}, {START_FOLDER, files, at, file, false},
        {START_PLAYLIST_FILE, files, at, file, false}, {START_AUDIO_FILES, folders, at, file, false},
        {START_AUDIO_FILES, {at, file, START_PLAYLIST_FILE}, at, file, false},
        {START_AUDIO_FILES, files, at, file + 1, false}, {START_AUDIO_FILES, {0, 0, START_NOTHING}, 5, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.joins, joinsPreviousStart(c.kind, c.previous, c.startedAt, c.fileNow)) << c.startedAt << c.kind;
    StartMarker marker = {};
    startMarker = &marker;
    sortOnOpen = 1;
    const std::wstring album = make(L"album\\"), list = make(L"list.tsv", utf16(L"C:\\listed.mp3\r\n"));
    make(L"album\\z.mp3");
    const struct { std::wstring arguments; Texts expected; } starts[] = {
        {L"C:\\d.mp3", {L"C:\\d.mp3"}}, {L"C:\\c.mid C:\\b.wav", {L"C:\\b.wav", L"C:\\c.mid", L"C:\\d.mp3"}},
        {L"\"" + album + L"\"", {album + L"\\z.mp3"}}, {L"C:\\a.mp3", {L"C:\\a.mp3"}},
        {L"\"" + list + L"\"", {L"C:\\listed.mp3"}}, {L"C:\\e.mp3", {L"C:\\e.mp3"}},
    };
    for (const auto& c : starts) {
        EXPECT_EQ(NEW_LIST_WRITTEN, run(c.arguments)) << c.arguments;
        EXPECT_EQ(c.expected, playlistPaths()) << "the list after a start with " << c.arguments;
    }
    marker.writtenAt -= 36000000000; // an hour before this process began
    EXPECT_EQ(NEW_LIST_WRITTEN, run(L"C:\\f.mp3"));
    EXPECT_EQ(Texts{L"C:\\f.mp3"}, playlistPaths()) << "a start an hour later joins nothing";
    startMarker = nullptr;
}

} // namespace
