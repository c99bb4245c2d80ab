#include "tests/unit/test_support.h"

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
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
#include "settings/settings.h"

namespace {

// Whether another start would get the turn now, rather than wait for it to time out.
bool anotherStartGetsTheTurn()
{
    std::future<bool> taken = std::async(std::launch::async, [] {
        HANDLE turn = takeStartTurn();
        const bool had = turn != nullptr;
        endStartTurn(&turn);
        return had;
    });
    return taken.wait_for(std::chrono::seconds(3)) == std::future_status::ready && taken.get();
}

using MainWindow = Unit;

// The paths that "open" commands named.
Texts openedFiles()
{
    Texts opened;
    for (const std::wstring& command : fake::mciCommands())
        if (command.compare(0, 6, L"open \"") == 0)
            opened.push_back(command.substr(6, command.find(L'"', 6) - 6));
    return opened;
}

// A setting chosen in the tray menu, while it shows, switches (anything nonzero counts as on) or takes its value, is
// written at once and checked in the next menu while on, as AutoPlay's item while registered; a WM_NULL ends the menu.
TEST_F(MainWindow, SettingsChosenInTheTrayMenuAreSavedAndShown)
{
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProc)); // as the main window
    auto checked = [](UINT id) {
        HMENU menu = buildCommandMenu();
        const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
        DestroyMenu(menu);
        return (state & MF_CHECKED) != 0;
    };
    const struct { unsigned int id; int* setting; int from, to; const char* line; } cases[] = {
        {IDM_SORT_BY_FULL_PATH, &sortByFullPath, 0, 1, "FULL_PATH=1"}, {IDM_REPEAT, &repeat, 0, 1, "REPEAT=1"},
        {IDM_SORT_BY_FULL_PATH, &sortByFullPath, 1, 0, "FULL_PATH=0"}, {IDM_REPEAT, &repeat, 1, 0, "REPEAT=0"},
        {IDM_SORT_ON_OPEN, &sortOnOpen, 7, 0, "SORT=0"}, {IDM_SORT_ON_OPEN, &sortOnOpen, 0, 1, "SORT=1"},
        {IDM_BALLOON_ON_OPEN, &balloonOnOpen, 0, 1, "BALLOON=1"}, {IDM_SHUFFLE, &shuffle, 0, 1, "SHUFFLE=1"},
        {IDM_BALLOON_ON_OPEN, &balloonOnOpen, 1, 0, "BALLOON=0"}, {IDM_SHUFFLE, &shuffle, 1, 0, "SHUFFLE=0"},
        {IDM_SORT_LOADED_PLAYLIST, &sortLoadedPlaylist, 0, 1, "SORT_LIST=1"},
        {IDM_SORT_LOADED_PLAYLIST, &sortLoadedPlaylist, 1, 0, "SORT_LIST=0"},
        {IDM_MSG_HIDDEN, &messageDisplayType, 0, 2, "MSG_DISPLAY_TYPE=2"},
        {IDM_MSG_BALLOON, &messageDisplayType, 2, 1, "MSG_DISPLAY_TYPE=1"},
        {IDM_MSG_MESSAGE_BOX, &messageDisplayType, 1, 0, "MSG_DISPLAY_TYPE=0"},
    };
    for (const auto& c : cases) {
        *c.setting = c.from;
        fake::menuChoice = c.id;
        mainWindowProc(window, WM_APP_TRAY, TRAY_ICON_ID, WM_RBUTTONUP);
        EXPECT_NE(std::string::npos, readBytes(settingsFilePath).find(c.line + std::string("\r\n"))) << c.line;
        const bool marked = c.to != 0 || c.setting == &messageDisplayType;
        EXPECT_EQ(marked, checked(c.id)) << "whether the menu checks the item of command " << c.id;
        EXPECT_EQ(std::vector<UINT>{WM_NULL}, postedTo(window)) << "what ends the menu of command " << c.id;
    }
    EXPECT_EQ(std::size(cases), fake::menuCount) << "menus shown, for a right click each";
    EXPECT_FALSE(checked(IDM_AUTOPLAY_REGISTER)) << "AutoPlay's item while not registered";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueW(HKEY_CLASSES_ROOT, L"VelmorisPlayer", REG_SZ, L"", 0));
    EXPECT_TRUE(checked(IDM_AUTOPLAY_REGISTER)) << "AutoPlay's item while registered";
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
}

// Exit closes the window. A chosen track becomes current and plays on only when one played (a menu built before the
// list shrank may name any position); 先頭へ plays the first track, if any; shuffle switched off keeps the track.
TEST_F(MainWindow, CommandsSelectGoToTheFirstTrackOrExit)
{
    runCommand(window, IDM_FIRST_TRACK);
    EXPECT_EQ(Texts{}, openedFiles()) << "a track opened from an empty list";
    setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    setShuffleOrder({1, 2, 0});
    const Texts a = {L"C:\\a.mp3"}, c = {L"C:\\c.mp3"};
    const struct { unsigned int id; int shuffleOn, wasPlaying, at; Texts opened; std::vector<UINT> posted; } cases[] = {
        {IDM_EXIT, 0, 0, 1, {}, {WM_CLOSE}}, {IDM_SELECT_FIRST + 2, 0, 1, 2, c, {WM_APP_PLAY}},
        {IDM_SELECT_FIRST + 2, 0, 0, 2, c, {}},
        {IDM_SELECT_FIRST + 3, 0, 1, 1, {}, {}}, {IDM_SELECT_FIRST + 3, 1, 1, 1, {}, {}}, {65535, 0, 1, 1, {}, {}},
        {IDM_SHUFFLE, 1, 0, 2, {}, {}}, {IDM_FIRST_TRACK, 0, 0, 0, a, {}},
    };
    for (const auto& t : cases) {
        fake::mciCalls.clear();
        shuffle = t.shuffleOn;
        isPlaying = t.wasPlaying;
        currentPosition = 1;
        runCommand(window, t.id);
        EXPECT_EQ(t.at, currentPosition) << "the current position after command " << t.id;
        EXPECT_EQ(t.opened, openedFiles()) << "opened by command " << t.id;
        EXPECT_EQ(t.posted, postedTo(window)) << "play or close requested by command " << t.id;
    }
    EXPECT_EQ(1, isPlaying) << "先頭へ did not play";
    wcscpy(programDirectory, L"C:\\P F\\");
    runCommand(window, IDM_README);
    EXPECT_EQ(Texts{L"C:\\P F\\Readme.txt"}, fake::shellOpened) << "Help > Readme.txt opens the one beside the program";
}

// Only a play that ended well moves on; a failed one ends the playing state and shows it; a stop or a later play that
// aborted the earlier one changes nothing.
TEST_F(MainWindow, EndOfPlayNotifications)
{
    setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3"});
    addTrayIcon(window);
    const Texts next = {L"modify, stopped 16 px", L"modify, stopped 16 px, tip Velmoris Player",
                        L"modify, tip b.mp3 - Velmoris Player", L"modify, playing 16 px"};
    const struct { WPARAM flag; int at, playing; Texts opened, shell; } cases[] = {
        {MCI_NOTIFY_ABORTED, 0, 1, {}, {}}, {MCI_NOTIFY_SUPERSEDED, 0, 1, {}, {}},
        {MCI_NOTIFY_SUCCESSFUL, 1, 1, {L"C:\\b.mp3"}, next}, {MCI_NOTIFY_FAILURE, 0, 0, {}, {L"modify, stopped 16 px"}},
    };
    for (const auto& c : cases) {
        fake::mciCalls.clear();
        fake::notifyCalls.clear();
        currentPosition = 0;
        isPlaying = 1;
        mainWindowProc(window, MM_MCINOTIFY, c.flag, 0);
        EXPECT_EQ(c.at, currentPosition) << "the current position after notification " << c.flag;
        EXPECT_EQ(c.playing, isPlaying) << "whether a click would pause after notification " << c.flag;
        EXPECT_EQ(c.opened, openedFiles()) << "opened after notification " << c.flag;
        EXPECT_EQ(c.shell, shellSaw()) << "the icon after notification " << c.flag;
    }
}

// A reload whose list continues the one in play keeps its track as it is, shuffled or not; any other reload opens the
// new list's first track, and the version already taken changes nothing. Either way one play request stands.
TEST_F(MainWindow, ReloadKeepsTheTrackInPlayWhenTheListOnlyGrew)
{
    const std::wstring a = L"C:\\a.mp3", b = L"C:\\b.mp3", c = L"C:\\c.mp3", any = L"the first in a new order";
    const struct { const char* what; int shuffleOn; Texts file; std::wstring current; bool opens; } cases[] = {
        {"grown", 0, {a, b, c}, b, false}, {"grown, shuffled", 1, {a, b, c}, b, false}, {"shrunk", 0, {a, b}, a, true},
        {"reordered", 0, {b, a, c}, b, true}, {"new, shuffled", 1, {c, a}, any, true},
    };
    int hours = 0;
    for (const auto& t : cases) {
        setPlaylist({a, b});
        shuffle = t.shuffleOn;
        currentPosition = t.shuffleOn ? 0 : 1;
        setShuffleOrder({1, 0});
        openTrack(window);
        startPlayback(window);
        std::wstring text;
        for (const std::wstring& path : t.file)
            text += path + L"\t0\t0\r\n";
        writeBytes(currentPlaylistFilePath, utf16(text));
        const auto version = std::filesystem::file_time_type() + std::chrono::hours(++hours);
        std::filesystem::last_write_time(currentPlaylistFilePath, version);
        for (const char* reload : {"a reload", "the same version again"}) {
            PostMessageW(window, WM_APP_PLAY, 0, 0);
            fake::mciCalls.clear();
            mainWindowProc(window, WM_APP_RELOAD_PLAYLIST, 0, 0);
            const std::wstring current = entryAtPosition(currentPosition)->path;
            const bool opens = t.opens && reload[0] == 'a';
            EXPECT_EQ(t.file, playlistPaths()) << t.what << ", " << reload;
            EXPECT_EQ(opens ? Texts{current} : Texts{}, openedFiles()) << t.what << ", " << reload;
            EXPECT_EQ(t.current == any ? current : t.current, current) << t.what << ", " << reload;
            EXPECT_EQ(t.shuffleOn ? 0 : currentPosition, currentPosition) << "the order begins with the track in play";
            EXPECT_EQ(std::vector<UINT>{WM_APP_PLAY}, postedTo(window)) << t.what << ", " << reload;
        }
    }
}

// No start waits behind a box: the turn is free whenever one shows, for a later start's list that cannot be written or
// its word that the player runs, and for the first start's refused tray icon. A start ends once its box is dismissed;
// the first one by closing its window, which removes the icon and ends the loop with exit code 0.
TEST_F(MainWindow, StartsShowTheirBoxesOnceTheirTurnHasEnded)
{
    CreateDirectoryW(currentPlaylistFilePath, nullptr); // where the first later start cannot write its list
    const std::wstring notWritten = L"エラー - Velmoris Player: プレイリストファイルの書き込みに"
                                    L"失敗しました。\n（パス：" + std::wstring(currentPlaylistFilePath)
                                    + L"）";
    const std::wstring running = L"確認 - Velmoris Player: 既に起動しています。\n但しファイル"
                                 L"（複数可）、プレイリストまたはフォルダーをドラッグアンド"
                                 L"ドロップして既存のプロセスに開かせることは出来ます。";
    const struct { const wchar_t* commandLine; std::wstring box; } cases[] = { // nullptr: the first start
        {L"player.exe C:\\a.mp3", notWritten}, {L"player.exe", running},
        {nullptr, L"エラー - Velmoris Player: トレイアイコンの追加に失敗しました。"},
    };
    HWND main = nullptr;
    for (const auto& c : cases) {
        fake::reset();
        fake::notifyResult = c.commandLine != nullptr;
        fake::boxWitness = anotherStartGetsTheTurn;
        startTurn = takeStartTurn();
        if (c.commandLine)
            EXPECT_EQ(0, handOver(window, c.commandLine)) << "the exit code of a later start";
        else
            main = createMainWindow();
        const std::vector<fake::MessageBoxCall> shown = fake::messageBoxes();
        ASSERT_EQ(1u, shown.size()) << "the start ended before its box was dismissed";
        EXPECT_EQ(c.box, shown[0].caption + L": " + shown[0].text);
        EXPECT_TRUE(shown[0].witnessed) << "another start waited behind the box";
        RemoveDirectoryW(currentPlaylistFilePath);
    }
    EXPECT_EQ(std::vector<UINT>{}, postedTo(window)) << "a later start's request to the running player";
    MSG message;
    while (PeekMessageW(&message, main, 0, 0, PM_REMOVE)) // the close that the first start asked for
        DispatchMessageW(&message);
    EXPECT_FALSE(IsWindow(main)) << "the window did not close";
    EXPECT_EQ(L"delete", shellSaw().back()) << "the icon was left behind";
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop goes on";
    EXPECT_EQ(0u, message.wParam) << "the exit code";
}

std::set<HWND> dialogsSeen;
void CALLBACK closeDialogs(HWND, UINT, UINT_PTR, DWORD) // every dialog box of this thread, counted and closed
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

// While a file or playlist dialog is open only the folder browser may open once more.
TEST_F(MainWindow, DialogCommandsAreRefusedWhileADialogIsOpen)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 50, closeDialogs);
    for (int dialogOpen : {1, 0}) {
        for (UINT id : {IDM_ABOUT, IDM_OPEN_FILES, IDM_OPEN_PLAYLIST, IDM_EXPORT_PLAYLIST, IDM_OPEN_FOLDER}) {
            fake::fileDialogCount = 0;
            dialogsSeen.clear();
            modalDialogOpen = dialogOpen;
            runCommand(window, id);
            EXPECT_EQ(dialogOpen && id != IDM_OPEN_FOLDER ? 0u : 1u, fake::fileDialogCount + dialogsSeen.size())
                << "dialogs of command " << id << (dialogOpen ? " while a dialog is open" : "");
        }
    }
    KillTimer(nullptr, timer);
}

// A key does what the click or the menu does, also while a dialog is open: play/pause asks the device, not the flag,
// and leaves a track that ended by itself alone. Each key is held without modifiers; one that another program holds
// stays with it, silently, and the others are held.
TEST_F(MainWindow, MediaKeys)
{
    auto opening = [](const wchar_t* path) {
        return Texts{L"stop all", L"close all", L"open \"C:\\" + std::wstring(path) + L".wav\" alias sound",
                     L"set sound time format ms", L"setaudio sound volume to 1000", L"play all notify"};
    };
    const struct { const wchar_t* mode; int playing; WPARAM key; Texts sent; } cases[] = {
        {L"playing", 1, VK_MEDIA_PLAY_PAUSE, {L"pause all"}}, {L"playing", 0, VK_MEDIA_PLAY_PAUSE, {L"pause all"}},
        {L"paused", 0, VK_MEDIA_PLAY_PAUSE, {L"resume all"}}, {L"stopped", 1, VK_MEDIA_PLAY_PAUSE, {}}, // ended
        {L"stopped", 0, VK_MEDIA_PLAY_PAUSE, {L"play all notify"}}, {L"playing", 1, VK_MEDIA_NEXT_TRACK, opening(L"a")},
        {L"playing", 1, VK_MEDIA_PREV_TRACK, opening(L"c")},
        {L"playing", 1, VK_MEDIA_STOP, {L"stop all", L"seek all to start"}},
    };
    setPlaylist({L"C:\\c.wav", L"C:\\b.wav", L"C:\\a.wav"});
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProc)); // as the main window
    for (int dialogOpen : {0, 1}) {
        for (const auto& c : cases) {
            currentPosition = 1;
            openTrack(window);
            fake::mci.mode = c.mode;
            isPlaying = c.playing;
            modalDialogOpen = dialogOpen;
            fake::mciCalls.clear();
            mainWindowProc(window, WM_HOTKEY, c.key, 0);
            for (MSG message; PeekMessageW(&message, window, 0, 0, PM_REMOVE);)
                DispatchMessageW(&message);
            EXPECT_EQ(c.sent, deviceCommands()) << "key " << c.key << " on " << c.mode << ", dialogs " << dialogOpen;
        }
    }
    const std::vector<UINT> keys = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK, VK_MEDIA_STOP};
    for (UINT refused : {0u, keys[0], keys[1], keys[2], keys[3]}) {
        fake::reset();
        fake::refusedHotKey = refused;
        registerMediaKeys(window);
        for (UINT key : keys) {
            auto plain = [key](const fake::HotKey& held) { return held.key == key && held.modifiers == 0; };
            const bool held = std::any_of(fake::hotKeys.begin(), fake::hotKeys.end(), plain);
            EXPECT_EQ(key != refused, held) << "key " << key << " held without modifiers, key " << refused << " taken";
        }
        EXPECT_TRUE(fake::messageBoxes().empty()) << "a key that another program holds was reported";
    }
}

} // namespace
