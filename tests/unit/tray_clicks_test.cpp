#include <gtest/gtest.h>

#include <atomic>

#include "app/tray_clicks.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

LRESULT deviceAnswer; // the main window's answer to WM_APP_IS_PLAYING
std::atomic<int> actionCount;
std::atomic<HWND> actionWindow;
std::atomic<DWORD> actionTick;

LRESULT CALLBACK answeringWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_APP_IS_PLAYING ? deviceAnswer : DefWindowProcW(window, message, wParam, lParam);
}

class TrayClicks : public support::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answeringWindowProc));
        actionCount = 0;
        actionWindow = nullptr;
        trayClickState.window = window;
        trayClickState.singleClickAction = [](TrayClickState copy) {
            actionWindow = copy.window;
            actionTick = GetTickCount();
            ++actionCount;
        };
    }

    // The first posted message waiting for the window, or 0.
    UINT takePosted()
    {
        MSG message;
        return PeekMessageW(&message, window, 0, 0, PM_REMOVE) ? message.message : 0;
    }
};

TEST_F(TrayClicks, SingleClickPausesWhatPlaysAndPlaysWhatRests)
{
    const struct { LRESULT devicePlaying; int playingFlag; UINT posted; } cases[] = {
        {1, 1, WM_APP_PAUSE}, {1, 0, WM_APP_PAUSE}, {0, 0, WM_APP_PLAY},
        {0, 1, 0}, // a track that ended by itself: left alone
    };
    for (const auto& c : cases) {
        deviceAnswer = c.devicePlaying;
        isPlaying = c.playingFlag;
        onTraySingleClick(trayClickState);
        EXPECT_EQ(c.posted, takePosted()) << c.devicePlaying << " " << c.playingFlag;
        EXPECT_EQ(0u, takePosted());
    }
}

TEST_F(TrayClicks, LoneClickActsOnceAfterTheWaitAcrossTheCounterWrap)
{
    DWORD wait = GetDoubleClickTime();
    trayClickState.lastClickTick = 0xFFFFFFF0;
    fake::tickCount = 0xFFFFFFF0 + wait + 1;
    DWORD clicked = GetTickCount();
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount, trayClickState.lastClickTick);

    // The second button-up of a double click comes within the wait and starts nothing.
    fake::tickCount += wait;
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount - wait, trayClickState.lastClickTick);

    for (DWORD started = GetTickCount(); actionCount < 1 && GetTickCount() - started < wait + 5000;)
        Sleep(10);
    EXPECT_EQ(window, actionWindow.load());
    EXPECT_GE(actionTick - clicked + 16, wait) << "acted before the double-click time was over";
    Sleep(wait + 200);
    EXPECT_EQ(1, actionCount.load());
}

TEST_F(TrayClicks, ClickThreadDoesNothingWhenADoubleClickCameDuringItsWait)
{
    fake::tickCount = 0x00000010; // a double click exactly one wait ago, across the wrap
    trayClickState.lastDoubleClickTick = fake::tickCount - GetDoubleClickTime();
    EXPECT_EQ(0u, trayClickThread(&trayClickState));
    EXPECT_EQ(0, actionCount.load());
}

} // namespace
