#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"
#include "ui/seek_window.h"
#include "ui/volume_dialog.h"

namespace {

using Numbers = std::vector<long long>;

TEST(Placement, CentresOnTheCursorAndEndsAtTheRightAndBottomEdges)
{
    const struct { int width, height; POINT cursor, expected; } cases[] = {
        {200, 60, {500, 300}, {400, 270}},
        {151, 61, {500, 300}, {425, 270}},
        {200, 60, {5, 5}, {0, 0}},
        {200, 60, {1019, 695}, {824, 640}},
        // Larger than the screen: the right and bottom edges win, the corner goes negative.
        {1200, 800, {500, 300}, {-176, -100}},
    };
    for (const auto& c : cases) {
        POINT place = placementAtCursor({0, 0, 1024, 700}, c.width, c.height, c.cursor);
        EXPECT_EQ((Numbers{c.expected.x, c.expected.y}), (Numbers{place.x, place.y})) << c.width << "@" << c.cursor.x;
    }
}

// The seek window and the volume dialog over the fake device, with settings in a folder of their own.
class Flyout : public support::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        fake::installMciDevice();
        instanceHandle = GetModuleHandleW(nullptr);
        owner = window;
    }
    void TearDown() override
    {
        DestroyWindow(flyout);
        WindowTest::TearDown();
    }

    // The seek window, or the volume dialog (its template and procedure, without a modal loop),
    // replacing the one before, over a device in mode (none open for nullptr); nothing recorded yet.
    void open(bool seekWindow, const wchar_t* mode = nullptr, const wchar_t* type = L"digitalvideo",
              unsigned int lengthMs = 0, unsigned int positionMs = 0)
    {
        fake::mciDevice.open = mode != nullptr;
        fake::mciDevice.type = type;
        fake::mciDevice.mode = mode ? mode : L"";
        fake::mciDevice.length = lengthMs;
        fake::mciDevice.position = positionMs;
        DestroyWindow(flyout);
        if (seekWindow)
            openSeekWindow(owner);
        flyout = seekWindow ? FindWindowW(seekWindowClassName, L"シーク - Velmoris Player")
                            : CreateDialogParamW(instanceHandle, MAKEINTRESOURCEW(IDD_VOLUME), owner, volumeDialogProc, 0);
        ASSERT_NE(nullptr, flyout);
        slider = GetDlgItem(flyout, IDC_VOLUME_TRACKBAR);
        fake::mciCalls.clear();
    }

    void scroll(int position)
    {
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(flyout, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
    }

    static int storedVolume() { return GetPrivateProfileIntW(L"OPTION", L"VOLUME", -1, settingsFilePath); }

    HWND owner = nullptr;
    HWND flyout = nullptr;
    HWND slider = nullptr;
};

TEST_F(Flyout, SeekWindowIsATopmostPopupWithTheDevicesTimesUntilDeactivated)
{
    seekDisplayState.cursorX = 77;
    open(true, L"playing", L"digitalvideo", 225000, 83500);
    RECT frame;
    GetWindowRect(flyout, &frame);
    EXPECT_EQ((Numbers{200, 60}), (Numbers{frame.right - frame.left, frame.bottom - frame.top}));
    EXPECT_EQ(owner, GetWindow(flyout, GW_OWNER));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE),
              GetWindowLongPtrW(flyout, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_BORDER));
    EXPECT_TRUE(GetWindowLongPtrW(flyout, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const SeekDisplayState& state = seekDisplayState;
    EXPECT_EQ((Numbers{225000, 83500, 0}), (Numbers{state.lengthMs, state.positionMs, state.cursorX}));
    SendMessageW(flyout, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindow(flyout));
}

// A click seeks to its share of the length; playback resumes only when it was playing.
TEST_F(Flyout, SeekWindowClickSeeksToItsShareOfTheLength)
{
    // The last case has no track open.
    const struct { unsigned int length; int x; const wchar_t* mode; int playing; const wchar_t* command; } cases[] = {
        {240000, 0, L"playing", 1, L"seek sound to 0"},
        {240000, 100, L"playing", 1, L"seek sound to 120000"},
        {240000, 199, L"playing", 1, L"seek sound to 238800"},
        {14400000, 199, L"playing", 1, L"seek sound to 14328000"},
        {240000, 100, L"paused", 0, L"seek sound to 120000"},
        {240000, 100, nullptr, 0, L"seek sound to 0"},
    };
    for (const auto& c : cases) {
        open(true, c.mode, L"digitalvideo", c.length);
        isPlaying = c.playing;
        SendMessageW(flyout, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, 30));
        EXPECT_EQ((std::vector<std::wstring>{L"status sound length", c.command}), fake::mciCommands());
        EXPECT_EQ(0, isPlaying) << c.command;
        MSG message;
        EXPECT_EQ(c.playing != 0, PeekMessageW(&message, owner, WM_APP_PLAY, WM_APP_PLAY, PM_REMOVE) != FALSE)
            << c.command;
    }
    EXPECT_TRUE(fake::waitForMessageBoxes(1, 300).empty());
}

TEST_F(Flyout, VolumeSliderStartsAtTheVolumeAndOnlyDeactivationClosesIt)
{
    volume = 730;
    open(false);
    Numbers got;
    for (UINT query : {TBM_GETRANGEMIN, TBM_GETRANGEMAX, TBM_GETPOS, TBM_GETPAGESIZE, TBM_GETNUMTICS})
        got.push_back(SendMessageW(slider, query, 0, 0));
    EXPECT_EQ((Numbers{0, 1000, 730, 100, 11}), got);
    EXPECT_EQ(GetClassLongPtrW(owner, GCLP_HICON), static_cast<ULONG_PTR>(SendMessageW(flyout, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_TRUE(GetWindowLongPtrW(flyout, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(flyout, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(flyout, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(flyout));
    SendMessageW(flyout, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindowVisible(flyout));
}

// Down-is-left: Page Down and the Down arrow move towards silence. Without a track, a drag
// reports once per opening; a device without volume control, never.
TEST_F(Flyout, EveryVolumeStepIsStoredSentAndReportedOncePerOpening)
{
    open(false, L"playing");
    const struct { WPARAM key; int stored; } steps[] = {{VK_NEXT, 900}, {VK_DOWN, 899}, {VK_UP, 900}};
    for (const auto& step : steps) {
        SendMessageW(slider, WM_KEYDOWN, step.key, 0);
        SendMessageW(slider, WM_KEYUP, step.key, 0);
        EXPECT_EQ(step.stored, storedVolume());
        EXPECT_EQ(L"setaudio sound volume to " + std::to_wstring(step.stored), fake::mciCommands().back());
    }
    EXPECT_TRUE(fake::waitForMessageBoxes(1, 300).empty());

    open(false);
    for (int position = 500; position > 450; position -= 10)
        scroll(position);
    EXPECT_EQ(460, storedVolume());
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(2, 1000);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"音量変更エラー - Velmoris Player", boxes[0].caption);
    wchar_t text[1024];
    mciGetErrorStringW(MCIERR_INVALID_DEVICE_NAME, text, 1024);
    EXPECT_EQ(text, boxes[0].text);
    open(false);
    scroll(300);
    scroll(200);
    EXPECT_EQ(2u, fake::waitForMessageBoxes(3, 1000).size());

    open(false, L"playing", L"waveaudio");
    scroll(100);
    EXPECT_EQ(L"setaudio sound volume to 100", fake::mciCommands().back());
    EXPECT_EQ(2u, fake::waitForMessageBoxes(3, 300).size());
}

} // namespace
