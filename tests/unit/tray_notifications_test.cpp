#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/report.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

class TrayIcon : public support::WindowTest {
protected:
    HICON classIcon() const { return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)); }
    const NOTIFYICONDATAW& last() const { return fake::notifyCalls.back().data; }
    // Flags, info flags, info title and info text of the last record handed over.
    std::tuple<UINT, DWORD, std::wstring, std::wstring> balloon() const
    {
        return std::make_tuple(last().uFlags, last().dwInfoFlags, last().szInfoTitle, last().szInfo);
    }
};

TEST_F(TrayIcon, AddModifyAndResetHandOverTheIconAndTip)
{
    ASSERT_TRUE(addTrayIcon(window));
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), fake::notifyCalls.back().message);
    EXPECT_EQ(std::make_tuple(window, 1u, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), 0x8000u, classIcon()),
              std::make_tuple(last().hWnd, last().uID, last().uFlags, last().uCallbackMessage, last().hIcon));
    EXPECT_STREQ(L"Velmoris Player", last().szTip);
    HICON playing = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYING), IMAGE_ICON, 0, 0, LR_SHARED));
    ASSERT_NE(playing, classIcon());
    for (TrayPicture state : {TRAY_PLAYING, TRAY_PAUSED, TRAY_STOPPED}) {
        setTrayIcon(state);
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), fake::notifyCalls.back().message);
        EXPECT_EQ(static_cast<UINT>(NIF_ICON), last().uFlags);
        EXPECT_EQ(state == TRAY_PLAYING ? playing : classIcon(), last().hIcon) << state;
    }
    support::setPlaylist({L"C:\\a.mp3"});
    setTrayIcon(TRAY_PLAYING);
    resetTrayIcon(window);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON | NIF_TIP), last().uFlags);
    EXPECT_EQ(classIcon(), last().hIcon);
    EXPECT_STREQ(L"Velmoris Player", last().szTip);
}

TEST_F(TrayIcon, TooltipNamesTheCurrentTrackWithinItsField)
{
    const std::wstring name(300, L'x');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Music\\song.mp3", L"song.mp3 - Velmoris Player"},
        {L"D:tune.wav", L"tune.wav - Velmoris Player"},
        {L"\\\\host\\share\\dir.x\\name", L"name - Velmoris Player"},
        {L"C:\\" + name + L".mp3", name.substr(0, 126) + L"\u2026"},
        {L"", L"Velmoris Player"},
    };
    for (const auto& c : cases) {
        support::setPlaylist(c.first.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.first});
        wchar_t tip[129];
        tip[128] = L'#';
        updateTrayTip(tip);
        EXPECT_EQ(c.second, tip);
        EXPECT_EQ(L'#', tip[128]) << "written past the 128-unit field";
    }
}

// The track balloon is plain, an error balloon carries the error icon; hidden messages hide only reports.
TEST_F(TrayIcon, TrackAndErrorBalloons)
{
    support::setPlaylist({L"C:\\Music\\song.mp3"});
    balloonOnOpen = 1;
    announceTrack();
    EXPECT_TRUE(fake::notifyCalls.empty()) << "nothing to announce before the icon exists";
    addTrayIcon(window);
    balloonOnOpen = 0;
    announceTrack();
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), last().uFlags);
    EXPECT_STREQ(L"song.mp3 - Velmoris Player", last().szTip);
    messageDisplayType = 1;
    reportMessage(nullptr, L"失敗", L"エラー");
    EXPECT_EQ(std::make_tuple(static_cast<UINT>(NIF_INFO), static_cast<DWORD>(NIIF_ERROR), std::wstring(L"エラー"),
                              std::wstring(L"失敗")), balloon());
    reportMessage(nullptr, std::wstring(600, L't').c_str(), std::wstring(100, L'c').c_str());
    EXPECT_EQ(std::make_pair(size_t{255}, size_t{63}), std::make_pair(wcslen(last().szInfo), wcslen(last().szInfoTitle)));
    balloonOnOpen = 1;
    messageDisplayType = 2;
    announceTrack();
    EXPECT_EQ(std::make_tuple(static_cast<UINT>(NIF_INFO | NIF_TIP), static_cast<DWORD>(NIIF_NONE),
                              std::wstring(L"Velmoris Player"), std::wstring(L"song.mp3")), balloon());
}

TEST_F(TrayIcon, ReportsTakeTheFormTheUserChose)
{
    // Display type, icon exists, waits for dismissal; then boxes and balloons expected.
    const struct { int type; bool icon, waits; size_t boxes, balloons; } cases[] = {
        {0, false, false, 1, 0}, {0, true, false, 1, 0}, {1, false, false, 1, 0}, {1, true, false, 0, 1},
        {2, false, false, 0, 0}, {2, true, false, 0, 0}, {0, false, true, 1, 0},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        if (c.icon)
            addTrayIcon(window);
        size_t callsBefore = fake::notifyCalls.size();
        messageDisplayType = c.type;
        reportsWaitForDismissal = c.waits;
        reportMessage(window, L"本文", L"エラー");
        std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(c.boxes, 2000);
        Sleep(c.boxes ? 0 : 100);
        boxes = fake::messageBoxes();
        ASSERT_EQ(c.boxes, boxes.size()) << "type " << c.type;
        EXPECT_EQ(callsBefore + c.balloons, fake::notifyCalls.size()) << "type " << c.type;
        if (c.boxes) {
            EXPECT_EQ(std::make_tuple(window, std::wstring(L"本文"), std::wstring(L"エラー - Velmoris Player"),
                                      static_cast<UINT>(MB_OK | MB_ICONERROR)),
                      std::make_tuple(boxes[0].owner, boxes[0].text, boxes[0].caption, boxes[0].style));
            EXPECT_EQ(c.waits, GetCurrentThreadId() == boxes[0].threadId) << "only a waiting report blocks";
        }
    }
    for (int type : {0, 1, 2}) {
        fake::reset();
        messageDisplayType = type;
        showMessage(window, L"本文", L"確認", MB_OK | MB_ICONINFORMATION);
        std::vector<fake::MessageBoxCall> boxes = fake::messageBoxes();
        ASSERT_EQ(type == 2 ? 0u : 1u, boxes.size()) << "type " << type;
        if (type != 2) {
            EXPECT_EQ(std::make_tuple(window, std::wstring(L"確認 - Velmoris Player"),
                                      static_cast<UINT>(MB_OK | MB_ICONINFORMATION), GetCurrentThreadId()),
                      std::make_tuple(boxes[0].owner, boxes[0].caption, boxes[0].style, boxes[0].threadId));
        }
    }
}

} // namespace
