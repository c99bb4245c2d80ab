#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/add_media.h"
#include "playlist/playlist_file.h"
#include "playlist/start_grouping.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"

namespace {

TEST(StartGrouping, OnlyAudioFilesWithinTheWindowOfTheLastAudioFilesWriteJoinIt)
{
    const unsigned long long written = 1000000000, file = 777;
    const StartMarker files = {written, file, START_AUDIO_FILES};
    struct Case {
        const char* label;
        StartKind kind;
        StartMarker previous;
        unsigned long long startedAt;
        unsigned long long fileNow;
        bool joins;
    } cases[] = {
        {"began while the previous one wrote", START_AUDIO_FILES, files, written - 20000000, file, true},
        {"at the end of the window", START_AUDIO_FILES, files, written + startGroupingWindow, file, true},
        {"past the window", START_AUDIO_FILES, files, written + startGroupingWindow + 1, file, false},
        {"a folder", START_FOLDER, files, written, file, false},
        {"a playlist file", START_PLAYLIST_FILE, files, written, file, false},
        {"after a folder", START_AUDIO_FILES, {written, file, START_FOLDER}, written, file, false},
        {"after a playlist file", START_AUDIO_FILES, {written, file, START_PLAYLIST_FILE}, written, file, false},
        {"file written since by another", START_AUDIO_FILES, files, written, file + 1, false},
        {"no previous start", START_AUDIO_FILES, {0, 0, START_NOTHING}, 5, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.joins, joinsPreviousStart(c.kind, c.previous, c.startedAt, c.fileNow)) << c.label;
}

class StartJoining : public support::FolderTest {
protected:
    void TearDown() override
    {
        startMarker = nullptr;
        FolderTest::TearDown();
    }

    // The current-playlist file's paths after a start with these arguments.
    std::vector<std::wstring> start(const std::wstring& arguments)
    {
        EXPECT_EQ(NEW_LIST_WRITTEN, openCommandLineText((L"player.exe " + arguments).c_str())) << arguments;
        EXPECT_TRUE(readPlaylistFile(currentPlaylistFilePath));
        return support::playlistPaths();
    }

    StartMarker marker = {};
};

// Audio files join the list that audio files wrote a moment ago, sorted as a whole; a folder, a
// playlist file or files that come too late start a new list.
TEST_F(StartJoining, StartsWithAudioFilesJoinTheListOfTheLastOne)
{
    startMarker = &marker;
    sortOnOpen = 1;
    CreateDirectoryW((folder + L"\\album").c_str(), nullptr);
    support::writeFileBytes(folder + L"\\album\\z.mp3", "");
    support::writeFileBytes(folder + L"\\list.tsv", support::utf16File(L"C:\\listed.mp3\r\n"));
    const std::wstring z = folder + L"\\album\\z.mp3";
    using Paths = std::vector<std::wstring>;
    EXPECT_EQ(Paths({L"C:\\d.mp3"}), start(L"C:\\d.mp3"));
    EXPECT_EQ(Paths({L"C:\\b.wav", L"C:\\c.mid", L"C:\\d.mp3"}), start(L"C:\\c.mid C:\\b.wav"));
    EXPECT_EQ(Paths({z}), start(L"\"" + folder + L"\\album\""));
    EXPECT_EQ(Paths({L"C:\\a.mp3"}), start(L"C:\\a.mp3"));
    EXPECT_EQ(Paths({L"C:\\listed.mp3"}), start(L"\"" + folder + L"\\list.tsv\""));
    EXPECT_EQ(Paths({L"C:\\e.mp3"}), start(L"C:\\e.mp3"));
    marker.writtenAt -= 36000000000; // an hour before this process began
    EXPECT_EQ(Paths({L"C:\\f.mp3"}), start(L"C:\\f.mp3"));
}

} // namespace
