#include "tests/unit/test_support.h"

#include <mmsystem.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "app/commands.h"
#include "app/hand_over.h"
#include "app/main_window.h"
#include "app/media_keys.h"
#include "app/start_turn.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "playlist/start_grouping.h"
#include "settings/settings.h"

namespace {

DWORD WINAPI takeAndEndTurn(void*)
{
    HANDLE turn = takeStartTurn();
    bool had = turn != nullptr;
    endStartTurn(&turn);
    return had;
}

// Whether another start would get the turn now, rather than wait for it to time out.
bool anotherStartGetsTheTurn()
{
    HANDLE thread = CreateThread(nullptr, 0, takeAndEndTurn, nullptr, 0, nullptr);
    DWORD had = 0;
    bool ended = WaitForSingleObject(thread, 3000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &had);
    CloseHandle(thread);
    return ended && had;
}

struct MainWindow : Unit {
    void SetUp() override { Unit::SetUp(), SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProc)); }
    void TearDown() override { SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW)), Unit::TearDown(); }
    std::vector<UINT> posted() // taken off the window's queue
    {
        std::vector<UINT> messages;
        for (MSG message; PeekMessageW(&message, window, 0, 0, PM_REMOVE);)
            messages.push_back(message.message);
        return messages;
    }
};

// Any nonzero value counts as on and toggles to 0; the file is written at once. Not ours: ignored.
TEST_F(MainWindow, CommandsChangeSettingsSelectExitOrDoNothing)
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
        EXPECT_NE(std::string::npos, readBytes(settingsFilePath).find(c.key + ("=" + std::to_string(c.to)) + "\r\n")) << c.key;
    }
    for (unsigned int id : {999u, 1026u, 1999u, static_cast<unsigned int>(IDM_FIRST_TRACK)}) // the list is empty
        runCommand(window, id);
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_LBUTTONUP)) << "another icon's click";
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, 2, WM_RBUTTONUP));
    EXPECT_EQ(std::wstring::npos, Texts(fake::mciCommands()).empty() ? std::wstring::npos : fake::mciCommands().back().find(L"open"));
    EXPECT_EQ(std::vector<UINT>{}, posted());
    runCommand(window, IDM_EXIT);
    EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, posted());
    // A menu built before the list shrank may name any position; a chosen track restarts only what played.
    setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    const struct { unsigned int id; int shuffleOn, wasPlaying, positionAfter; std::vector<UINT> posted; } selections[] = {
        {IDM_SELECT_FIRST + 2, 0, 1, 2, {WM_APP_PLAY}}, {IDM_SELECT_FIRST + 2, 0, 0, 2, {}},
        {IDM_SELECT_FIRST + 3, 0, 1, 1, {}}, {IDM_SELECT_FIRST + 3, 1, 1, 1, {}}, {65535, 0, 1, 1, {}},
    };
    for (const auto& c : selections) {
        fake::mciCalls.clear();
        shuffle = c.shuffleOn, isPlaying = c.wasPlaying, currentPosition = 1;
        runCommand(window, c.id);
        EXPECT_EQ(c.positionAfter, currentPosition) << c.id;
        EXPECT_EQ(c.posted, posted()) << c.id;
        Texts sent = fake::mciCommands();
        EXPECT_EQ(c.positionAfter == 2, sent.size() > 2 && sent[2] == L"open \"C:\\c.mp3\" alias sound") << c.id;
        EXPECT_TRUE(c.positionAfter == 2 || sent.empty()) << c.id;
    }
}

// Only a successful end moves on; a failed play leaves the playing state. The device answers whether it plays.
TEST_F(MainWindow, DeviceNotificationsAndQuestions)
{
    setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3"});
    addTrayIcon(window);
    const HICON stopped = trayIconData.hIcon;
    const struct { WPARAM flag; int positionAfter, playingAfter; bool deviceUsed, iconChanged; } cases[] = {
        {MCI_NOTIFY_ABORTED, 0, 1, false, false}, {MCI_NOTIFY_SUPERSEDED, 0, 1, false, false},
        {MCI_NOTIFY_SUCCESSFUL, 1, 1, true, true}, {MCI_NOTIFY_FAILURE, 0, 0, false, true},
    };
    for (const auto& c : cases) {
        fake::mciCalls.clear(), fake::notifyCalls.clear();
        currentPosition = 0, isPlaying = 1;
        EXPECT_EQ(0, mainWindowProc(window, MM_MCINOTIFY, c.flag, 0));
        EXPECT_EQ(std::make_tuple(c.positionAfter, c.playingAfter, c.deviceUsed, c.iconChanged),
                  std::make_tuple(currentPosition, isPlaying, !fake::mciCalls.empty(), !fake::notifyCalls.empty())) << c.flag;
    }
    EXPECT_EQ(stopped, fake::notifyCalls.back().data.hIcon);
    const struct { const wchar_t* mode; unsigned int error; LRESULT answer; } modes[] = {
        {L"playing", 0, 1}, {L"paused", 0, 0}, {L"stopped", 0, 0}, {L"Playing", 0, 0}, {L"playing", 263, 0}};
    for (const auto& c : modes) {
        fake::mci.open = true, fake::mci.mode = c.mode, fake::mci.errors.clear();
        if (c.error)
            fake::mci.errors[L"status"] = c.error;
        fake::mciCalls.clear();
        EXPECT_EQ(c.answer, mainWindowProc(window, WM_APP_IS_PLAYING, 0, 0)) << c.mode << c.error;
        EXPECT_EQ(Texts{L"status sound mode"}, fake::mciCommands());
    }
    // A restarted taskbar gets the icon back as it was.
    taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    setPlaylist({L"C:\\Music\\song.mp3"});
    for (int playing : {0, 1}) {
        fake::notifyCalls.clear();
        isPlaying = playing;
        EXPECT_EQ(0, mainWindowProc(window, taskbarCreatedMessage, 0, 0));
        ASSERT_EQ(playing ? 2u : 1u, fake::notifyCalls.size());
        EXPECT_EQ(static_cast<DWORD>(NIM_ADD), fake::notifyCalls[0].message);
        EXPECT_STREQ(L"song.mp3 - Velmoris Player", fake::notifyCalls[0].data.szTip);
        EXPECT_EQ(playing, fake::notifyCalls.back().data.hIcon != fake::notifyCalls[0].data.hIcon);
    }
    taskbarCreatedMessage = 0;
}

// The chosen item's command runs before the menu is gone; the WM_NULL that ends the menu mode stays queued.
TEST_F(MainWindow, TrayMenuRunsTheChosenCommandThenLeavesWmNull)
{
    fake::menuChoice = IDM_REPEAT;
    EXPECT_EQ(0, mainWindowProc(window, WM_APP_TRAY, TRAY_ICON_ID, WM_RBUTTONUP));
    EXPECT_EQ(1u, fake::menuCount);
    EXPECT_EQ(1, repeat) << "the chosen command did not run while its menu was shown";
    EXPECT_EQ(std::vector<UINT>{WM_NULL}, posted());
}

// A reload whose list continues the one in play keeps its track as it is, shuffled or not; any other
// reload opens the new list's first track, and the version already taken changes nothing. Either way
// one play request stands, the earlier one dropped.
TEST_F(MainWindow, ReloadKeepsTheTrackInPlayWhenTheListOnlyGrew)
{
    const std::wstring a = L"C:\\a.mp3", b = L"C:\\b.mp3", c = L"C:\\c.mp3";
    const struct { int shuffleOn; Texts file; std::wstring opened, current; } cases[] = {
        {0, {a, b, c}, L"", b}, {1, {a, b, c}, L"", b}, {0, {a, b}, a, a}, {0, {b, a, c}, b, b}, {1, {c, a}, L"?", L"?"},
    };
    int hours = 0;
    for (const auto& t : cases) {
        setPlaylist({a, b});
        shuffle = t.shuffleOn, currentPosition = t.shuffleOn ? 0 : 1;
        setShuffleOrder({1, 0});
        openTrack(window);
        startPlayback(window);
        std::wstring text;
        for (const std::wstring& path : t.file)
            text += path + L"\t0\t0\r\n";
        writeBytes(currentPlaylistFilePath, utf16(text));
        std::filesystem::last_write_time(currentPlaylistFilePath, std::filesystem::file_time_type() +
                                                                      std::chrono::hours(++hours));
        for (int again : {0, 1}) {
            PostMessageW(window, WM_APP_PLAY, 0, 0);
            fake::mciCalls.clear();
            EXPECT_EQ(0, mainWindowProc(window, WM_APP_RELOAD_PLAYLIST, 0, 0));
            EXPECT_EQ(t.file, playlistPaths());
            std::wstring opened;
            for (const std::wstring& command : fake::mciCommands())
                opened += command.compare(0, 6, L"open \"") == 0 ? command.substr(6, command.size() - 19) : L"";
            const std::wstring current = entryAtPosition(currentPosition)->path;
            EXPECT_EQ(t.opened == L"?" && !again ? current : again ? L"" : t.opened, opened) << hours << again;
            EXPECT_EQ(t.current == L"?" ? current : t.current, current) << hours << again;
            EXPECT_EQ(t.shuffleOn ? 0 : currentPosition, currentPosition);
            EXPECT_EQ(std::vector<UINT>{WM_APP_PLAY}, posted());
        }
    }
}

// No start waits behind a box: the turn is free whenever one shows, for the first start's refused tray
// icon (below) and a later start's list that cannot be written alike; a later start ends once its box is
// dismissed.
TEST_F(MainWindow, LaterStartShowsItsBoxesOnceItsTurnHasEnded)
{
    fake::boxWitness = anotherStartGetsTheTurn;
    CreateDirectoryW(currentPlaylistFilePath, nullptr);
    const struct { const wchar_t* commandLine; std::wstring box; } cases[] = {
        {L"player.exe C:\\a.mp3", L"エラー - Velmoris Player: プレイリストファイルの書き込みに失敗しました。\n（パス："
                                       + std::wstring(currentPlaylistFilePath) + L"）"},
        {L"player.exe", L"確認 - Velmoris Player: 既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダー"
                        L"をドラッグアンドドロップして既存のプロセスに開かせることは出来ます。"},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::boxWitness = anotherStartGetsTheTurn;
        startTurn = takeStartTurn();
        EXPECT_EQ(0, handOver(window, c.commandLine));
        EXPECT_EQ(nullptr, startTurn);
        const std::vector<fake::MessageBoxCall> shown = fake::messageBoxes();
        ASSERT_EQ(1u, shown.size()) << "the start ended before its box was dismissed";
        EXPECT_EQ(c.box, shown[0].caption + L": " + shown[0].text);
        EXPECT_TRUE(shown[0].witnessed) << "another start waited behind the box";
    }
    EXPECT_EQ(std::vector<UINT>{}, posted());
    startMarker = nullptr;
}

std::set<HWND> dialogsSeen;
void CALLBACK closeDialogs(HWND, UINT, UINT_PTR, DWORD) // every dialog box of this thread, counted and closed
{
    EnumThreadWindows(GetCurrentThreadId(), [](HWND found, LPARAM) -> BOOL {
        wchar_t name[16] = L"";
        if (IsWindowVisible(found) && GetClassNameW(found, name, 16) && lstrcmpW(name, L"#32770") == 0)
            dialogsSeen.insert(found), PostMessageW(found, WM_CLOSE, 0, 0);
        return TRUE;
    }, 0);
}

// While a file or playlist dialog is open only the folder browser may open once more.
TEST_F(MainWindow, DialogCommandsAreRefusedWhileADialogIsOpen)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 50, closeDialogs);
    const struct { unsigned int id; int dialogOpen; size_t fileDialogs, dialogs; } cases[] = {
        {IDM_ABOUT, 1, 0, 0}, {IDM_OPEN_FILES, 1, 0, 0}, {IDM_OPEN_PLAYLIST, 1, 0, 0}, {IDM_EXPORT_PLAYLIST, 1, 0, 0},
        {IDM_OPEN_FOLDER, 1, 0, 1}, {IDM_ABOUT, 0, 0, 1}, {IDM_OPEN_FILES, 0, 1, 0}, {IDM_OPEN_PLAYLIST, 0, 1, 0},
        {IDM_EXPORT_PLAYLIST, 0, 1, 0},
    };
    for (const auto& c : cases) {
        fake::fileDialogCount = 0, dialogsSeen.clear(), modalDialogOpen = c.dialogOpen;
        runCommand(window, c.id);
        EXPECT_EQ(std::make_pair(c.fileDialogs, c.dialogs), std::make_pair(fake::fileDialogCount, dialogsSeen.size())) << c.id << c.dialogOpen;
    }
    KillTimer(nullptr, timer);
}

// The box, then the window closes itself, removes the icon and the loop ends with exit code 0.
TEST_F(MainWindow, TrayIconThatCannotBeAddedAtStartEndsTheProgram)
{
    WNDCLASSW windowClass = {0, mainWindowProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"VELMORIS_MAIN"};
    RegisterClassW(&windowClass);
    fake::notifyResult = FALSE, fake::boxWitness = anotherStartGetsTheTurn;
    startTurn = takeStartTurn();
    HWND main = CreateWindowExW(0, L"VELMORIS_MAIN", L"", 0, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(Texts{L"エラー - Velmoris Player: トレイアイコンの追加に失敗しました。"}, boxes(1));
    EXPECT_TRUE(fake::messageBoxes()[0].witnessed) << "the next start waited behind the box";
    MSG message;
    for (DWORD started = GetTickCount(); IsWindow(main) && GetTickCount() - started < 5000;)
        PeekMessageW(&message, main, 0, 0, PM_REMOVE) ? static_cast<void>(DispatchMessageW(&message)) : Sleep(5);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), fake::notifyCalls.back().message);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    taskbarCreatedMessage = 0, startMarker = nullptr;
}

// A key does what the click or the menu does, even while a dialog is open; a refused key is silent
// and the others are held until the window goes.
TEST_F(MainWindow, MediaKeys)
{
    const Texts open = {L"stop all", L"close all", L"open \"C:\\X.wav\" alias sound", L"set sound time format ms",
                        L"setaudio sound volume to 1000", L"status sound mode", L"play all notify", L"status sound mode"};
    auto opening = [&](const wchar_t* name) { Texts sent = open; sent[2].replace(9, 1, name); return sent; };
    const struct { const char* state; WPARAM key; Texts sent; } cases[] = {
        {"playing", VK_MEDIA_PLAY_PAUSE, {L"status sound mode", L"capability sound device type", L"pause all", L"status sound mode"}},
        {"paused", VK_MEDIA_PLAY_PAUSE, {L"status sound mode", L"status sound mode", L"resume all", L"status sound mode"}},
        {"stopped", VK_MEDIA_PLAY_PAUSE, {L"status sound mode", L"status sound mode", L"play all notify", L"status sound mode"}},
        {"playing", VK_MEDIA_NEXT_TRACK, opening(L"a")}, {"playing", VK_MEDIA_PREV_TRACK, opening(L"c")},
        {"playing", VK_MEDIA_STOP, {L"stop all", L"status sound mode", L"seek all to start"}},
    };
    for (int dialogOpen : {0, 1})
        for (const auto& c : cases) {
            setPlaylist({L"C:\\c.wav", L"C:\\b.wav", L"C:\\a.wav"});
            currentPosition = 1, modalDialogOpen = 0;
            openTrack(window);
            if (std::string(c.state) != "stopped")
                startPlayback(window);
            if (std::string(c.state) == "paused")
                pausePlayback();
            modalDialogOpen = dialogOpen;
            fake::mciCalls.clear();
            EXPECT_EQ(0, mainWindowProc(window, WM_HOTKEY, c.key, 0));
            for (MSG message; PeekMessageW(&message, window, 0, 0, PM_REMOVE);)
                DispatchMessageW(&message);
            EXPECT_EQ(c.sent, fake::mciCommands()) << c.state << " key " << c.key << " dialog " << dialogOpen;
        }
    const UINT keys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK, VK_MEDIA_STOP};
    for (UINT refused : {0u, keys[0], keys[1], keys[2], keys[3]}) {
        fake::reset();
        fake::refusedHotKey = refused;
        registerMediaKeys(window);
        std::vector<UINT> held, expected;
        for (const fake::HotKey& key : fake::hotKeys) {
            held.push_back(key.key);
            EXPECT_EQ(std::make_tuple(window, 0u, static_cast<int>(key.key)), std::make_tuple(key.window, key.modifiers, key.id));
        }
        for (UINT key : keys)
            if (key != refused)
                expected.push_back(key);
        EXPECT_EQ(expected, held) << refused;
        EXPECT_TRUE(fake::messageBoxes().empty() && fake::notifyCalls.empty()) << refused;
        mainWindowProc(window, WM_DESTROY, 0, 0);
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_TRUE(fake::hotKeys.empty()) << refused;
    }
}

} // namespace
