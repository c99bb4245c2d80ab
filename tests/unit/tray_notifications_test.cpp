#include <gtest/gtest.h>

#include <string>

#include "app/report.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        window = support::createTestWindow();
    }
    void TearDown() override
    {
        DestroyWindow(window);
        support::resetPlayerState();
    }

    HICON classIcon() const { return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)); }
    const fake::NotifyCall& lastCall() const { return fake::notifyCalls.back(); }

    HWND window = nullptr;
};

TEST_F(TrayIcon, AddSpeaksVersionZeroWithIdOneAndTheClassIcon)
{
    ASSERT_TRUE(addTrayIcon(window));
    ASSERT_EQ(1u, fake::notifyCalls.size());
    const NOTIFYICONDATAW& data = lastCall().data;
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), lastCall().message);
    EXPECT_EQ(976u, data.cbSize);
    EXPECT_EQ(window, data.hWnd);
    EXPECT_EQ(1u, data.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), data.uFlags);
    EXPECT_EQ(0x8000u, data.uCallbackMessage);
    EXPECT_EQ(classIcon(), data.hIcon);
    EXPECT_NE(nullptr, data.hIcon);
    EXPECT_STREQ(L"Velmoris Player", data.szTip);
    EXPECT_EQ(0u, data.uVersion);
    EXPECT_EQ(0u, data.dwInfoFlags);
}

struct TipCase {
    const wchar_t* path;
    const wchar_t* tip;
};

TEST_F(TrayIcon, TooltipNamesTheCurrentTrack)
{
    const TipCase cases[] = {
        {L"C:\\Music\\song.mp3", L"song.mp3 - Velmoris Player"},
        {L"song", L"song - Velmoris Player"},
        {L"D:tune.wav", L"tune.wav - Velmoris Player"},
        {L"\\\\host\\share\\dir.x\\name", L"name - Velmoris Player"},
    };
    for (const TipCase& c : cases) {
        support::setPlaylist({c.path});
        wchar_t tip[128];
        updateTrayTip(tip);
        EXPECT_STREQ(c.tip, tip) << c.path;
    }
    support::setPlaylist({});
    wchar_t tip[128];
    updateTrayTip(tip);
    EXPECT_STREQ(L"Velmoris Player", tip);
}

TEST_F(TrayIcon, OverlongTooltipIsCutInsideItsField)
{
    std::wstring name(300, L'x');
    support::setPlaylist({L"C:\\" + name + L".mp3"});
    wchar_t tip[129];
    tip[128] = L'#';
    updateTrayTip(tip);
    EXPECT_EQ(127u, wcslen(tip));
    EXPECT_EQ(L'\u2026', tip[126]);
    EXPECT_EQ(L'#', tip[128]) << "written past the 128-unit field";
}

TEST_F(TrayIcon, PicturesFollowThePlaybackState)
{
    addTrayIcon(window);
    HICON playing = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYING), IMAGE_ICON, 0, 0, LR_SHARED));
    const struct {
        TrayPicture state;
        HICON icon;
    } cases[] = {{TRAY_PLAYING, playing}, {TRAY_PAUSED, classIcon()}, {TRAY_STOPPED, classIcon()}};
    for (const auto& c : cases) {
        setTrayIcon(c.state);
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), lastCall().message);
        EXPECT_EQ(static_cast<UINT>(NIF_ICON), lastCall().data.uFlags);
        EXPECT_EQ(c.icon, lastCall().data.hIcon) << c.state;
    }
    EXPECT_NE(playing, classIcon());
}

TEST_F(TrayIcon, ResetShowsTheClassIconAndTheWindowTitle)
{
    support::setPlaylist({L"C:\\a.mp3"});
    addTrayIcon(window);
    setTrayIcon(TRAY_PLAYING);
    resetTrayIcon(window);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON | NIF_TIP), lastCall().data.uFlags);
    EXPECT_EQ(classIcon(), lastCall().data.hIcon);
    EXPECT_STREQ(L"Velmoris Player", lastCall().data.szTip);
}

TEST_F(TrayIcon, AnnounceSetsTheTipAndOptionallyTheTrackBalloon)
{
    support::setPlaylist({L"C:\\Music\\song.mp3"});
    balloonOnOpen = 1;
    announceTrack();
    EXPECT_TRUE(fake::notifyCalls.empty()) << "nothing to announce before the icon exists";

    balloonOnOpen = 0;
    addTrayIcon(window);
    announceTrack();
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), lastCall().data.uFlags);
    EXPECT_STREQ(L"song.mp3 - Velmoris Player", lastCall().data.szTip);

    balloonOnOpen = 1;
    messageDisplayType = 2; // hidden messages do not hide the track balloon
    announceTrack();
    const NOTIFYICONDATAW& data = lastCall().data;
    EXPECT_EQ(static_cast<UINT>(NIF_INFO | NIF_TIP), data.uFlags);
    EXPECT_STREQ(L"Velmoris Player", data.szInfoTitle);
    EXPECT_STREQ(L"song.mp3", data.szInfo);
    EXPECT_EQ(static_cast<DWORD>(NIIF_NONE), data.dwInfoFlags);
}

TEST_F(TrayIcon, TrackBalloonAfterAnErrorBalloonIsPlainAgain)
{
    support::setPlaylist({L"C:\\Music\\song.mp3"});
    addTrayIcon(window);
    announceTrack();
    messageDisplayType = 1;
    reportMessage(nullptr, L"失敗", L"エラー");
    const NOTIFYICONDATAW& error = lastCall().data;
    EXPECT_EQ(static_cast<UINT>(NIF_INFO), error.uFlags);
    EXPECT_EQ(static_cast<DWORD>(NIIF_ERROR), error.dwInfoFlags);
    EXPECT_STREQ(L"エラー", error.szInfoTitle);
    EXPECT_STREQ(L"失敗", error.szInfo);
    EXPECT_STREQ(L"song.mp3 - Velmoris Player", error.szTip) << "an error balloon leaves the tooltip";

    balloonOnOpen = 1;
    announceTrack();
    EXPECT_EQ(static_cast<DWORD>(NIIF_NONE), lastCall().data.dwInfoFlags);
    EXPECT_STREQ(L"Velmoris Player", lastCall().data.szInfoTitle);
    EXPECT_STREQ(L"song.mp3", lastCall().data.szInfo);
}

struct RouteCase {
    int displayType;
    bool iconExists;
    int expectedBoxes;
    int expectedBalloons;
};

TEST_F(TrayIcon, ReportsTakeTheFormTheUserChose)
{
    const RouteCase cases[] = {
        {0, false, 1, 0}, {0, true, 1, 0}, {1, false, 1, 0}, {1, true, 0, 1}, {2, false, 0, 0}, {2, true, 0, 0},
    };
    HWND owner = window;
    for (const RouteCase& c : cases) {
        support::resetPlayerState();
        if (c.iconExists)
            addTrayIcon(window);
        size_t callsBefore = fake::notifyCalls.size();
        messageDisplayType = c.displayType;
        reportMessage(owner, L"本文", L"エラー");
        std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(c.expectedBoxes, 2000);
        Sleep(c.expectedBoxes ? 0 : 100);
        boxes = fake::messageBoxes();
        ASSERT_EQ(static_cast<size_t>(c.expectedBoxes), boxes.size()) << "type " << c.displayType;
        EXPECT_EQ(callsBefore + c.expectedBalloons, fake::notifyCalls.size()) << "type " << c.displayType;
        if (c.expectedBoxes) {
            EXPECT_EQ(owner, boxes[0].owner);
            EXPECT_EQ(L"本文", boxes[0].text);
            EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes[0].style);
            EXPECT_NE(GetCurrentThreadId(), boxes[0].threadId) << "message boxes run on a worker thread";
        }
    }
}

TEST_F(TrayIcon, OverlongBalloonTextAndCaptionAreCut)
{
    addTrayIcon(window);
    messageDisplayType = 1;
    std::wstring text(600, L't');
    std::wstring caption(100, L'c');
    reportMessage(nullptr, text.c_str(), caption.c_str());
    const NOTIFYICONDATAW& data = lastCall().data;
    EXPECT_EQ(255u, wcsnlen(data.szInfo, 256));
    EXPECT_EQ(63u, wcsnlen(data.szInfoTitle, 64));
}

TEST_F(TrayIcon, AReportThatMustBeSeenBeforeTheProcessEndsIsSynchronous)
{
    reportsWaitForDismissal = true;
    reportMessage(nullptr, L"本文", L"エラー");
    std::vector<fake::MessageBoxCall> boxes = fake::messageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(GetCurrentThreadId(), boxes[0].threadId);
    EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
}

TEST_F(TrayIcon, ShowMessageIsSynchronousAndSilencedOnlyByHiddenMessages)
{
    const int types[] = {0, 1, 2};
    for (int type : types) {
        fake::reset();
        messageDisplayType = type;
        showMessage(window, L"本文", L"確認", MB_OK | MB_ICONINFORMATION);
        std::vector<fake::MessageBoxCall> boxes = fake::messageBoxes();
        ASSERT_EQ(type == 2 ? 0u : 1u, boxes.size()) << "type " << type;
        if (type != 2) {
            EXPECT_EQ(L"確認 - Velmoris Player", boxes[0].caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes[0].style);
            EXPECT_EQ(GetCurrentThreadId(), boxes[0].threadId);
            EXPECT_EQ(window, boxes[0].owner);
        }
    }
}

// The real message box: the caller goes on while the box is open on its own thread.
TEST_F(TrayIcon, AsynchronousMessageBoxDoesNotBlockItsCaller)
{
    fake::realMessageBoxes = true;
    showMessageBoxAsync(nullptr, L"非同期の本文", L"エラー");

    HWND box = nullptr;
    for (int i = 0; i < 500 && !box; ++i) {
        box = FindWindowW(L"#32770", L"エラー - Velmoris Player");
        if (!box)
            Sleep(20);
    }
    ASSERT_NE(nullptr, box) << "no message box appeared within 10 s";
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(box, nullptr));
    wchar_t text[256] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    EXPECT_STREQ(L"非同期の本文", text);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 500 && IsWindow(box); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(box)) << "the box did not close";
}

} // namespace
