#include "tests/unit/test_support.h"

#include <tlhelp32.h>

#include <algorithm>
#include <set>

#include "app/commands.h"
#include "app/tray_hook.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "base/report.h"
#include "playback/mci_device.h"
#include "settings/settings.h"
#include "ui/seek_window.h"
#include "ui/tray_menu.h"

namespace {

using Tray = Unit;

// The picture follows playback at the small-icon size of the DPI (16 px at the tests' 96 DPI, 24 px at 144), the tip
// names the track, a balloon announces it when the user asked for one, and a report's balloon shows the failure.
TEST_F(Tray, IconPictureTipAndBalloons)
{
    ASSERT_TRUE(addTrayIcon(window));
    for (TrayPicture state : {TRAY_PLAYING, TRAY_PAUSED, TRAY_STOPPED, TRAY_PLAYING})
        setTrayIcon(state);
    updateTrayIconDpi(144);
    setPlaylist({L"C:\\Music\\song.mp3"});
    resetTrayIcon(window);
    announceTrack(); // no balloon unless asked for
    messageDisplayType = MESSAGE_BALLOON;
    reportMessage(nullptr, L"失敗", L"エラー");
    reportMessage(nullptr, std::wstring(600, L't').c_str(), std::wstring(100, L'c').c_str());
    balloonOnOpen = 1;
    messageDisplayType = MESSAGE_HIDDEN; // hides reports only
    announceTrack();
    const Texts seen = {
        L"add, stopped 16 px, tip Velmoris Player", L"modify, playing 16 px", L"modify, stopped 16 px",
        L"modify, stopped 16 px", L"modify, playing 16 px", L"modify, playing 24 px",
        L"modify, stopped 24 px, tip Velmoris Player", L"modify, tip song.mp3 - Velmoris Player",
        L"modify, error balloon エラー: 失敗",
        L"modify, error balloon " + std::wstring(62, L'c') + L"\u2026: " + std::wstring(254, L't') + L"\u2026",
        L"modify, tip song.mp3 - Velmoris Player, balloon Velmoris Player: song.mp3",
    };
    EXPECT_EQ(seen, shellSaw());
    const std::wstring name(300, L'x');
    const struct { std::wstring path, tip; } tips[] = {
        {L"D:tune.wav", L"tune.wav - Velmoris Player"}, {L"\\\\host\\share\\dir.x\\name", L"name - Velmoris Player"},
        {L"C:\\" + name + L".mp3", name.substr(0, 126) + L"\u2026"}, {L"", L"Velmoris Player"},
    };
    for (const auto& c : tips) {
        setPlaylist(c.path.empty() ? Texts{} : Texts{c.path});
        wchar_t tip[128];
        updateTrayTip(tip);
        EXPECT_EQ(c.tip, tip) << "the tip of " << c.path;
    }
}

// A report shows as the user chose: an error box on a thread of its own, so that the player goes on meanwhile; a
// balloon where there is an icon to show it at (else a box); or nothing. A question shows its own box on the caller's
// thread, to wait for the answer, whatever the form, unless the user hid messages.
TEST_F(Tray, ReportsAndQuestionsTakeTheFormTheUserChose)
{
    const Texts box = {L"エラー - Velmoris Player: 本文"}, question = {L"確認 - Velmoris Player: 本文"}, none;
    const Texts balloon = {L"modify, error balloon エラー: 本文"};
    const struct { int type; bool icon, asks; Texts boxes, balloons; } cases[] = {
        {MESSAGE_BOX, false, false, box, none}, {MESSAGE_BOX, true, false, box, none},
        {MESSAGE_BALLOON, false, false, box, none}, {MESSAGE_BALLOON, true, false, none, balloon},
        {MESSAGE_HIDDEN, false, false, none, none}, {MESSAGE_HIDDEN, true, false, none, none},
        {MESSAGE_BOX, true, true, question, none}, {MESSAGE_BALLOON, true, true, question, none},
        {MESSAGE_HIDDEN, true, true, none, none},
    };
    for (const auto& c : cases) {
        resetPlayerState();
        if (c.icon)
            addTrayIcon(window);
        fake::notifyCalls.clear();
        messageDisplayType = c.type;
        if (c.asks)
            showMessage(window, L"本文", L"確認", MB_OK | MB_ICONINFORMATION);
        else
            reportMessage(window, L"本文", L"エラー");
        const std::string what = (c.asks ? "a question" : "a report") + std::string(c.icon ? ", an icon" : "");
        EXPECT_EQ(c.boxes, boxes(c.boxes.size())) << "display type " << c.type << ", " << what;
        EXPECT_EQ(c.balloons, shellSaw()) << "display type " << c.type << ", " << what;
        const UINT style = MB_OK | (c.asks ? MB_ICONINFORMATION : MB_ICONERROR);
        for (const fake::MessageBoxCall& shown : fake::messageBoxes()) {
            EXPECT_EQ(style, shown.style) << "OK, and the icon of a question or an error";
            EXPECT_EQ(c.asks, shown.threadId == GetCurrentThreadId()) << "whether the box held up the player";
        }
    }
}

// Each notch of the wheel turns the volume by 50 within 0..1000. The wheel is taken over the icon's rectangle: the
// shell's, or a square of the small-icon size around where the cursor was last seen over the icon.
TEST_F(Tray, WheelNotchesAndTheIconsRectangle)
{
    const int turn[][3] = {{1000, -2, 900}, {1000, 1, 1000}, {975, 1, 1000}, {30, -1, 0}, {500, 0, 500}, {0, 21, 1000}};
    for (const auto& [from, notches, to] : turn)
        EXPECT_EQ(to, volumeAfterWheel(from, notches)) << from << " turned by " << notches << " notches";
    const struct { HRESULT answer; int size; RECT expected; } rects[] = {
        {S_OK, 16, {1000, 680, 1024, 700}}, {E_NOTIMPL, 16, {1005, 682, 1021, 698}},
        {E_FAIL, 24, {1001, 678, 1025, 702}},
    };
    fake::iconRect = {1000, 680, 1024, 700};
    for (const auto& c : rects) {
        fake::iconRectResult = c.answer;
        RECT rect = trayIconRect(window, {1013, 690}, c.size);
        EXPECT_TRUE(EqualRect(&c.expected, &rect)) << "left " << rect.left << ", top " << rect.top << ", right "
                                                    << rect.right << ", bottom " << rect.bottom;
    }
    // A smooth wheel's half notches through the hook, each taken by the player before the next: two make one.
    fake::iconRectResult = S_OK;
    fake::iconRect = {-32768, -32768, 32767, 32767}; // wherever the cursor is
    messageDisplayType = MESSAGE_HIDDEN;
    HWND main = createMainWindow();
    watchTrayIcon(main);
    INPUT half = {INPUT_MOUSE, {}};
    half.mi.dwFlags = MOUSEEVENTF_WHEEL;
    half.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA / 2);
    for (int halves = 0; halves < 2; ++halves) {
        SendInput(1, &half, sizeof(half));
        MSG message = {};
        for (DWORD start = GetTickCount(); message.message != WM_APP_TRAY && GetTickCount() - start < 5000;)
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            else
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_EQ(950, volume) << "two half notches down from 1000";
    stopWatchingTrayIcon(main);
    DestroyWindow(main);
}

std::set<DWORD> threadsOfThisProcess()
{
    std::set<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof(thread);
    for (BOOL found = Thread32First(snapshot, &thread); found; found = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == GetCurrentProcessId())
            threads.insert(thread.th32ThreadID);
    CloseHandle(snapshot);
    return threads;
}

// The main window's icon comes back as it was on a new taskbar, which the shell announces by the registered message
// "TaskbarCreated". Its mouse messages at the given ticks, a track playing: a click pauses once the double-click time
// is over; a double click opens the seek window and nothing else; the tick counter's wrap changes nothing.
TEST_F(Tray, MainWindowsIconOnANewTaskbarAndUnderClicks)
{
    const DWORD wait = GetDoubleClickTime();
    const DWORD wrap = 0xFFFFFFF0;
    struct Mouse { DWORD tick; UINT message; };
    const struct { const char* what; std::vector<Mouse> messages; Texts requests; bool seekWindow; } cases[] = {
        {"a click", {{1000000, WM_LBUTTONUP}}, {L"pause"}, false},
        {"a double click", {{2000000, WM_LBUTTONUP}, {2000100, WM_LBUTTONDBLCLK}, {2000150, WM_LBUTTONUP}}, {}, true},
        {"two button-ups one double-click time apart", {{4000000, WM_LBUTTONUP}, {4000000 + wait, WM_LBUTTONUP}},
         {L"pause"}, false},
        {"two clicks across the wrap", {{wrap, WM_LBUTTONUP}, {wrap + 2 * wait, WM_LBUTTONUP}}, {L"pause", L"pause"},
         false},
    };
    messageDisplayType = MESSAGE_HIDDEN;
    HWND main = createMainWindow();
    setPlaylist({L"C:\\Music\\song.mp3"});
    announceTrack();
    for (int playing : {0, 1}) {
        isPlaying = playing;
        fake::notifyCalls.clear();
        SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        Texts seen = {L"add, stopped 16 px, tip song.mp3 - Velmoris Player"};
        if (playing)
            seen.push_back(L"modify, playing 16 px");
        EXPECT_EQ(seen, shellSaw()) << "the icon on a new taskbar, " << (playing ? "playing" : "stopped");
    }
    Texts requests;
    DWORD firstRequest = 0;
    auto pump = [&] { // takes the play and pause requests off the queue, in words
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (message.message != WM_APP_PAUSE && message.message != WM_APP_PLAY)
                DispatchMessageW(&message);
            else if (message.hwnd == main)
                requests.push_back(message.message == WM_APP_PAUSE ? L"pause" : L"play");
            if (!firstRequest && !requests.empty())
                firstRequest = GetTickCount();
        }
    };
    pump();
    for (const auto& c : cases) {
        fake::mci.open = true;
        fake::mci.mode = L"playing";
        isPlaying = 1;
        requests.clear();
        firstRequest = 0;
        const std::set<DWORD> before = threadsOfThisProcess();
        const DWORD clicked = GetTickCount();
        for (const Mouse& mouse : c.messages) {
            fake::tickCount = mouse.tick;
            SendMessageW(main, WM_APP_TRAY, TRAY_ICON_ID, mouse.message);
        }
        HWND seekWindow = FindWindowW(seekWindowClassName, nullptr);
        EXPECT_EQ(c.seekWindow, seekWindow != nullptr) << "whether " << c.what << " opened the seek window";
        DestroyWindow(seekWindow);
        for (DWORD start = GetTickCount(); GetTickCount() - start < wait + 5000;) { // until the clicks' threads end
            const std::set<DWORD> now = threadsOfThisProcess();
            pump();
            if (std::includes(before.begin(), before.end(), now.begin(), now.end()))
                break;
        }
        EXPECT_EQ(c.requests, requests) << "what " << c.what << " asked of the playing track";
        EXPECT_TRUE(requests.empty() || firstRequest - clicked + 16 >= wait) << c.what << " acted at once";
    }
    DestroyWindow(main);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// "label #id" with " checked", " radio", " grayed"; of more than whole items: count, first two, marked one, last two.
Texts lines(HMENU menu, size_t whole = 6)
{
    Texts all;
    std::wstring marked = L"no mark";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[1100] = L"";
        GetMenuStringW(menu, i, text, 1100, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        std::wstring line = text + (L" #" + std::to_wstring(GetMenuItemID(menu, i)));
        if (state & MF_CHECKED)
            line += state & MFT_RADIOCHECK ? L" radio" : L" checked";
        if (state & MF_GRAYED)
            line += L" grayed";
        all.push_back(line);
        marked = state & MF_CHECKED ? line : marked;
    }
    DestroyMenu(menu);
    if (all.size() <= whole)
        return all;
    return {std::to_wstring(all.size()), all[0], all[1], marked, all[all.size() - 2], all.back()};
}

// Play, Pause and Stop show as the device allows.
TEST_F(Tray, MenuOffersWhatTheDeviceAllows)
{
    const std::wstring play = L"再生(&P) #1008", pause = L"一時停止(&P) #1009", stop = L"停止(&S) #1010";
    const struct { int playing; const wchar_t *type, *mode; Texts items; } cases[] = { // type nullptr: nothing open
        {1, L"sequencer", L"playing", {pause + L" grayed", stop}}, {1, L"waveaudio", L"playing", {pause, stop}},
        {0, L"waveaudio", L"paused", {play, stop}}, {0, L"waveaudio", L"stopped", {play}},
        {0, L"waveaudio", L"seeking", {play}}, {0, nullptr, L"", {play, stop}}, {1, nullptr, L"", {pause, stop}},
    };
    for (const auto& c : cases) {
        fake::mci.open = c.type != nullptr;
        fake::mci.type = c.type ? c.type : L"";
        fake::mci.mode = c.mode;
        isPlaying = c.playing;
        Texts items = c.items;
        items.push_back(L"前へ(&M) #1011");
        const Texts top = lines(buildCommandMenu(), 99);
        EXPECT_EQ(items, Texts(top.begin() + 2, top.begin() + 2 + items.size())) << "a device " << c.mode;
    }
}

// The file names in play order, the current one marked: a thousand around it, ellipses for the rest, ids up to 65535.
// Lists of count tracks "C:\\m\\<index>.mp3" play backwards when shuffled.
TEST_F(Tray, SelectionListsAWindowOfTheOrderInForce)
{
    const Texts abc = {L"C:\\Music\\a.mp3", L"C:\\Music\\b.wav", L"D:\\Other\\c"};
    const std::wstring name(300, L'n'), extension = L"." + std::wstring(299, L'e'), fits(256, L'k');
    const Texts sundry = {L"C:\\One\\same.mp3", L"\\\\host\\share\\Two\\same.mp3", L"E:song.v1.ogg", L"C:\\dir.x\\name",
                          L"Z:/music/R&B.mp3"};
    const std::wstring dots = L"\u2026 #0 grayed";
    const struct { Texts paths; int count, shuffle; std::vector<int> order; int at; Texts items; } cases[] = {
        {{}, 0, 0, {}, 0, {}},
        {abc, 0, 0, {}, 1, {L"a.mp3 #2000", L"b.wav #2001 radio", L"c #2002"}},
        {abc, 0, 1, {2, 0, 1}, 0, {L"c #2000 radio", L"a.mp3 #2001", L"b.wav #2002"}},
        {abc, 0, 1, {}, 0, {L"a.mp3 #2000 radio", L"a.mp3 #2001", L"a.mp3 #2002"}}, // no order built yet
        {sundry, 0, 0, {}, 4,
         {L"same.mp3 #2000", L"same.mp3 #2001", L"song.v1.ogg #2002", L"name #2003", L"R&B.mp3 #2004 radio"}},
        {{L"C:\\x\\" + name + extension, L"C:\\x\\" + fits + L".mp3"}, 0, 0, {}, 0,
         {name.substr(45) + L"\u2026." + extension.substr(46) + L"\u2026 #2000 radio", fits + L".mp3 #2001"}},
        {{}, 1000, 0, {}, 999, {L"1000", L"0.mp3 #2000", L"1.mp3 #2001", L"999.mp3 #2999 radio", L"998.mp3 #2998",
                                L"999.mp3 #2999 radio"}},
        {{}, 64000, 0, {}, 0, {L"1001", L"0.mp3 #2000 radio", L"1.mp3 #2001", L"0.mp3 #2000 radio", L"999.mp3 #2999",
                               dots}},
        {{}, 64000, 0, {}, 30000, {L"1002", dots, L"29500.mp3 #31500", L"30000.mp3 #32000 radio", L"30499.mp3 #32499",
                                   dots}},
        {{}, 64000, 1, {}, 30000, {L"1002", dots, L"34499.mp3 #31500", L"33999.mp3 #32000 radio", L"33500.mp3 #32499",
                                   dots}},
        {{}, 64000, 0, {}, 63535, {L"1002", dots, L"62536.mp3 #64536", L"63535.mp3 #65535 radio",
                                   L"63535.mp3 #65535 radio", dots}},
        {{}, 64000, 0, {}, 63999, {L"1002", dots, L"62536.mp3 #64536", L"no mark", L"63535.mp3 #65535", dots}},
        {{}, 63536, 0, {}, 63535, {L"1001", dots, L"62536.mp3 #64536", L"63535.mp3 #65535 radio", L"63534.mp3 #65534",
                                   L"63535.mp3 #65535 radio"}},
    };
    for (const auto& c : cases) {
        resetPlayerState();
        Texts paths = c.paths;
        std::vector<int> order = c.order;
        for (int i = 0; i < c.count; ++i)
            paths.push_back(L"C:\\m\\" + std::to_wstring(i) + L".mp3");
        for (int i = c.count - 1; c.shuffle && i >= 0; --i)
            order.push_back(i);
        setPlaylist(paths);
        if (!order.empty())
            setShuffleOrder(order);
        shuffle = c.shuffle;
        currentPosition = c.at;
        EXPECT_EQ(c.items, lines(buildSelectSubmenu())) << paths.size() << " tracks, at " << c.at;
    }
}

} // namespace
