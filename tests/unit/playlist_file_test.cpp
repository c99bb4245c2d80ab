#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

struct Entry {
    std::wstring path;
    unsigned int start;
    unsigned int end;
    bool operator==(const Entry& other) const
    {
        return path == other.path && start == other.start && end == other.end;
    }
};

std::ostream& operator<<(std::ostream& out, const Entry& entry)
{
    return out << testing::PrintToString(entry.path) << " " << entry.start << " " << entry.end;
}

std::vector<Entry> playlistEntries()
{
    std::vector<Entry> entries;
    for (int i = 0; playlist[i].path[0] != L'\0'; ++i)
        entries.push_back({playlist[i].path, playlist[i].start, playlist[i].end});
    return entries;
}

std::string utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string utf16File(const std::wstring& text)
{
    return "\xFF\xFE" + utf16(text);
}

class PlaylistFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        folder = support::makeTempFolder(L"playlist-file");
        path = folder + L"\\list.tsv";
    }
    void TearDown() override
    {
        support::removeTree(folder);
        support::resetPlayerState();
    }

    std::vector<Entry> read(const std::string& bytes)
    {
        support::writeFileBytes(path, bytes);
        EXPECT_TRUE(readPlaylistFile(path.c_str()));
        return playlistEntries();
    }

    std::vector<std::wstring> folderNames()
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (found.cFileName[0] != L'.')
                names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    std::wstring folder;
    std::wstring path;
};

TEST_F(PlaylistFile, WritesTheExampleLineByteForByte)
{
    support::setPlaylist({L"C:\\a.mp3"});
    playlist[0].start = 1500;
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    const char expected[] = "\xFF\xFE"
                            "C\0:\0\\\0a\0.\0m\0p\0"
                            "3\0\t\0"
                            "1\0"
                            "5\0"
                            "0\0"
                            "0\0\t\0"
                            "0\0\r\0\n\0";
    EXPECT_EQ(std::string(expected, sizeof(expected) - 1), support::readFileBytes(path));
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(PlaylistFile, EmptyListIsTheByteOrderMarkAloneAndReadsBackEmpty)
{
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    EXPECT_EQ("\xFF\xFE", support::readFileBytes(path));
    support::setPlaylist({L"C:\\old.mp3"});
    currentPosition = 3;
    EXPECT_TRUE(readPlaylistFile(path.c_str()));
    EXPECT_EQ(0, playlistCount());
    EXPECT_EQ(0, currentPosition);
}

TEST_F(PlaylistFile, WriteThenReadKeepsEntriesAndOrder)
{
    std::wstring longest = L"C:\\" + std::wstring(1020, L'l');
    support::setPlaylist({L"C:\\z.mp3", L"D:\\\u97F3\u697D\\\u3042.wav", longest, L"C:\\a.mp3"});
    playlist[1].start = 4294967295u;
    playlist[1].end = 7;
    playlist[3].end = 2147483647;
    std::vector<Entry> written = playlistEntries();
    ASSERT_TRUE(writePlaylistFile(path.c_str()));
    support::setPlaylist({});
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    // Values above the signed range saturate on reading: the file format is signed.
    written[1].start = 2147483647;
    EXPECT_EQ(written, playlistEntries());
}

TEST_F(PlaylistFile, ManyEntriesGrowTheArray)
{
    std::wstring text;
    for (int i = 0; i < 300; ++i)
        text += L"C:\\t" + std::to_wstring(i) + L".mp3\t" + std::to_wstring(i) + L"\t0\r\n";
    std::vector<Entry> entries = read(utf16File(text));
    ASSERT_EQ(300u, entries.size());
    EXPECT_EQ((Entry{L"C:\\t299.mp3", 299, 0}), entries[299]);
    EXPECT_EQ(L'\0', playlist[300].path[0]);
}

struct LineCase {
    const wchar_t* name;
    std::wstring text;
    std::vector<Entry> expected;
};

TEST_F(PlaylistFile, ReadsLinesAndFieldsByTheFormatRules)
{
    const LineCase cases[] = {
        {L"path only", L"C:\\x.mp3", {{L"C:\\x.mp3", 0, 0}}},
        {L"start only", L"C:\\x.mp3\t1500\r\n", {{L"C:\\x.mp3", 1500, 0}}},
        {L"end only", L"C:\\x.mp3\t\t9000\r\n", {{L"C:\\x.mp3", 0, 9000}}},
        {L"negative start", L"C:\\x.mp3\t-20\t5000\r\n", {{L"C:\\x.mp3", 0, 5000}}},
        {L"skipped lines", L"\tC:\\tab.mp3\r\n\r\n\n\r\nC:\\a.mp3\nC:\\b.mp3\r\n",
         {{L"C:\\a.mp3", 0, 0}, {L"C:\\b.mp3", 0, 0}}},
        {L"fourth field", L"C:\\x.mp3\t1\t2\t3\r\n", {{L"C:\\x.mp3", 1, 2}}},
        {L"text after the end", L"C:\\x.mp3\t1\t2abc\r\n", {{L"C:\\x.mp3", 1, 2}}},
        {L"full-width digits", L"C:\\x.mp3\t\uFF14\uFF12", {{L"C:\\x.mp3", 42, 0}}},
        {L"Arabic-Indic digits", L"C:\\x.mp3\t\u0661\u0662", {{L"C:\\x.mp3", 12, 0}}},
        {L"digits then letters", L"C:\\x.mp3\t12abc", {{L"C:\\x.mp3", 12, 0}}},
        {L"letters", L"C:\\x.mp3\tabc\t7", {{L"C:\\x.mp3", 0, 7}}},
        {L"eleven nines", L"C:\\x.mp3\t99999999999\t-99999999999", {{L"C:\\x.mp3", 2147483647, 0}}},
        {L"sign and blanks", L"C:\\x.mp3\t +7\t  8", {{L"C:\\x.mp3", 7, 8}}},
        {L"Ctrl-Z ends the text", L"C:\\a.mp3\r\n\x1A" L"C:\\b.mp3\r\n", {{L"C:\\a.mp3", 0, 0}}},
        {L"lone CR stays", L"C:\\a\r.mp3\n", {{L"C:\\a\r.mp3", 0, 0}}},
        {L"blank path", L"   \t5", {{L"   ", 5, 0}}},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(c.expected, read(utf16File(c.text))) << c.name;
}

TEST_F(PlaylistFile, OverlongLineIsReadInPartsOf1023Units)
{
    std::wstring longPath = L"C:\\" + std::wstring(1097, L'p');
    std::vector<Entry> entries = read(utf16File(longPath + L"\t5\t6\r\nC:\\next.mp3\r\n"));
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ((Entry{longPath.substr(0, 1023), 0, 0}), entries[0]);
    EXPECT_EQ((Entry{longPath.substr(1023), 5, 6}), entries[1]);
    EXPECT_EQ(77u, entries[1].path.size());
    EXPECT_EQ((Entry{L"C:\\next.mp3", 0, 0}), entries[2]);
}

TEST_F(PlaylistFile, EncodingFollowsTheFirstBytes)
{
    std::wstring text = L"D:\\\u97F3\u697D\\\u66F2.mp3\t1\t2\r\nC:\\b.wav\n";
    std::vector<Entry> fromUtf16 = read(utf16File(text));
    std::string utf8 = "\xEF\xBB\xBF"
                       "D:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.mp3\t1\t2\r\nC:\\b.wav\n";
    EXPECT_EQ(fromUtf16, read(utf8));
    EXPECT_EQ(2u, fromUtf16.size());

    // Without a mark every byte is one character, so only ASCII paths survive.
    EXPECT_EQ((std::vector<Entry>{{L"C:\\a.mp3", 3, 0}, {L"C:\\\u00E9\u009F\u00B3.mp3", 0, 0}}),
              read("C:\\a.mp3\t3\r\nC:\\\xE9\x9F\xB3.mp3"));
}

TEST_F(PlaylistFile, BigEndianAndMissingFilesAreNotReadAndChangeNothing)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    currentPosition = 1;
    support::writeFileBytes(path, "\xFE\xFF\0C\0:\0\\\0x");
    EXPECT_FALSE(readPlaylistFile(path.c_str()));
    EXPECT_FALSE(readPlaylistFile((folder + L"\\missing.tsv").c_str()));
    EXPECT_FALSE(readPlaylistFile(folder.c_str()));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\kept.mp3"}), support::playlistPaths());
    EXPECT_EQ(1, currentPosition);
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(PlaylistFile, SortLoadedPlaylistSortsAReadButNotTheCurrentPlaylist)
{
    support::writeFileBytes(path, utf16File(L"C:\\b.mp3\r\nC:\\a.mp3\r\n"));
    sortLoadedPlaylist = 1;
    ASSERT_TRUE(readPlaylistFile(path.c_str()));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a.mp3", L"C:\\b.mp3"}), support::playlistPaths());

    wcscpy(currentPlaylistFilePath, path.c_str());
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\b.mp3", L"C:\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(1, sortLoadedPlaylist);
    EXPECT_EQ(utf16File(L"C:\\b.mp3\r\nC:\\a.mp3\r\n"), support::readFileBytes(path));
}

TEST_F(PlaylistFile, MissingCurrentPlaylistLeavesTheListAndOpensNothing)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    wcscpy(currentPlaylistFilePath, (folder + L"\\none.tsv").c_str());
    loadCurrentPlaylist(nullptr);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\kept.mp3"}), support::playlistPaths());
    EXPECT_TRUE(fake::mciCalls.empty());
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(PlaylistFile, FailedWriteReportsAndLeavesNoTemporaryFile)
{
    // A folder where the file should be: it can be neither created nor replaced.
    CreateDirectoryW(path.c_str(), nullptr);
    support::setPlaylist({L"C:\\a.mp3"});
    EXPECT_FALSE(writePlaylistFile(path.c_str()));
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"プレイリストファイルの書き込みに失敗しました。\n（パス：" + path + L"）", boxes[0].text);
    EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
    EXPECT_EQ(std::vector<std::wstring>{L"list.tsv"}, folderNames());
}

TEST_F(PlaylistFile, FailedReplacementKeepsThePreviousFileIntact)
{
    std::string previous = utf16File(L"C:\\previous.mp3\t1\t2\r\n");
    support::writeFileBytes(path, previous);
    // Held open without delete sharing, the file cannot be replaced.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    support::setPlaylist({L"C:\\new.mp3"});
    bool written = writePlaylistFile(path.c_str());
    CloseHandle(holder);
    EXPECT_FALSE(written);
    EXPECT_EQ(1u, fake::waitForMessageBoxes(1).size());
    EXPECT_EQ(previous, support::readFileBytes(path));
    EXPECT_EQ(std::vector<std::wstring>{L"list.tsv"}, folderNames());
}

TEST_F(PlaylistFile, OverlongPathInTheFailureReportIsShortenedWithoutOverrun)
{
    std::wstring deep = folder + L"\\" + std::wstring(1000 - folder.size(), L'd');
    support::setPlaylist({L"C:\\a.mp3"});
    EXPECT_FALSE(writePlaylistFile(deep.c_str()));
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(1023u, boxes[0].text.size());
    EXPECT_EQ(L'\u2026', boxes[0].text.back());
}

TEST(PlaylistFileName, ExtensionsTsvVplVpplInAnyAsciiCase)
{
    const struct {
        const wchar_t* name;
        bool expected;
    } cases[] = {
        {L"list.TSV", true}, {L"a.Vpl", true},        {L"b.vppl", true},       {L"C:\\x.y\\z.tsv", true},
        {L"a.tsv.mp3", false}, {L"tsv", false},       {L"a.", false},          {L"", false},
        {L"C:\\x.tsv\\z", false}, {L"a.tsvx", false}, {L"a.\uFF54sv", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, isPlaylistFileName(c.name)) << testing::PrintToString(std::wstring(c.name));
}

} // namespace
