#include "tests/unit/test_support.h"

#include <atomic>

#include "base/report.h"
#include "app/commands.h"
#include "app/tray_clicks.h"
#include "app/tray_hook.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/tray_menu.h"

namespace {

using Tray = Unit;

TEST_F(Tray, IconTipAndBalloons)
{
    const NOTIFYICONDATAW& last = trayIconData;
    auto sent = [] { const NOTIFYICONDATAW& d = fake::notifyCalls.back().data; return std::make_tuple(fake::notifyCalls.back().message, d.uFlags, d.hIcon, std::wstring(d.szTip)); };
    // An icon's width and colour bits; with an id, those of that group loaded at size px.
    auto picture = [](HICON icon, int id = 0, int size = 0) {
        HICON loaded = id ? static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                          size, size, 0)) : icon;
        ICONINFO info = {};
        BITMAP bitmap = {};
        GetIconInfo(loaded, &info), GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        std::string bits(bitmap.bmWidthBytes * bitmap.bmHeight, '\0');
        GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data());
        DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
        if (id)
            DestroyIcon(loaded);
        return std::make_pair(bitmap.bmWidth, bits);
    };
    balloonOnOpen = 1;
    announceTrack();
    EXPECT_TRUE(fake::notifyCalls.empty()) << "nothing to announce before the icon exists";
    ASSERT_TRUE(addTrayIcon(window));
    const HICON stopped = last.hIcon;
    HICON playing = nullptr; // one handle for every switch: a switch loads nothing
    EXPECT_EQ(std::make_tuple(DWORD{NIM_ADD}, UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP}, stopped,
                              std::wstring(L"Velmoris Player")), sent());
    EXPECT_EQ(std::make_tuple(window, 1u, 0x8000u), std::make_tuple(last.hWnd, last.uID, last.uCallbackMessage));
    for (TrayPicture state : {TRAY_PLAYING, TRAY_PAUSED, TRAY_STOPPED, TRAY_PLAYING}) {
        setTrayIcon(state);
        playing = playing ? playing : state == TRAY_PLAYING ? last.hIcon : nullptr;
        EXPECT_EQ(std::make_tuple(DWORD{NIM_MODIFY}, UINT{NIF_ICON}, state == TRAY_PLAYING ? playing : stopped),
                  std::make_tuple(std::get<0>(sent()), std::get<1>(sent()), std::get<2>(sent())));
    }
    // At the small-icon size of the DPI: 16 px at the tests' 96 DPI, 24 px at 144.
    EXPECT_EQ(picture(nullptr, IDI_PLAYER, 16), picture(stopped));
    EXPECT_EQ(picture(nullptr, IDI_PLAYING, 16), picture(playing));
    setPlaylist({L"C:\\Music\\song.mp3"});
    resetTrayIcon(window);
    EXPECT_EQ(std::make_tuple(DWORD{NIM_MODIFY}, UINT{NIF_ICON | NIF_TIP}, stopped, std::wstring(L"Velmoris Player")),
              sent());
    balloonOnOpen = 0;
    announceTrack();
    EXPECT_EQ(std::make_tuple(DWORD{NIM_MODIFY}, UINT{NIF_TIP}, stopped, std::wstring(L"song.mp3 - Velmoris Player")),
              sent());
    updateTrayIconDpi(144);
    EXPECT_EQ(std::make_pair(DWORD{NIM_MODIFY}, UINT{NIF_ICON}),
              std::make_pair(std::get<0>(sent()), std::get<1>(sent())));
    EXPECT_EQ(picture(nullptr, IDI_PLAYER, 24), picture(last.hIcon));
    messageDisplayType = 1;
    reportMessage(nullptr, L"失敗", L"エラー");
    auto balloon = [&] { return std::make_tuple(last.uFlags, last.dwInfoFlags, std::wstring(last.szInfoTitle), std::wstring(last.szInfo)); };
    EXPECT_EQ(std::make_tuple(UINT{NIF_INFO}, DWORD{NIIF_ERROR}, std::wstring(L"エラー"), std::wstring(L"失敗")), balloon());
    reportMessage(nullptr, std::wstring(600, L't').c_str(), std::wstring(100, L'c').c_str());
    EXPECT_EQ(std::make_pair(size_t{255}, size_t{63}), std::make_pair(wcslen(last.szInfo), wcslen(last.szInfoTitle)));
    balloonOnOpen = 1, messageDisplayType = 2; // hidden messages hide only reports
    announceTrack();
    EXPECT_EQ(std::make_tuple(UINT{NIF_INFO | NIF_TIP}, DWORD{NIIF_NONE}, std::wstring(L"Velmoris Player"), std::wstring(L"song.mp3")), balloon());
    const std::wstring name(300, L'x');
    const std::pair<std::wstring, std::wstring> tips[] = {
        {L"D:tune.wav", L"tune.wav - Velmoris Player"}, {L"\\\\host\\share\\dir.x\\name", L"name - Velmoris Player"},
        {L"C:\\" + name + L".mp3", name.substr(0, 126) + L"\u2026"}, {L"", L"Velmoris Player"},
    };
    for (const auto& c : tips) {
        setPlaylist(c.first.empty() ? Texts{} : Texts{c.first});
        wchar_t tip[129];
        tip[128] = L'#';
        updateTrayTip(tip);
        EXPECT_EQ(c.second, tip);
        EXPECT_EQ(L'#', tip[128]) << "written past the 128-unit field";
    }
}

TEST_F(Tray, ReportsTakeTheFormTheUserChose)
{
    const struct { int type; bool icon; size_t boxes, balloons; } cases[] = {
        {0, false, 1, 0}, {0, true, 1, 0}, {1, false, 1, 0}, {1, true, 0, 1}, {2, false, 0, 0}, {2, true, 0, 0},
    };
    for (const auto& c : cases) {
        resetPlayerState();
        if (c.icon)
            addTrayIcon(window);
        size_t before = fake::notifyCalls.size();
        messageDisplayType = c.type;
        reportMessage(window, L"本文", L"エラー");
        ASSERT_EQ(c.boxes ? Texts{L"エラー - Velmoris Player: 本文"} : Texts{}, boxes(c.boxes)) << c.type;
        EXPECT_EQ(before + c.balloons, fake::notifyCalls.size()) << c.type;
        if (c.boxes) {
            fake::MessageBoxCall box = fake::messageBoxes()[0];
            EXPECT_EQ(window, box.owner);
            EXPECT_EQ(UINT{MB_OK | MB_ICONERROR}, box.style);
            EXPECT_NE(GetCurrentThreadId(), box.threadId) << "the report's box held up the player";
        }
    }
    for (int type : {0, 1, 2}) {
        fake::reset();
        messageDisplayType = type;
        showMessage(window, L"本文", L"確認", MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(type == 2 ? 0u : 1u, fake::messageBoxes().size()) << type;
        for (const fake::MessageBoxCall& box : fake::messageBoxes())
            EXPECT_EQ(std::make_tuple(window, UINT{MB_OK | MB_ICONINFORMATION}, GetCurrentThreadId()), std::make_tuple(box.owner, box.style, box.threadId));
    }
}

// Each notch of the wheel turns the volume by 50 within 0..1000. The icon's rectangle is the shell's, or
// a square of the small-icon size around where the cursor was last seen over the icon.
TEST_F(Tray, WheelNotchesAndTheIconsRectangle)
{
    const int steps[][3] = {{1000, -2, 900}, {1000, 1, 1000}, {975, 1, 1000}, {30, -1, 0}, {500, 0, 500}, {0, 21, 1000}};
    for (const auto& c : steps)
        EXPECT_EQ(c[2], volumeAfterWheel(c[0], c[1])) << c[0] << " turned by " << c[1] << " notches";
    const struct { HRESULT answer; int size; RECT expected; } rects[] = {
        {S_OK, 16, {1000, 680, 1024, 700}}, {E_NOTIMPL, 16, {1005, 682, 1021, 698}}, {E_FAIL, 24, {1001, 678, 1025, 702}},
    };
    for (const auto& c : rects) {
        fake::iconRectResult = c.answer, fake::iconRect = {1000, 680, 1024, 700};
        RECT rect = trayIconRect(window, {1013, 690}, c.size);
        EXPECT_TRUE(EqualRect(&c.expected, &rect)) << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
    }
}

LRESULT deviceAnswer; // the main window's answer to WM_APP_IS_PLAYING
std::atomic<int> actions;
std::atomic<DWORD> actionTick;
std::atomic<HWND> actionWindow;

TEST_F(Tray, ClicksWaitForTheDoubleClickTimeThenPauseOrPlay)
{
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_APP_IS_PLAYING ? deviceAnswer : DefWindowProcW(w, m, wp, lp); }));
    trayClickState.window = window;
    const struct { LRESULT devicePlaying; int playingFlag; UINT posted; } cases[] = {
        {1, 1, WM_APP_PAUSE}, {1, 0, WM_APP_PAUSE}, {0, 0, WM_APP_PLAY}, {0, 1, 0}, // the last: a track that ended by itself
    };
    MSG message;
    for (const auto& c : cases) {
        deviceAnswer = c.devicePlaying, isPlaying = c.playingFlag;
        onTraySingleClick(trayClickState);
        EXPECT_EQ(c.posted, PeekMessageW(&message, window, 0, 0, PM_REMOVE) ? message.message : 0u) << c.devicePlaying << c.playingFlag;
        EXPECT_FALSE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));
    }
    actions = 0;
    trayClickState.singleClickAction = [](TrayClickState copy) { actionWindow = copy.window, actionTick = GetTickCount(), ++actions; };
    const DWORD wait = GetDoubleClickTime();
    trayClickState.lastClickTick = 0xFFFFFFF0; // across the counter's wrap
    fake::tickCount = 0xFFFFFFF0 + wait + 1;
    const DWORD clicked = GetTickCount();
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount, trayClickState.lastClickTick);
    fake::tickCount += wait; // the second button-up of a double click starts nothing
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount - wait, trayClickState.lastClickTick);
    for (DWORD started = GetTickCount(); actions < 1 && GetTickCount() - started < wait + 5000;)
        Sleep(10);
    EXPECT_EQ(window, actionWindow.load());
    EXPECT_GE(actionTick - clicked + 16, wait) << "acted before the double-click time was over";
    Sleep(wait + 200);
    EXPECT_EQ(1, actions.load());
    fake::tickCount = 0x10; // a double click exactly one wait ago: the click thread does nothing
    trayClickState.lastDoubleClickTick = fake::tickCount - wait;
    EXPECT_EQ(0u, trayClickThread(&trayClickState));
    EXPECT_EQ(1, actions.load());
}

// "text #id" with " checked", " radio", " grayed"; "text >" for a popup, "---" for a separator;
// more than whole items: their count, the first two, the marked one and the last two.
Texts lines(HMENU menu, size_t whole = 6)
{
    Texts all;
    std::wstring marked = L"no mark";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[1100] = L"";
        MENUITEMINFOW item = {sizeof(item), MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU, 0, 0, 0, nullptr, nullptr, nullptr, 0, text, 1100, nullptr};
        GetMenuItemInfoW(menu, i, TRUE, &item);
        all.push_back(item.fType & MFT_SEPARATOR ? L"---" : item.hSubMenu ? text + std::wstring(L" >") : text + (L" #" + std::to_wstring(item.wID))
            + (item.fState & MFS_CHECKED ? item.fType & MFT_RADIOCHECK ? L" radio" : L" checked" : L"") + (item.fState & MFS_GRAYED ? L" grayed" : L""));
        if (item.fState & MFS_CHECKED)
            marked = all.back();
    }
    DestroyMenu(menu);
    return all.size() <= whole ? all : Texts{std::to_wstring(all.size()), all[0], all[1], marked, all[all.size() - 2], all.back()};
}

// Each setting checks its own item only (AutoPlay follows the class key); the bullet marks the message style.
TEST_F(Tray, MenuShowsTheSettingsAndWhatTheDeviceAllows)
{
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
    const UINT ids[] = {IDM_SORT_ON_OPEN, IDM_SORT_BY_FULL_PATH, IDM_SORT_LOADED_PLAYLIST, IDM_REPEAT, IDM_SHUFFLE, IDM_BALLOON_ON_OPEN, IDM_AUTOPLAY_REGISTER};
    int* settings[] = {&sortOnOpen, &sortByFullPath, &sortLoadedPlaylist, &repeat, &shuffle, &balloonOnOpen, nullptr};
    for (int on = -1; on < 7; ++on) {
        if (on >= 0 && settings[on])
            *settings[on] = 1;
        if (on == 6) {
            ASSERT_EQ(ERROR_SUCCESS, RegSetValueW(HKEY_CLASSES_ROOT, L"VelmorisPlayer", REG_SZ, L"", 0));
        }
        messageDisplayType = on - 1;
        HMENU menu = buildCommandMenu();
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(i == on ? MF_CHECKED : 0u, GetMenuState(menu, ids[i], MF_BYCOMMAND) & MF_CHECKED) << ids[i];
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(i == on - 1, (GetMenuState(menu, IDM_MSG_MESSAGE_BOX + i, MF_BYCOMMAND) & MF_CHECKED) != 0) << on;
        for (UINT id = IDM_EXIT; id <= IDM_SORT_LOADED_PLAYLIST; ++id)
            EXPECT_TRUE(id == IDM_PAUSE || id == IDM_STOP || GetMenuState(menu, id, MF_BYCOMMAND) != ~0u) << id;
        DestroyMenu(menu);
        if (on >= 0 && settings[on])
            *settings[on] = 0;
    }
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
    const Texts pause = {L"一時停止(&P) #1009", L"停止(&S) #1010"}, playStop = {L"再生(&P) #1008", L"停止(&S) #1010"};
    const struct { int playing; const wchar_t *type, *mode; Texts items; } cases[] = { // type nullptr: nothing open
        {1, L"sequencer", L"playing", {L"一時停止(&P) #1009 grayed", L"停止(&S) #1010"}}, {1, L"waveaudio", L"playing", pause},
        {0, L"waveaudio", L"paused", playStop}, {0, L"waveaudio", L"stopped", {L"再生(&P) #1008"}},
        {0, L"waveaudio", L"seeking", {L"再生(&P) #1008"}}, {0, nullptr, L"", playStop}, {1, nullptr, L"", pause},
    };
    for (const auto& c : cases) {
        fake::mci.open = c.type != nullptr, fake::mci.type = c.type ? c.type : L"", fake::mci.mode = c.mode, isPlaying = c.playing;
        fake::mciCalls.clear();
        Texts top = lines(buildCommandMenu(), 99), expected = c.items, queries = {L"capability sound device type", L"status sound mode"};
        expected.push_back(L"前へ(&M) #1011");
        EXPECT_EQ(expected, Texts(top.begin() + 2, top.begin() + 2 + expected.size())) << c.mode;
        EXPECT_EQ(Texts(queries.begin() + !c.playing, queries.end()), fake::mciCommands()) << c.mode;
    }
}

// The file names in play order with the current one marked; a window of a thousand around it,
// with ellipses for what is left out, and ids up to 65535.
TEST_F(Tray, SelectionListsAWindowOfTheOrderInForce)
{
    const Texts abc = {L"C:\\Music\\a.mp3", L"C:\\Music\\b.wav", L"D:\\Other\\c"};
    const std::wstring name(300, L'n'), extension = L"." + std::wstring(299, L'e'), fits(256, L'k');
    const struct { Texts paths; int shuffle; std::vector<int> order; int at; Texts items; } cases[] = {
        {{}, 0, {}, 0, {}},
        {abc, 0, {}, 1, {L"a.mp3 #2000", L"b.wav #2001 radio", L"c #2002"}},
        {abc, 1, {2, 0, 1}, 0, {L"c #2000 radio", L"a.mp3 #2001", L"b.wav #2002"}},
        {abc, 1, {}, 0, {L"a.mp3 #2000 radio", L"a.mp3 #2001", L"a.mp3 #2002"}}, // no order built yet
        {{L"C:\\One\\same.mp3", L"\\\\host\\share\\Two\\same.mp3", L"E:song.v1.ogg", L"C:\\dir.x\\name", L"Z:/music/R&B.mp3"}, 0, {}, 4,
         {L"same.mp3 #2000", L"same.mp3 #2001", L"song.v1.ogg #2002", L"name #2003", L"R&B.mp3 #2004 radio"}},
        {{L"C:\\x\\" + name + extension, L"C:\\x\\" + fits + L".mp3"}, 0, {}, 0,
         {std::wstring(255, L'n') + L"\u2026." + std::wstring(254, L'e') + L"\u2026 #2000 radio", fits + L".mp3 #2001"}},
    };
    for (const auto& c : cases) {
        resetPlayerState();
        setPlaylist(c.paths);
        if (!c.order.empty())
            setShuffleOrder(c.order);
        shuffle = c.shuffle, currentPosition = c.at;
        EXPECT_EQ(c.items, lines(buildSelectSubmenu())) << c.at;
    }
    const std::wstring dots = L"\u2026 #0 grayed"; // labels "<playlist index>.mp3"; shuffled plays backwards
    const struct { int count, shuffled, at; Texts items; } windows[] = {
        {1000, 0, 999, {L"1000", L"0.mp3 #2000", L"1.mp3 #2001", L"999.mp3 #2999 radio", L"998.mp3 #2998", L"999.mp3 #2999 radio"}},
        {64000, 0, 0, {L"1001", L"0.mp3 #2000 radio", L"1.mp3 #2001", L"0.mp3 #2000 radio", L"999.mp3 #2999", dots}},
        {64000, 0, 30000, {L"1002", dots, L"29500.mp3 #31500", L"30000.mp3 #32000 radio", L"30499.mp3 #32499", dots}},
        {64000, 1, 30000, {L"1002", dots, L"34499.mp3 #31500", L"33999.mp3 #32000 radio", L"33500.mp3 #32499", dots}},
        {64000, 0, 63535, {L"1002", dots, L"62536.mp3 #64536", L"63535.mp3 #65535 radio", L"63535.mp3 #65535 radio", dots}},
        {64000, 0, 63999, {L"1002", dots, L"62536.mp3 #64536", L"no mark", L"63535.mp3 #65535", dots}},
        {63536, 0, 63535, {L"1001", dots, L"62536.mp3 #64536", L"63535.mp3 #65535 radio", L"63534.mp3 #65534", L"63535.mp3 #65535 radio"}},
    };
    for (const auto& c : windows) {
        PlaylistEntry* entries = allocatePlaylistEntries(static_cast<size_t>(c.count) + 1);
        for (int i = 0; i < c.count; ++i)
            swprintf(entries[i].path, 1024, L"C:\\m\\%d.mp3", i);
        replacePlaylist(entries);
        std::vector<int> backwards(c.shuffled ? c.count : 0);
        for (size_t i = 0; i < backwards.size(); ++i)
            backwards[i] = c.count - 1 - static_cast<int>(i);
        setShuffleOrder(backwards);
        shuffle = c.shuffled, currentPosition = c.at;
        EXPECT_EQ(c.items, lines(buildSelectSubmenu())) << c.count << " at " << c.at;
    }
    const int bounds[][4] = {{0, 0, 0, 0}, {1001, 1000, 1, 1001}, {200000, 499, 0, 1000}, {200000, 501, 1, 1001}, {200000, 63535, 62536, 63536},
                             {200000, 150000, 62536, 63536}, {5000, -1, 0, 1000}, {1000000, 0, 0, 1000}}; // count, at, first, last
    for (const auto& c : bounds)
        EXPECT_EQ(std::make_pair(c[2], c[3]), std::make_pair(selectionWindow(c[0], c[1]).first, selectionWindow(c[0], c[1]).last)) << c[0] << " at " << c[1];
    EXPECT_EQ(std::make_tuple(3, 63536, 63536), std::make_tuple(selectionLength(3), selectionLength(63537), selectionLength(1000000)));
}

} // namespace
