#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

class MainWindow : public support::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        window = support::createTestWindow();
        drainMessages();
    }
    void TearDown() override
    {
        drainMessages();
        DestroyWindow(window);
        FolderTest::TearDown();
    }

    // The messages the dispatch posted to the window, taken off its queue.
    std::vector<UINT> drainMessages()
    {
        std::vector<UINT> posted;
        MSG message;
        while (PeekMessageW(&message, window, 0, 0, PM_REMOVE))
            posted.push_back(message.message);
        return posted;
    }

    std::string settingsText() { return support::readFileBytes(settingsFilePath); }

    HWND window = nullptr;
};

struct ToggleCase {
    unsigned int command;
    int* setting;
    const char* key;
};

TEST_F(MainWindow, SettingCommandsToggleAndSaveAtOnce)
{
    const ToggleCase cases[] = {
        {IDM_REPEAT, &repeat, "REPEAT"},
        {IDM_SORT_ON_OPEN, &sortOnOpen, "SORT"},
        {IDM_BALLOON_ON_OPEN, &balloonOnOpen, "BALLOON"},
        {IDM_SORT_BY_FULL_PATH, &sortByFullPath, "FULL_PATH"},
        {IDM_SORT_LOADED_PLAYLIST, &sortLoadedPlaylist, "SORT_LIST"},
    };
    for (const ToggleCase& c : cases) {
        runCommand(window, c.command);
        EXPECT_EQ(1, *c.setting) << c.key;
        EXPECT_NE(std::string::npos, settingsText().find(std::string(c.key) + "=1\r\n")) << c.key;
        *c.setting = 7; // any nonzero value counts as on and toggles to 0
        runCommand(window, c.command);
        EXPECT_EQ(0, *c.setting) << c.key;
        EXPECT_NE(std::string::npos, settingsText().find(std::string(c.key) + "=0\r\n")) << c.key;
    }
}

TEST_F(MainWindow, MessageDisplayCommandsStoreTheirStyle)
{
    const struct {
        unsigned int command;
        int type;
    } cases[] = {{IDM_MSG_HIDDEN, 2}, {IDM_MSG_BALLOON, 1}, {IDM_MSG_MESSAGE_BOX, 0}};
    for (const auto& c : cases) {
        runCommand(window, c.command);
        EXPECT_EQ(c.type, messageDisplayType);
        EXPECT_NE(std::string::npos, settingsText().find("MSG_DISPLAY_TYPE=" + std::to_string(c.type) + "\r\n"));
    }
}

TEST_F(MainWindow, ExitPostsCloseAndWhatIsNotOursIsIgnored)
{
    for (unsigned int id : {999u, 1026u, 1999u})
        runCommand(window, id);
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_LBUTTONUP)) << "another icon's click";
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_RBUTTONUP)) << "another icon's click";
    EXPECT_TRUE(drainMessages().empty());
    EXPECT_TRUE(fake::mciCalls.empty());
    runCommand(window, IDM_EXIT);
    EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, drainMessages());
}

TEST_F(MainWindow, FirstTrackOnAnEmptyPlaylistOpensNothing)
{
    runCommand(window, IDM_FIRST_TRACK);
    for (const std::wstring& command : fake::mciCommands())
        EXPECT_EQ(std::wstring::npos, command.find(L"open")) << command;
    EXPECT_TRUE(drainMessages().empty());
}

// A menu built before the list shrank, or another process, may name any position.
TEST_F(MainWindow, SelectionBeyondTheListIsIgnored)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    const int shuffleStates[] = {0, 1};
    const unsigned int ids[] = {IDM_SELECT_FIRST + 3, IDM_SELECT_FIRST + 60000, 65535};
    for (int shuffleState : shuffleStates) {
        shuffle = shuffleState;
        for (unsigned int id : ids) {
            currentPosition = 1;
            isPlaying = 1;
            runCommand(window, id);
            EXPECT_EQ(1, currentPosition) << id;
            EXPECT_EQ(1, isPlaying) << id;
            EXPECT_TRUE(fake::mciCalls.empty()) << id;
            EXPECT_TRUE(drainMessages().empty()) << id;
        }
    }
}

TEST_F(MainWindow, SelectionOpensTheTrackAndRestartsOnlyWhatWasPlaying)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    const struct {
        int wasPlaying;
        std::vector<UINT> posted;
    } cases[] = {{1, {WM_APP_PLAY}}, {0, {}}};
    for (const auto& c : cases) {
        fake::reset();
        isPlaying = c.wasPlaying;
        runCommand(window, IDM_SELECT_FIRST + 2);
        EXPECT_EQ(2, currentPosition);
        std::vector<std::wstring> commands = fake::mciCommands();
        EXPECT_NE(commands.end(), std::find(commands.begin(), commands.end(), L"open \"C:\\c.mp3\" alias sound"));
        EXPECT_EQ(c.posted, drainMessages()) << "was playing: " << c.wasPlaying;
    }
}

TEST_F(MainWindow, ShuffleSwitchedOffKeepsTheCurrentTrack)
{
    support::setPlaylist({L"C:\\0.mp3", L"C:\\1.mp3", L"C:\\2.mp3"});
    shuffle = 1;
    PlaylistEntry* order[4] = {&playlist[2], &playlist[0], &playlist[1], &playlist[3]};
    PlaylistEntry** saved = shuffleOrder;
    shuffleOrder = order;
    currentPosition = 0;
    runCommand(window, IDM_SHUFFLE);
    shuffleOrder = saved;
    EXPECT_EQ(0, shuffle);
    EXPECT_EQ(2, currentPosition);
    EXPECT_NE(std::string::npos, settingsText().find("SHUFFLE=0\r\n"));

    shuffle = 1; // no order built yet: the first track becomes current
    currentPosition = 2;
    runCommand(window, IDM_SHUFFLE);
    EXPECT_EQ(0, currentPosition);
}

struct NotifyCase {
    WPARAM flag;
    bool trackEnds;
};

TEST_F(MainWindow, OnlyASuccessfulNotificationEndsTheTrack)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3"});
    addTrayIcon(window);
    const NotifyCase cases[] = {
        {MCI_NOTIFY_ABORTED, false},
        {MCI_NOTIFY_SUPERSEDED, false},
        {MCI_NOTIFY_SUCCESSFUL, true},
    };
    for (const NotifyCase& c : cases) {
        fake::reset();
        currentPosition = 0;
        isPlaying = 1;
        EXPECT_EQ(0, mainWindowProc(window, MM_MCINOTIFY, c.flag, 0));
        EXPECT_EQ(c.trackEnds, !fake::mciCalls.empty()) << "flag " << c.flag;
        EXPECT_EQ(c.trackEnds, !fake::notifyCalls.empty()) << "flag " << c.flag;
        EXPECT_EQ(c.trackEnds ? 1 : 0, currentPosition) << "flag " << c.flag;
    }
}

TEST_F(MainWindow, AFailedPlayClearsThePlayingState)
{
    addTrayIcon(window);
    fake::reset();
    isPlaying = 1;
    mainWindowProc(window, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 0);
    EXPECT_EQ(0, isPlaying);
    ASSERT_FALSE(fake::notifyCalls.empty());
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)), fake::notifyCalls.back().data.hIcon);
}

TEST_F(MainWindow, IsPlayingAnswersFromTheDeviceMode)
{
    const struct {
        const wchar_t* mode;
        unsigned int error;
        LRESULT answer;
    } cases[] = {{L"playing", 0, 1}, {L"paused", 0, 0}, {L"stopped", 0, 0}, {L"Playing", 0, 0}, {L"playing", 263, 0}};
    for (const auto& c : cases) {
        fake::mciHandler = [&](const std::wstring& command, std::wstring& reply, HWND) -> unsigned int {
            EXPECT_EQ(L"status sound mode", command);
            reply = c.mode;
            return c.error;
        };
        EXPECT_EQ(c.answer, mainWindowProc(window, WM_APP_IS_PLAYING, 0, 0)) << c.mode << L" " << c.error;
    }
}

TEST_F(MainWindow, TaskbarCreatedBringsTheIconBackAsItWas)
{
    taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    support::setPlaylist({L"C:\\Music\\song.mp3"});
    const struct {
        int playing;
        bool playingPicture;
    } cases[] = {{0, false}, {1, true}};
    HICON playingIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYING), IMAGE_ICON, 0, 0, LR_SHARED));
    for (const auto& c : cases) {
        fake::reset();
        isPlaying = c.playing;
        EXPECT_EQ(0, mainWindowProc(window, taskbarCreatedMessage, 0, 0));
        ASSERT_FALSE(fake::notifyCalls.empty());
        EXPECT_EQ(static_cast<DWORD>(NIM_ADD), fake::notifyCalls[0].message);
        EXPECT_STREQ(L"song.mp3 - Velmoris Player", fake::notifyCalls[0].data.szTip);
        EXPECT_EQ(c.playingPicture ? 2u : 1u, fake::notifyCalls.size());
        EXPECT_EQ(c.playingPicture ? playingIcon : fake::notifyCalls[0].data.hIcon,
                  fake::notifyCalls.back().data.hIcon);
    }
    taskbarCreatedMessage = 0;
}

} // namespace
