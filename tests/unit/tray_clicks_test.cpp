#include <gtest/gtest.h>

#include <atomic>

#include "app/app_messages.h"
#include "app/tray_clicks.h"
#include "playback/mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

struct TickCase {
    DWORD now;
    DWORD last;
    UINT interval;
    bool expected;
};

// Both decisions ask "more than one interval since last?", also across the counter's wrap.
const TickCase tickCases[] = {
    {1000, 0, 500, true},
    {1400, 1000, 500, false},
    {1500, 1000, 500, false},
    {1501, 1000, 500, true},
    {0x00000080, 0xFFFFFF00, 500, false},
    {0x00000100, 0xFFFFFE00, 500, true},
    {0x00000000, 0xFFFFFFFF, 500, false},
    {0xFFFFFFFF, 0x00000000, 500, true},
};

TEST(TrayClickTiming, ClickThreadStartsOnlyAfterOneDoubleClickTime)
{
    for (const TickCase& c : tickCases)
        EXPECT_EQ(c.expected, startsClickThread(c.now, c.last, c.interval)) << std::hex << c.now << " " << c.last;
}

TEST(TrayClickTiming, ClickIsLoneWhenNoDoubleClickCameDuringTheWait)
{
    for (const TickCase& c : tickCases)
        EXPECT_EQ(c.expected, isLoneClick(c.now, c.last, c.interval)) << std::hex << c.now << " " << c.last;
}

// The main window's answer to WM_APP_IS_PLAYING in these tests.
LRESULT deviceAnswer;

LRESULT CALLBACK answeringWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP_IS_PLAYING)
        return deviceAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

std::atomic<int> actionCount;
std::atomic<HWND> actionWindow;

void recordAction(TrayClickState copy)
{
    actionWindow = copy.window;
    ++actionCount;
}

bool waitForActions(int count, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    while (actionCount < count) {
        if (GetTickCount() - started > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

class TrayClicks : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = answeringWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VELMORIS_TEST_CLICKS";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"VELMORIS_TEST_CLICKS", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        actionCount = 0;
        actionWindow = nullptr;
        trayClickState.window = window;
        trayClickState.singleClickAction = recordAction;
    }
    void TearDown() override
    {
        DestroyWindow(window);
        support::resetPlayerState();
    }

    // The first posted message waiting for the window, or 0.
    UINT takePosted()
    {
        MSG message;
        if (!PeekMessageW(&message, window, 0, 0, PM_REMOVE))
            return 0;
        return message.message;
    }

    HWND window = nullptr;
};

TEST_F(TrayClicks, SingleClickPausesWhatPlaysAndPlaysWhatRests)
{
    const struct {
        LRESULT devicePlaying;
        int playingFlag;
        UINT posted;
    } cases[] = {
        {1, 1, WM_APP_PAUSE},
        {1, 0, WM_APP_PAUSE},
        {0, 0, WM_APP_PLAY},
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
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount, trayClickState.lastClickTick);

    // The second button-up of a double click comes within the wait and starts nothing.
    fake::tickCount += wait;
    onTrayCallback(window, WM_LBUTTONUP);
    EXPECT_EQ(fake::tickCount - wait, trayClickState.lastClickTick);

    ASSERT_TRUE(waitForActions(1, wait + 5000));
    EXPECT_EQ(window, actionWindow.load());
    Sleep(wait + 200);
    EXPECT_EQ(1, actionCount.load());
}

TEST_F(TrayClicks, ClickThreadDoesNothingWhenADoubleClickCameDuringItsWait)
{
    trayClickState.lastDoubleClickTick = 0xFFFFFFFF;
    fake::tickCount = 0x00000010;
    EXPECT_EQ(0u, trayClickThread(&trayClickState));
    EXPECT_EQ(0, actionCount.load());
}

TEST_F(TrayClicks, OtherMouseMessagesAreIgnored)
{
    fake::tickCount = 100000;
    const UINT ignored[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
                            WM_MBUTTONDBLCLK, WM_CONTEXTMENU};
    for (UINT message : ignored) {
        EXPECT_EQ(0, onTrayCallback(window, message));
        EXPECT_EQ(0u, trayClickState.lastClickTick) << message;
        EXPECT_EQ(0u, trayClickState.lastDoubleClickTick) << message;
    }
    EXPECT_EQ(0u, takePosted());
}

} // namespace
