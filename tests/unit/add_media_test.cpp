#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/add_media.h"
#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

using Paths = std::vector<std::wstring>;

std::string utf16File(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string listFile(const Paths& paths)
{
    std::wstring text;
    for (const std::wstring& path : paths)
        text += path + L"\t0\t0\r\n";
    return utf16File(text);
}

class AddMedia : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        folder = support::makeTempFolder(L"add-media");
        current = folder + L"\\taro playlist.tsv";
        wcscpy(currentPlaylistFilePath, current.c_str());
    }
    void TearDown() override
    {
        support::removeTree(folder);
        support::resetPlayerState();
    }

    std::wstring file(const std::wstring& name)
    {
        std::wstring path = folder + L"\\" + name;
        support::writeFileBytes(path, "x");
        return path;
    }
    std::wstring subfolder(const std::wstring& name)
    {
        std::wstring path = folder + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    int run(const std::wstring& arguments)
    {
        return openCommandLineText((L"\"C:\\Program Files\\player.exe\" " + arguments).c_str());
    }
    static std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

    std::wstring folder;
    std::wstring current;
};

TEST_F(AddMedia, FilesOnTheCommandLineInTheirOrderOrSorted)
{
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\""));
    Paths given = {L"C:\\m\\c.mp3", L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3"};
    EXPECT_EQ(given, support::playlistPaths());
    EXPECT_EQ(listFile(given), support::readFileBytes(current));

    sortOnOpen = 1;
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\""));
    Paths sorted = {L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3", L"C:\\m\\c.mp3"};
    EXPECT_EQ(sorted, support::playlistPaths());
    EXPECT_EQ(listFile(sorted), support::readFileBytes(current));
    EXPECT_TRUE(fake::mciCalls.empty()) << "the command line opens no track";
}

TEST_F(AddMedia, LaterPathsAreTakenAsTheyStand)
{
    std::wstring music = subfolder(L"music");
    std::wstring list = file(L"list.tsv");
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(L"C:\\missing.mp3 " + quoted(music) + L" " + quoted(list)));
    EXPECT_EQ((Paths{L"C:\\missing.mp3", music, list}), support::playlistPaths());
}

TEST_F(AddMedia, FirstFolderDecidesAndLaterPathsAreIgnored)
{
    std::wstring music = subfolder(L"music.tsv");
    support::writeFileBytes(music + L"\\a.mp3", "x");
    support::writeFileBytes(music + L"\\notes.txt", "x");
    CreateDirectoryW((music + L"\\sub.mp3").c_str(), nullptr);
    support::writeFileBytes(music + L"\\sub.mp3\\deep.mp3", "x");
    currentPosition = 5;
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(quoted(music) + L" C:\\other.mp3"));
    EXPECT_EQ((Paths{music + L"\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(0, currentPosition);
    EXPECT_EQ(listFile({music + L"\\a.mp3"}), support::readFileBytes(current));
}

TEST_F(AddMedia, FirstPlaylistDecidesAndLaterPathsAreIgnored)
{
    std::wstring list = folder + L"\\saved.vpl";
    support::writeFileBytes(list, utf16File(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\r\n"));
    sortOnOpen = 1;
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(quoted(list) + L" C:\\x.mp3"));
    EXPECT_EQ((Paths{L"C:\\b.mp3", L"C:\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(100u, playlist[0].start);
    EXPECT_EQ(utf16File(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\t0\t0\r\n"), support::readFileBytes(current));
}

TEST_F(AddMedia, NothingUsableChangesNothing)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    support::writeFileBytes(current, listFile({L"C:\\kept.mp3"}));
    std::wstring empty = subfolder(L"no audio");
    file(L"no audio\\readme.txt");
    std::wstring tooLong = L"C:\\" + std::wstring(1021, L'x');
    const std::wstring lines[] = {
        L"",
        L"\"\"",
        quoted(folder + L"\\missing.tsv") + L" C:\\a.mp3",
        quoted(empty),
        tooLong,
    };
    for (const std::wstring& arguments : lines) {
        EXPECT_EQ(COMMAND_LINE_NOTHING, run(arguments)) << testing::PrintToString(arguments);
        EXPECT_EQ((Paths{L"C:\\kept.mp3"}), support::playlistPaths());
    }
    EXPECT_EQ(listFile({L"C:\\kept.mp3"}), support::readFileBytes(current));
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(AddMedia, EmptyAndOverlongArgumentsAreSkippedNeverCut)
{
    std::wstring longest = L"C:\\" + std::wstring(1020, L'x');
    EXPECT_EQ(COMMAND_LINE_WRITTEN, run(longest + L"y \"\" " + longest + L" C:\\b.mp3"));
    EXPECT_EQ((Paths{longest, L"C:\\b.mp3"}), support::playlistPaths());
}

TEST_F(AddMedia, UnwritableCurrentPlaylistIsReportedAndTheListStaysBuilt)
{
    CreateDirectoryW(current.c_str(), nullptr);
    EXPECT_EQ(COMMAND_LINE_NOT_WRITTEN, run(L"C:\\a.mp3"));
    EXPECT_EQ((Paths{L"C:\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(1u, fake::waitForMessageBoxes(1).size());
}

TEST_F(AddMedia, FolderScanTakesOnlyItsOwnAudioFiles)
{
    std::wstring music = subfolder(L"music");
    const wchar_t* names[] = {L"b.MP3", L"a.wav", L"c.Wma", L".mid", L"x.midi", L"x.mp3.txt", L"noext"};
    for (const wchar_t* name : names)
        support::writeFileBytes(music + L"\\" + name, "x");
    CreateDirectoryW((music + L"\\inner").c_str(), nullptr);
    support::writeFileBytes(music + L"\\inner\\d.mp3", "x");
    sortOnOpen = 1;
    EXPECT_EQ(1, addFolder(music.c_str()));
    Paths expected = {music + L"\\.mid", music + L"\\a.wav", music + L"\\b.MP3", music + L"\\c.Wma"};
    EXPECT_EQ(expected, support::playlistPaths());
    EXPECT_EQ(listFile(expected), support::readFileBytes(current));
}

TEST_F(AddMedia, FolderOfManyFilesKeepsEveryOne)
{
    std::wstring music = subfolder(L"many");
    for (int i = 0; i < 200; ++i)
        support::writeFileBytes(music + L"\\t" + std::to_wstring(1000 + i) + L".mp3", "x");
    sortOnOpen = 1;
    EXPECT_EQ(1, addFolder(music.c_str()));
    ASSERT_EQ(200, playlistCount());
    EXPECT_EQ(music + L"\\t1199.mp3", std::wstring(playlist[199].path));
}

TEST_F(AddMedia, UnlistableFolderGivesZero)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    EXPECT_EQ(0, addFolder((folder + L"\\absent").c_str()));
    EXPECT_EQ((Paths{L"C:\\kept.mp3"}), support::playlistPaths());
}

TEST(AudioFileName, FourExtensionsInAnyAsciiCase)
{
    const struct {
        const wchar_t* name;
        bool expected;
    } cases[] = {
        {L"SONG.MP3", true}, {L"x.Wma", true},      {L".mid", true},   {L"a.wav", true},  {L"x.midi", false},
        {L"x.mp3.txt", false}, {L"noext", false},   {L"", false},      {L"a.", false},    {L"a.\uFF4Dp3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, isAudioFileName(c.name)) << testing::PrintToString(std::wstring(c.name));
}

} // namespace
