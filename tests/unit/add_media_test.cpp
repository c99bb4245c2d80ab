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

class AddMedia : public support::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        current = currentPlaylistFilePath;
    }

    // A file, or a folder when the name ends in a backslash, under the test folder.
    std::wstring make(const std::wstring& name, const std::string& bytes = "x")
    {
        std::wstring path = folder + L"\\" + name;
        if (path.back() == L'\\') {
            path.pop_back();
            CreateDirectoryW(path.c_str(), nullptr);
        } else {
            support::writeFileBytes(path, bytes);
        }
        return path;
    }
    static std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
    int run(const std::wstring& arguments)
    {
        return openCommandLineText((L"\"C:\\Program Files\\player.exe\" " + arguments).c_str());
    }
    // The playlist in memory and in the current-playlist file.
    void expectList(const Paths& paths)
    {
        std::wstring text;
        for (const std::wstring& path : paths)
            text += path + L"\t0\t0\r\n";
        EXPECT_EQ(paths, support::playlistPaths());
        EXPECT_EQ(support::utf16File(text), support::readFileBytes(current));
    }

    std::wstring current;
};

// A folder is scanned even when named like a playlist; empty and overlong paths are skipped, never cut.
TEST_F(AddMedia, FirstPathDecidesBetweenAFolderAndAListOfFiles)
{
    std::wstring music = make(L"music.tsv\\");
    for (const wchar_t* name :
         {L"b.MP3", L"a.wav", L"c.Wma", L".mid", L"x.midi", L"notes.txt", L"sub.mp3\\", L"sub.mp3\\deep.mp3"})
        make(L"music.tsv\\" + std::wstring(name));
    std::wstring list = make(L"list.tsv");
    std::wstring longest = L"C:\\" + std::wstring(1020, L'x');
    const struct { int sorted; std::wstring arguments; Paths expected; } cases[] = {
        {0, L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\"", {L"C:\\m\\c.mp3", L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3"}},
        {1, L"C:\\m\\c.mp3 C:\\m\\a.mp3 \"C:\\m m\\b.mp3\"", {L"C:\\m\\a.mp3", L"C:\\m m\\b.mp3", L"C:\\m\\c.mp3"}},
        {0, L"C:\\missing.mp3 " + quoted(music) + L" " + quoted(list), {L"C:\\missing.mp3", music, list}},
        {0, longest + L"y \"\" " + longest + L" C:\\b.mp3", {longest, L"C:\\b.mp3"}},
        {1, quoted(music) + L" C:\\other.mp3",
         {music + L"\\.mid", music + L"\\a.wav", music + L"\\b.MP3", music + L"\\c.Wma"}},
    };
    for (const auto& c : cases) {
        sortOnOpen = c.sorted;
        EXPECT_EQ(NEW_LIST_WRITTEN, run(c.arguments)) << testing::PrintToString(c.arguments);
        expectList(c.expected);
    }
    EXPECT_TRUE(fake::mciCalls.empty()) << "the command line opens no track";
}

TEST_F(AddMedia, FolderOfManyFilesKeepsEveryOneFromTheStart)
{
    std::wstring many = make(L"many\\");
    for (int i = 0; i < 200; ++i)
        make(L"many\\t" + std::to_wstring(1000 + i) + L".mp3");
    sortOnOpen = 1;
    currentPosition = 5;
    EXPECT_EQ(1, addFolder(many.c_str()));
    EXPECT_EQ(0, currentPosition);
    ASSERT_EQ(200, playlistCount());
    EXPECT_EQ(many + L"\\t1199.mp3", std::wstring(playlist[199].path));
}

TEST_F(AddMedia, FirstPlaylistDecidesUnsortedAndLaterPathsAreIgnored)
{
    std::wstring list = make(L"saved.vpl", support::utf16File(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\r\n"));
    sortOnOpen = 1;
    EXPECT_EQ(NEW_LIST_WRITTEN, run(quoted(list) + L" C:\\x.mp3"));
    EXPECT_EQ(support::utf16File(L"C:\\b.mp3\t100\t200\r\nC:\\a.mp3\t0\t0\r\n"), support::readFileBytes(current));
}

TEST_F(AddMedia, NothingUsableChangesNothingInMemoryOrOnDisk)
{
    support::setPlaylist({L"C:\\kept.mp3"});
    support::writeFileBytes(current, support::utf16File(L"C:\\kept.mp3\t0\t0\r\n"));
    std::wstring empty = make(L"no audio\\");
    make(L"no audio\\readme.txt");
    for (const std::wstring& arguments : {std::wstring(), quoted(L""), quoted(folder + L"\\missing.tsv") + L" C:\\a.mp3",
                                          quoted(empty), L"C:\\" + std::wstring(1021, L'x')})
        EXPECT_EQ(NEW_LIST_NOTHING, run(arguments)) << testing::PrintToString(arguments);
    EXPECT_EQ(0, addFolder(empty.c_str()));
    EXPECT_EQ(0, addFolder((folder + L"\\absent").c_str()));
    expectList({L"C:\\kept.mp3"});
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(AddMedia, UnwritableCurrentPlaylistIsReportedAndTheListStaysBuilt)
{
    CreateDirectoryW(current.c_str(), nullptr);
    EXPECT_EQ(NEW_LIST_NOT_WRITTEN, run(L"C:\\a.mp3"));
    EXPECT_EQ((Paths{L"C:\\a.mp3"}), support::playlistPaths());
    EXPECT_EQ(1u, fake::waitForMessageBoxes(1).size());
}

// The dialog's answer names the folder, then each file: far more than a first allocation holds.
TEST_F(AddMedia, OpenFilesDialogTakesEveryChosenFile)
{
    Paths expected;
    fake::fileDialogSelection = folder + L'\0';
    for (int i = 0; i < 300; ++i) {
        fake::fileDialogSelection += L"t" + std::to_wstring(i) + L".mp3" + L'\0';
        expected.push_back(folder + L"\\t" + std::to_wstring(i) + L".mp3");
    }
    HWND window = support::createTestWindow();
    openFilesDialog(window);
    DestroyWindow(window);
    expectList(expected);
}

} // namespace
