#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "playlist/add_media.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

using support::utf16File;
using Entry = std::tuple<std::wstring, unsigned int, unsigned int>;
using Entries = std::vector<Entry>;
using Paths = std::vector<std::wstring>;

Entries playlistEntries()
{
    Entries entries;
    for (int i = 0; playlist[i].path[0] != L'\0'; ++i)
        entries.emplace_back(playlist[i].path, playlist[i].start, playlist[i].end);
    return entries;
}

class PlaylistFile : public support::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        path = folder + L"\\list.tsv";
    }

    std::wstring path;
};

TEST_F(PlaylistFile, WritesTheExampleLineByteForByteAndReadsBackWhatItWrote)
{
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    EXPECT_EQ("\xFF\xFE", support::readFileBytes(path));
    support::setPlaylist({L"C:\\old.mp3"});
    currentPosition = 3;
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    EXPECT_EQ(0, playlistCount());
    EXPECT_EQ(0, currentPosition);

    support::setPlaylist({L"C:\\a.mp3"});
    playlist[0].start = 1500;
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    const char expected[] = "\xFF\xFE" "C\0:\0\\\0a\0.\0m\0p\0" "3\0\t\0" "1\0" "5\0" "0\0" "0\0\t\0" "0\0\r\0\n\0";
    EXPECT_EQ(std::string(expected, sizeof(expected) - 1), support::readFileBytes(path));
    EXPECT_TRUE(fake::messageBoxes().empty());

    Paths paths = {L"C:\\z.mp3", L"D:\\\u97F3\u697D\\\u3042.wav", L"C:\\" + std::wstring(1020, L'l'), L"C:\\a.mp3"};
    for (int i = 0; i < 300; ++i)
        paths.push_back(L"C:\\t" + std::to_wstring(i) + L".mp3");
    support::setPlaylist(paths);
    playlist[1].start = 4294967295u;
    playlist[1].end = 2147483647;
    Entries written = playlistEntries();
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    support::setPlaylist({});
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    // The file's numbers are signed: values above that range saturate on reading.
    std::get<1>(written[1]) = 2147483647;
    EXPECT_EQ(written, playlistEntries());
}

TEST_F(PlaylistFile, ReadsLinesAndFieldsByTheFormatRules)
{
    const std::wstring longPath = L"C:\\" + std::wstring(1097, L'p');
    const Entries music = {{L"D:\\\u97F3\u697D\\\u66F2.mp3", 1, 2}, {L"C:\\b.wav", 0, 0}};
    const struct { const char* name; std::string bytes; Entries expected; } cases[] = {
        {"path only", utf16File(L"C:\\x.mp3"), {{L"C:\\x.mp3", 0, 0}}},
        {"start only", utf16File(L"C:\\x.mp3\t1500\r\n"), {{L"C:\\x.mp3", 1500, 0}}},
        {"end only", utf16File(L"C:\\x.mp3\t\t9000\r\n"), {{L"C:\\x.mp3", 0, 9000}}},
        {"negative start", utf16File(L"C:\\x.mp3\t-20\t5000\r\n"), {{L"C:\\x.mp3", 0, 5000}}},
        {"skipped lines", utf16File(L"\tC:\\tab.mp3\r\n\r\n\n\r\nC:\\a.mp3\nC:\\b.mp3\r\n"),
         {{L"C:\\a.mp3", 0, 0}, {L"C:\\b.mp3", 0, 0}}},
        {"fourth field", utf16File(L"C:\\x.mp3\t1\t2\t3\r\n"), {{L"C:\\x.mp3", 1, 2}}},
        {"text after the end", utf16File(L"C:\\x.mp3\t1\t2abc\r\n"), {{L"C:\\x.mp3", 1, 2}}},
        {"full-width digits", utf16File(L"C:\\x.mp3\t\uFF14\uFF12"), {{L"C:\\x.mp3", 42, 0}}},
        {"Arabic-Indic digits", utf16File(L"C:\\x.mp3\t\u0661\u0662"), {{L"C:\\x.mp3", 12, 0}}},
        {"digits then letters", utf16File(L"C:\\x.mp3\t12abc"), {{L"C:\\x.mp3", 12, 0}}},
        {"letters", utf16File(L"C:\\x.mp3\tabc\t7"), {{L"C:\\x.mp3", 0, 7}}},
        {"eleven nines", utf16File(L"C:\\x.mp3\t99999999999\t-99999999999"), {{L"C:\\x.mp3", 2147483647, 0}}},
        {"sign and blanks", utf16File(L"C:\\x.mp3\t +7\t  8"), {{L"C:\\x.mp3", 7, 8}}},
        {"Ctrl-Z ends the text", utf16File(L"C:\\a.mp3\r\n\x1A" L"C:\\b.mp3\r\n"), {{L"C:\\a.mp3", 0, 0}}},
        {"lone CR stays", utf16File(L"C:\\a\r.mp3\n"), {{L"C:\\a\r.mp3", 0, 0}}},
        {"blank path", utf16File(L"   \t5"), {{L"   ", 5, 0}}},
        {"parts of 1023 units", utf16File(longPath + L"\t5\t6\r\nC:\\next.mp3\r\n"),
         {{longPath.substr(0, 1023), 0, 0}, {longPath.substr(1023), 5, 6}, {L"C:\\next.mp3", 0, 0}}},
        {"UTF-16LE", utf16File(L"D:\\\u97F3\u697D\\\u66F2.mp3\t1\t2\r\nC:\\b.wav\n"), music},
        {"UTF-8", "\xEF\xBB\xBF" "D:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.mp3\t1\t2\r\nC:\\b.wav\n", music},
        {"no mark: a character a byte", "C:\\a.mp3\t3\r\nC:\\\xE9\x9F\xB3.mp3",
         {{L"C:\\a.mp3", 3, 0}, {L"C:\\\u00E9\u009F\u00B3.mp3", 0, 0}}},
    };
    for (const auto& c : cases) {
        support::writeFileBytes(path, c.bytes);
        EXPECT_TRUE(readPlaylistFile(path.c_str())) << c.name;
        EXPECT_EQ(c.expected, playlistEntries()) << c.name;
        EXPECT_GT(HeapSize(GetProcessHeap(), 0, playlist) / sizeof(PlaylistEntry), c.expected.size()) << "no room for the end";
    }
}

TEST_F(PlaylistFile, UnreadableFilesChangeNothingAndLoadSilently)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    currentPosition = 1;
    support::writeFileBytes(path, std::string("\xFE\xFF\0C\0:\0\\\0x", 10));
    for (const std::wstring& file : {path, folder + L"\\missing.tsv", folder})
        EXPECT_FALSE(readPlaylistFile(file.c_str())) << file;
    wcscpy(currentPlaylistFilePath, (folder + L"\\none.tsv").c_str());
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ(Paths{L"C:\\kept.mp3"}, support::playlistPaths());
    EXPECT_EQ(1, currentPosition);
    EXPECT_TRUE(fake::mciCalls.empty());
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(PlaylistFile, SortLoadedPlaylistSortsAReadButNotTheCurrentPlaylist)
{
    const std::string unsorted = utf16File(L"C:\\b.mp3\r\nC:\\a.mp3\r\n");
    support::writeFileBytes(path, unsorted);
    sortLoadedPlaylist = 1;
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    EXPECT_EQ((Paths{L"C:\\a.mp3", L"C:\\b.mp3"}), support::playlistPaths());
    wcscpy(currentPlaylistFilePath, path.c_str());
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ((Paths{L"C:\\b.mp3", L"C:\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(1, sortLoadedPlaylist);
    EXPECT_EQ(unsorted, support::readFileBytes(path));
}

TEST_F(PlaylistFile, FailedWriteIsReportedAndLeavesThePreviousFileAndNoTemporaryFile)
{
    const std::string previous = utf16File(L"C:\\previous.mp3\t1\t2\r\n");
    support::writeFileBytes(path, previous);
    support::setPlaylist({L"C:\\new.mp3"});
    // Held open without delete sharing, the file cannot be replaced.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    bool written = writePlaylistFile(path.c_str());
    CloseHandle(holder);
    EXPECT_FALSE(written);
    EXPECT_EQ(previous, support::readFileBytes(path));
    fake::waitForMessageBoxes(1);
    // A path too long for the report is shortened, never overrun.
    EXPECT_FALSE(writePlaylistFile((folder + L"\\" + std::wstring(1000 - folder.size(), L'd')).c_str()));
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(2);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(L"プレイリストファイルの書き込みに失敗しました。\n（パス：" + path + L"）", boxes[0].text);
    EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
    EXPECT_EQ(1023u, boxes[1].text.size());
    EXPECT_EQ(L'\u2026', boxes[1].text.back());
    // The folder is empty once the file is gone: no temporary file was left behind.
    DeleteFileW(path.c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
}

TEST(FileNames, PlaylistAndAudioExtensionsInAnyAsciiCase)
{
    const struct { const wchar_t* name; bool playlist; bool audio; } cases[] = {
        {L"list.TSV", true, false},    {L"a.Vpl", true, false},        {L"b.vppl", true, false},
        {L"C:\\x.y\\z.tsv", true, false}, {L"a.tsv.mp3", false, true},  {L"SONG.MP3", false, true},
        {L"x.Wma", false, true},       {L".mid", false, true},         {L"a.wav", false, true},
        {L"tsv", false, false},        {L"a.", false, false},          {L"", false, false},
        {L"noext", false, false},      {L"a.tsvx", false, false},      {L"C:\\x.tsv\\z", false, false},
        {L"x.midi", false, false},     {L"x.mp3.txt", false, false},   {L"a.\uFF54sv", false, false},
        {L"a.\uFF4Dp3", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.playlist, isPlaylistFileName(c.name)) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(c.audio, isAudioFileName(c.name)) << testing::PrintToString(std::wstring(c.name));
    }
}

} // namespace
