#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "app/app_messages.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"
#include "ui/seek_window.h"
#include "ui/volume_dialog.h"

namespace {

struct PlacementCase {
    int width, height;
    POINT cursor;
    POINT expected;
};

TEST(Placement, CentresOnTheCursorAndEndsAtTheRightAndBottomEdges)
{
    const RECT desktop = {0, 0, 1024, 700};
    const PlacementCase cases[] = {
        {200, 60, {500, 300}, {400, 270}},
        {151, 61, {500, 300}, {425, 270}},
        {200, 60, {5, 5}, {0, 0}},
        {200, 60, {1019, 695}, {824, 640}},
        // Larger than the screen: the right and bottom edges win, the corner goes negative.
        {1200, 800, {500, 300}, {-176, -100}},
    };
    for (const PlacementCase& c : cases) {
        POINT place = placementAtCursor(desktop, c.width, c.height, c.cursor);
        EXPECT_EQ(c.expected.x, place.x) << c.width << " at " << c.cursor.x;
        EXPECT_EQ(c.expected.y, place.y) << c.height << " at " << c.cursor.y;
    }
}

class SeekWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        fake::installMciDevice();
        instanceHandle = GetModuleHandleW(nullptr);
        owner = support::createTestWindow();
    }
    void TearDown() override
    {
        if (IsWindow(seek))
            DestroyWindow(seek);
        DestroyWindow(owner);
        support::resetPlayerState();
    }

    void open(unsigned int lengthMs, unsigned int positionMs, const wchar_t* mode)
    {
        fake::mciDevice.open = true;
        fake::mciDevice.type = L"digitalvideo";
        fake::mciDevice.length = lengthMs;
        fake::mciDevice.position = positionMs;
        fake::mciDevice.mode = mode;
        openSeekWindow(owner);
        seek = FindWindowW(seekWindowClassName, L"シーク - Velmoris Player");
        ASSERT_NE(nullptr, seek);
        fake::mciCalls.clear();
    }

    bool playRequested()
    {
        MSG message;
        return PeekMessageW(&message, owner, WM_APP_PLAY, WM_APP_PLAY, PM_REMOVE) != FALSE;
    }

    HWND owner = nullptr;
    HWND seek = nullptr;
};

TEST_F(SeekWindow, OpensAsATopmostPopupWithTheDevicesTimes)
{
    seekDisplayState.cursorX = 77;
    open(225000, 83500, L"playing");
    RECT frame;
    GetWindowRect(seek, &frame);
    EXPECT_EQ(200, frame.right - frame.left);
    EXPECT_EQ(60, frame.bottom - frame.top);
    EXPECT_EQ(owner, GetWindow(seek, GW_OWNER));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE),
              GetWindowLongPtrW(seek, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_BORDER));
    EXPECT_TRUE(GetWindowLongPtrW(seek, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(225000, seekDisplayState.lengthMs);
    EXPECT_EQ(83500, seekDisplayState.positionMs);
    EXPECT_EQ(0, seekDisplayState.cursorX);
}

struct SeekCase {
    unsigned int lengthMs;
    int x;
    const wchar_t* command;
};

TEST_F(SeekWindow, ClickSeeksToItsShareOfTheLengthAndResumesPlayback)
{
    const SeekCase cases[] = {
        {240000, 0, L"seek sound to 0"},
        {240000, 100, L"seek sound to 120000"},
        {240000, 199, L"seek sound to 238800"},
        {14400000, 199, L"seek sound to 14328000"},
    };
    for (const SeekCase& c : cases) {
        open(c.lengthMs, 0, L"playing");
        isPlaying = 1;
        SendMessageW(seek, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, 30));
        EXPECT_EQ((std::vector<std::wstring>{L"status sound length", c.command}), fake::mciCommands());
        EXPECT_EQ(0, isPlaying);
        EXPECT_TRUE(playRequested()) << c.command;
        DestroyWindow(seek);
    }
}

TEST_F(SeekWindow, ClickWhileStoppedOrWithoutATrackLeavesPlaybackStopped)
{
    open(240000, 0, L"paused");
    SendMessageW(seek, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
    EXPECT_EQ(120000u, fake::mciDevice.position);
    EXPECT_FALSE(playRequested());
    DestroyWindow(seek);

    open(240000, 0, L"");
    fake::mciDevice.open = false;
    SendMessageW(seek, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
    EXPECT_EQ(L"seek sound to 0", fake::mciCommands().back());
    EXPECT_FALSE(playRequested());
    EXPECT_TRUE(fake::waitForMessageBoxes(1, 300).empty());
}

TEST_F(SeekWindow, LosingActivationClosesIt)
{
    open(240000, 0, L"playing");
    SendMessageW(seek, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindow(seek));
}

class VolumeDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        fake::installMciDevice();
        folder = support::makeTempFolder(L"volume");
        wcscpy(settingsFilePath, (folder + L"\\taro Velmoris Player.ini").c_str());
        owner = support::createTestWindow();
    }
    void TearDown() override
    {
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        DestroyWindow(owner);
        support::removeTree(folder);
        support::resetPlayerState();
    }

    // The same template and procedure as the modal dialog, without a loop of its own.
    void open()
    {
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_VOLUME), owner, volumeDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        slider = GetDlgItem(dialog, IDC_VOLUME_TRACKBAR);
        ASSERT_NE(nullptr, slider);
        fake::mciCalls.clear();
    }

    void openTrackOfType(const wchar_t* type)
    {
        fake::mciDevice.open = true;
        fake::mciDevice.type = type;
        fake::mciDevice.mode = L"playing";
    }

    void key(WPARAM virtualKey)
    {
        SendMessageW(slider, WM_KEYDOWN, virtualKey, 0);
        SendMessageW(slider, WM_KEYUP, virtualKey, 0);
    }

    void scroll(int position)
    {
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
    }

    std::string storedVolume() const
    {
        std::string ini = support::readFileBytes(settingsFilePath);
        size_t at = ini.find("VOLUME=");
        return at == std::string::npos ? "" : ini.substr(at + 7, ini.find('\r', at) - at - 7);
    }

    std::wstring folder;
    HWND owner = nullptr;
    HWND dialog = nullptr;
    HWND slider = nullptr;
};

TEST_F(VolumeDialog, SliderStartsAtTheVolumeOnATenStepScale)
{
    volume = 730;
    open();
    EXPECT_EQ(0, SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1000, SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(730, SendMessageW(slider, TBM_GETPOS, 0, 0));
    EXPECT_EQ(100, SendMessageW(slider, TBM_GETPAGESIZE, 0, 0));
    EXPECT_EQ(11, SendMessageW(slider, TBM_GETNUMTICS, 0, 0));
    EXPECT_EQ(GetClassLongPtrW(owner, GCLP_HICON), static_cast<ULONG_PTR>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// Down-is-left: Page Down and the Down arrow move towards silence.
TEST_F(VolumeDialog, EveryStepIsStoredAndSentToTheDevice)
{
    openTrackOfType(L"digitalvideo");
    open();
    const struct {
        WPARAM key;
        const char* stored;
    } steps[] = {{VK_NEXT, "900"}, {VK_DOWN, "899"}, {VK_UP, "900"}};
    for (const auto& step : steps) {
        fake::mciCalls.clear();
        key(step.key);
        EXPECT_EQ(step.stored, storedVolume());
        EXPECT_EQ(L"setaudio sound volume to " + std::wstring(step.stored, step.stored + 3), fake::mciCommands().back());
    }
    EXPECT_EQ(900, volume);
    EXPECT_TRUE(fake::waitForMessageBoxes(1, 300).empty());
}

TEST_F(VolumeDialog, FailuresAreReportedOncePerOpeningAndUnsupportedOnesNever)
{
    open();
    for (int position = 500; position > 450; position -= 10)
        scroll(position);
    EXPECT_EQ("460", storedVolume());
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(2, 1000);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"音量変更エラー - Velmoris Player", boxes[0].caption);
    wchar_t text[1024];
    mciGetErrorStringW(MCIERR_INVALID_DEVICE_NAME, text, 1024);
    EXPECT_EQ(text, boxes[0].text);

    open();
    scroll(300);
    scroll(200);
    EXPECT_EQ(2u, fake::waitForMessageBoxes(3, 1000).size());

    fake::reset();
    fake::installMciDevice();
    openTrackOfType(L"waveaudio");
    open();
    scroll(100);
    EXPECT_EQ(L"setaudio sound volume to 100", fake::mciCommands().back());
    EXPECT_TRUE(fake::waitForMessageBoxes(1, 300).empty());
}

TEST_F(VolumeDialog, EscapeAndEnterLeaveItOpenAndDeactivationClosesIt)
{
    open();
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

// The compiled template 201 read back: plain form, Japanese, one trackbar.
TEST(VolumeTemplate, IsThePlainJapaneseDialogWithOneTrackbar)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(IDD_VOLUME), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(nullptr, found);
    const WORD* words = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    const DLGTEMPLATE* header = reinterpret_cast<const DLGTEMPLATE*>(words);
    EXPECT_EQ(0x90C800CCu, header->style);
    EXPECT_EQ(0u, header->dwExtendedStyle);
    EXPECT_EQ(1, header->cdit);
    EXPECT_EQ(0, header->x);
    EXPECT_EQ(0, header->y);
    EXPECT_EQ(150, header->cx);
    EXPECT_EQ(30, header->cy);
    const WORD* next = words + sizeof(DLGTEMPLATE) / sizeof(WORD);
    EXPECT_EQ(0, next[0]) << "no menu";
    EXPECT_EQ(0, next[1]) << "the standard dialog class";
    const wchar_t* caption = reinterpret_cast<const wchar_t*>(next + 2);
    EXPECT_STREQ(L"音量", caption);
    const WORD* font = next + 2 + wcslen(caption) + 1;
    EXPECT_EQ(10, font[0]);
    const wchar_t* face = reinterpret_cast<const wchar_t*>(font + 1);
    EXPECT_STREQ(L"Ms Shell Dlg 2", face);

    const WORD* after = font + 1 + wcslen(face) + 1;
    uintptr_t aligned = (reinterpret_cast<uintptr_t>(after) + 3) & ~static_cast<uintptr_t>(3);
    const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(aligned);
    EXPECT_EQ(0x50010401u, item->style);
    EXPECT_EQ(7, item->x);
    EXPECT_EQ(7, item->y);
    EXPECT_EQ(136, item->cx);
    EXPECT_EQ(23, item->cy);
    EXPECT_EQ(IDC_VOLUME_TRACKBAR, item->id);
    const wchar_t* className = reinterpret_cast<const wchar_t*>(item + 1);
    EXPECT_EQ(0, _wcsicmp(L"msctls_trackbar32", className)) << "class names ignore case";
    EXPECT_STREQ(L"音量", className + wcslen(className) + 1);
}

} // namespace
