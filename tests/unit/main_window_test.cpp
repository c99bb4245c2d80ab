#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <set>
#include <tuple>
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

class MainWindow : public support::WindowTest {
protected:
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
};

// Any nonzero value counts as on and toggles to 0; the file is written at once.
TEST_F(MainWindow, SettingCommandsChangeAndSaveAtOnce)
{
    const struct { unsigned int command; int* setting; const char* key; int from, to; } cases[] = {
        {IDM_REPEAT, &repeat, "REPEAT", 0, 1}, {IDM_SORT_ON_OPEN, &sortOnOpen, "SORT", 7, 0},
        {IDM_BALLOON_ON_OPEN, &balloonOnOpen, "BALLOON", 0, 1}, {IDM_SORT_BY_FULL_PATH, &sortByFullPath, "FULL_PATH", 1, 0},
        {IDM_SORT_LOADED_PLAYLIST, &sortLoadedPlaylist, "SORT_LIST", 0, 1}, {IDM_SHUFFLE, &shuffle, "SHUFFLE", 0, 1},
        {IDM_SHUFFLE, &shuffle, "SHUFFLE", 1, 0}, {IDM_MSG_HIDDEN, &messageDisplayType, "MSG_DISPLAY_TYPE", 0, 2},
        {IDM_MSG_BALLOON, &messageDisplayType, "MSG_DISPLAY_TYPE", 2, 1},
        {IDM_MSG_MESSAGE_BOX, &messageDisplayType, "MSG_DISPLAY_TYPE", 1, 0},
    };
    for (const auto& c : cases) {
        *c.setting = c.from;
        runCommand(window, c.command);
        EXPECT_EQ(c.to, *c.setting) << c.key;
        EXPECT_NE(std::string::npos, settingsText().find(c.key + ("=" + std::to_string(c.to)) + "\r\n")) << c.key;
    }
}

TEST_F(MainWindow, ExitPostsCloseAndWhatIsNotOursIsIgnored)
{
    for (unsigned int id : {999u, 1026u, 1999u})
        runCommand(window, id);
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_LBUTTONUP)) << "another icon's click";
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_RBUTTONUP)) << "another icon's click";
    runCommand(window, IDM_FIRST_TRACK); // an empty playlist: nothing to open
    for (const std::wstring& command : fake::mciCommands())
        EXPECT_EQ(std::wstring::npos, command.find(L"open")) << command;
    EXPECT_TRUE(drainMessages().empty());
    runCommand(window, IDM_EXIT);
    EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, drainMessages());
}

// A menu built before the list shrank, or another process, may name any position; a chosen track
// opens and restarts only what was playing.
TEST_F(MainWindow, SelectionOpensTheTrackOrIgnoresAPositionBeyondTheList)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    const struct { unsigned int id; int shuffleOn, wasPlaying, positionAfter; std::vector<UINT> posted; } cases[] = {
        {IDM_SELECT_FIRST + 2, 0, 1, 2, {WM_APP_PLAY}}, {IDM_SELECT_FIRST + 2, 0, 0, 2, {}},
        {IDM_SELECT_FIRST + 3, 0, 1, 1, {}}, {IDM_SELECT_FIRST + 3, 1, 1, 1, {}}, {65535, 0, 1, 1, {}},
    };
    for (const auto& c : cases) {
        fake::reset();
        shuffle = c.shuffleOn;
        isPlaying = c.wasPlaying;
        currentPosition = 1;
        runCommand(window, c.id);
        EXPECT_EQ(c.positionAfter, currentPosition) << c.id;
        EXPECT_EQ(c.posted, drainMessages()) << c.id;
        std::vector<std::wstring> commands = fake::mciCommands();
        bool opened = std::find(commands.begin(), commands.end(), L"open \"C:\\c.mp3\" alias sound") != commands.end();
        EXPECT_EQ(c.positionAfter == 2, opened) << c.id;
        EXPECT_TRUE(opened || commands.empty()) << c.id;
    }
}

// Only a successful end moves on; a failed play leaves the playing state and shows the class icon.
TEST_F(MainWindow, MciNotificationsEndOrFailTheTrack)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3"});
    addTrayIcon(window);
    const struct { WPARAM flag; int positionAfter, playingAfter; bool deviceUsed, iconChanged; } cases[] = {
        {MCI_NOTIFY_ABORTED, 0, 1, false, false}, {MCI_NOTIFY_SUPERSEDED, 0, 1, false, false},
        {MCI_NOTIFY_SUCCESSFUL, 1, 0, true, true}, {MCI_NOTIFY_FAILURE, 0, 0, false, true},
    };
    for (const auto& c : cases) {
        fake::reset();
        currentPosition = 0;
        isPlaying = 1;
        EXPECT_EQ(0, mainWindowProc(window, MM_MCINOTIFY, c.flag, 0));
        EXPECT_EQ(std::make_tuple(c.positionAfter, c.playingAfter, c.deviceUsed, c.iconChanged),
                  std::make_tuple(currentPosition, isPlaying, !fake::mciCalls.empty(), !fake::notifyCalls.empty()))
            << "flag " << c.flag;
    }
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)), fake::notifyCalls.back().data.hIcon);
}

TEST_F(MainWindow, IsPlayingAnswersFromTheDeviceMode)
{
    const struct { const wchar_t* mode; unsigned int error; LRESULT answer; } cases[] = {{L"playing", 0, 1}, {L"paused", 0, 0}, {L"stopped", 0, 0}, {L"Playing", 0, 0}, {L"playing", 263, 0}};
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
    const struct { int playing; bool playingPicture; } cases[] = {{0, false}, {1, true}};
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

// Every dialog box of this thread that the timer finds is closed, as from its caption, and counted.
std::set<HWND> dialogsSeen;
void CALLBACK closeDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), [](HWND found, LPARAM) -> BOOL {
        wchar_t name[16] = L"";
        if (IsWindowVisible(found) && GetClassNameW(found, name, 16) && lstrcmpW(name, L"#32770") == 0) {
            dialogsSeen.insert(found);
            PostMessageW(found, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }, 0);
}

// While a file, folder or playlist dialog is open, only the folder browser may open once more.
TEST_F(MainWindow, DialogCommandsAreRefusedWhileADialogIsOpen)
{
    instanceHandle = GetModuleHandleW(nullptr);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, closeDialogs);
    const struct { unsigned int id; int dialogOpen; size_t fileDialogs, dialogs; } cases[] = {
        {IDM_ABOUT, 1, 0, 0}, {IDM_OPEN_FILES, 1, 0, 0}, {IDM_OPEN_PLAYLIST, 1, 0, 0}, {IDM_EXPORT_PLAYLIST, 1, 0, 0},
        {IDM_OPEN_FOLDER, 1, 0, 1}, {IDM_ABOUT, 0, 0, 1}, {IDM_OPEN_FILES, 0, 1, 0}, {IDM_OPEN_PLAYLIST, 0, 1, 0},
        {IDM_EXPORT_PLAYLIST, 0, 1, 0},
    };
    for (const auto& c : cases) {
        fake::reset();
        dialogsSeen.clear();
        modalDialogOpen = c.dialogOpen;
        runCommand(window, c.id);
        EXPECT_EQ(c.fileDialogs, fake::fileDialogTitles.size()) << c.id << " " << c.dialogOpen;
        EXPECT_EQ(c.dialogs, dialogsSeen.size()) << c.id << " " << c.dialogOpen;
    }
    KillTimer(nullptr, timer);
}

// The box is shown, then the window closes itself and the message loop ends with exit code 0.
TEST_F(MainWindow, TrayIconThatCannotBeAddedAtStartEndsTheProgram)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VELMORIS_TEST_MAIN";
    RegisterClassW(&windowClass);
    fake::notifyResult = FALSE;
    HWND main = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, main);
    std::vector<fake::MessageBoxCall> boxes = fake::messageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"トレイアイコンの追加に失敗しました。", boxes[0].text);
    MSG message;
    for (DWORD started = GetTickCount(); IsWindow(main) && GetTickCount() - started < 5000;) {
        if (PeekMessageW(&message, main, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else
            Sleep(5);
    }
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), fake::notifyCalls.back().message) << "the icon is removed on the way out";
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    taskbarCreatedMessage = 0;
}

} // namespace
