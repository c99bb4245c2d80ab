#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/media_keys.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

using Commands = std::vector<std::wstring>;

class MediaKeys : public support::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        window = support::createTestWindow();
        // The play/pause key asks the window whether the device plays, as the tray click does.
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProc));
    }
    void TearDown() override
    {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        DestroyWindow(window);
        FolderTest::TearDown();
    }

    // The key as the system delivers it, then whatever the key posted, as the loop would run it.
    Commands press(WPARAM id)
    {
        fake::mciCalls.clear();
        EXPECT_EQ(0, mainWindowProc(window, WM_HOTKEY, id, 0));
        MSG message;
        while (PeekMessageW(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return fake::mciCommands();
    }

    HWND window = nullptr;
};

// Opening a track, then starting it.
Commands openAndPlay(const wchar_t* path)
{
    return {L"stop all", L"close all", std::wstring(L"open \"") + path + L"\" alias sound", L"set sound time format ms",
            L"setaudio sound volume to 1000", L"status sound mode", L"play all notify", L"status sound mode"};
}

// The menu's Next, Previous and Stop run even while a file or playlist dialog is open: so do the keys.
TEST_F(MediaKeys, EachKeyRunsTheActionOfTheClickOrTheMenu)
{
    const struct {
        const char* state; // of the second of three tracks
        WPARAM key;
        Commands sent;
    } cases[] = {
        {"playing", VK_MEDIA_PLAY_PAUSE,
         {L"status sound mode", L"capability sound device type", L"pause all", L"status sound mode"}},
        {"paused", VK_MEDIA_PLAY_PAUSE, {L"status sound mode", L"status sound mode", L"resume all", L"status sound mode"}},
        {"stopped", VK_MEDIA_PLAY_PAUSE, {L"status sound mode", L"status sound mode", L"play all notify", L"status sound mode"}},
        {"playing", VK_MEDIA_NEXT_TRACK, openAndPlay(L"C:\\a.wav")},
        {"playing", VK_MEDIA_PREV_TRACK, openAndPlay(L"C:\\c.wav")},
        {"playing", VK_MEDIA_STOP, {L"stop all", L"status sound mode", L"seek all to start"}},
        {"playing", 0, {}},
        {"playing", VK_PLAY, {}},
        {"playing", VK_MEDIA_PLAY_PAUSE + 1, {}},
        {"playing", static_cast<WPARAM>(IDHOT_SNAPDESKTOP), {}},
    };
    for (int dialogOpen : {0, 1}) {
        for (const auto& c : cases) {
            support::setPlaylist({L"C:\\c.wav", L"C:\\b.wav", L"C:\\a.wav"});
            fake::installMciDevice();
            currentPosition = 1;
            openTrack(window);
            if (std::string(c.state) != "stopped")
                startPlayback(window);
            if (std::string(c.state) == "paused")
                pausePlayback();
            modalDialogOpen = dialogOpen;
            EXPECT_EQ(c.sent, press(c.key)) << c.state << " key " << c.key << " dialog " << dialogOpen;
            EXPECT_TRUE(fake::messageBoxes().empty());
        }
    }
}

// Another program may hold any of the keys: nothing is shown, the others are held until the end.
TEST_F(MediaKeys, ARefusedKeyIsSilentAndTheOthersAreHeldUntilDestruction)
{
    const UINT keys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK, VK_MEDIA_STOP};
    for (UINT refused : {0u, keys[0], keys[1], keys[2], keys[3]}) {
        support::resetPlayerState();
        fake::refusedHotKey = refused;
        registerMediaKeys(window);
        std::vector<UINT> held;
        for (const fake::HotKey& key : fake::hotKeys) {
            EXPECT_EQ(window, key.window);
            EXPECT_EQ(0u, key.modifiers);
            EXPECT_EQ(static_cast<int>(key.key), key.id);
            held.push_back(key.key);
        }
        std::vector<UINT> expected;
        for (UINT key : keys)
            if (key != refused)
                expected.push_back(key);
        EXPECT_EQ(expected, held) << "refused " << refused;
        EXPECT_TRUE(fake::messageBoxes().empty()) << "refused " << refused;
        EXPECT_TRUE(fake::notifyCalls.empty()) << "refused " << refused;

        mainWindowProc(window, WM_DESTROY, 0, 0);
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_TRUE(fake::hotKeys.empty()) << "refused " << refused;
    }
}

} // namespace
