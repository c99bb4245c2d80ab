#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

// Georgian is in no ANSI code page, whatever the machine's.
const std::wstring outside = L"C:\\\u10D0\u66F2.wav";

TEST(OpenNames, NameOutsideTheAnsiCodePageOpensByItsShortNameWhenThatOneFits)
{
    struct Case {
        const wchar_t* label;
        std::wstring path;
        std::wstring shortName; // empty: the file has none
        std::wstring opened;
    } cases[] = {
        {L"ANSI name", L"C:\\plain.wav", L"C:\\PLAIN~1.WAV", L"C:\\plain.wav"},
        {L"short name", outside, L"C:\\__1~~V1J.WAV", L"C:\\__1~~V1J.WAV"},
        {L"no short name", outside, L"", outside},
        {L"short name outside too", outside, L"C:\\\u10D0~1.WAV", outside},
    };
    HWND window = support::createTestWindow();
    for (const Case& c : cases) {
        support::resetPlayerState();
        fake::installMciDevice();
        if (!c.shortName.empty())
            fake::shortNames.push_back({c.path, c.shortName});
        support::setPlaylist({c.path});
        EXPECT_TRUE(openTrack(window)) << c.label;
        EXPECT_EQ(L"open \"" + c.opened + L"\" alias sound", fake::mciCommands().at(2)) << c.label;
        EXPECT_EQ(c.path, playlist[0].path) << c.label;
    }
    DestroyWindow(window);
    support::resetPlayerState();
}

} // namespace
