#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"
#include "ui/tray_menu.h"

namespace {

using Lines = std::vector<std::wstring>;

// One line per item: "text #id" plus " checked", " radio", " grayed"; "text >" for a popup,
// "---" for a separator. Popups carry no state of their own.
Lines readMenu(HMENU menu)
{
    Lines lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[1100] = L"";
        MENUITEMINFOW item = {sizeof(item), MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU,
                              0, 0, 0, nullptr, nullptr, nullptr, 0, text, 1100, nullptr};
        std::wstring line = GetMenuItemInfoW(menu, i, TRUE, &item) ? text : L"<unreadable>";
        if (item.fType & MFT_SEPARATOR) {
            line = L"---";
        } else if (item.hSubMenu) {
            line += L" >";
        } else {
            line += L" #" + std::to_wstring(item.wID);
            if (item.fState & MFS_CHECKED)
                line += (item.fType & MFT_RADIOCHECK) ? L" radio" : L" checked";
            if (item.fState & MFS_GRAYED)
                line += L" grayed";
        }
        lines.push_back(line);
    }
    return lines;
}

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
    }
    void TearDown() override
    {
        DestroyMenu(menu);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
        support::resetPlayerState();
    }

    // Keeps the menu for destruction and reads it.
    Lines take(HMENU built)
    {
        DestroyMenu(menu);
        menu = built;
        return readMenu(menu);
    }

    HMENU menu = nullptr;
};

// Each setting checks its own item only (AutoPlay follows the HKEY_CLASSES_ROOT key); every
// command but those that depend on the device is there.
TEST_F(TrayMenu, EachSettingChecksItsItem)
{
    const UINT ids[] = {IDM_SORT_ON_OPEN, IDM_SORT_BY_FULL_PATH, IDM_SORT_LOADED_PLAYLIST, IDM_REPEAT,
                        IDM_SHUFFLE, IDM_BALLOON_ON_OPEN, IDM_AUTOPLAY_REGISTER};
    int* settings[] = {&sortOnOpen, &sortByFullPath, &sortLoadedPlaylist, &repeat, &shuffle, &balloonOnOpen, nullptr};
    for (int on = -1; on < 7; ++on) {
        if (on >= 0 && settings[on])
            *settings[on] = 1;
        if (on == 6) {
            ASSERT_EQ(ERROR_SUCCESS, RegSetValueW(HKEY_CLASSES_ROOT, L"VelmorisPlayer", REG_SZ, L"", 0));
        }
        take(buildTrayMenu());
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(i == on ? MF_CHECKED : 0u, GetMenuState(menu, ids[i], MF_BYCOMMAND) & MF_CHECKED) << ids[i];
        for (UINT id = IDM_EXIT; id <= IDM_SORT_LOADED_PLAYLIST; ++id)
            EXPECT_TRUE(id == IDM_PAUSE || id == IDM_STOP || GetMenuState(menu, id, MF_BYCOMMAND) != ~0u) << id;
        if (on >= 0 && settings[on])
            *settings[on] = 0;
    }
}

TEST_F(TrayMenu, MessageDisplayTypeCarriesTheBullet)
{
    for (int type : {0, 1, 2, 3, -1}) {
        messageDisplayType = type;
        take(buildTrayMenu());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(i == type, (GetMenuState(menu, IDM_MSG_MESSAGE_BOX + i, MF_BYCOMMAND) & MF_CHECKED) != 0) << type;
    }
}

TEST_F(TrayMenu, PlayPauseAndStopFollowTheDevice)
{
    const Lines pause = {L"一時停止(&P) #1009", L"停止(&S) #1010"}, playStop = {L"再生(&P) #1008", L"停止(&S) #1010"};
    // Type nullptr: nothing open, every query fails. The items are those from the third one on
    // up to "前へ(&M)".
    const struct { const char* what; int playing; const wchar_t *type, *mode; Lines items; } cases[] = {
        {"playing MIDI", 1, L"sequencer", L"playing", {L"一時停止(&P) #1009 grayed", L"停止(&S) #1010"}},
        {"playing wave", 1, L"waveaudio", L"playing", pause},
        {"paused", 0, L"waveaudio", L"paused", playStop},
        {"stopped", 0, L"waveaudio", L"stopped", {L"再生(&P) #1008"}},
        {"seeking", 0, L"waveaudio", L"seeking", {L"再生(&P) #1008"}},
        {"nothing open", 0, nullptr, L"", playStop},
        {"playing, queries failing", 1, nullptr, L"", pause},
    };
    for (const auto& c : cases) {
        fake::installMciDevice();
        fake::mciDevice.open = c.type != nullptr;
        fake::mciDevice.type = c.type ? c.type : L"";
        fake::mciDevice.mode = c.mode;
        isPlaying = c.playing;
        fake::mciCalls.clear();
        Lines top = take(buildTrayMenu());
        Lines expected = c.items;
        expected.push_back(L"前へ(&M) #1011");
        EXPECT_EQ(expected, Lines(top.begin() + 2, top.begin() + 2 + static_cast<long>(expected.size()))) << c.what;
        Lines queries = {L"capability sound device type", L"status sound mode"};
        EXPECT_EQ(Lines(queries.begin() + (c.playing ? 0 : 1), queries.end()), fake::mciCommands()) << c.what;
    }
}

TEST_F(TrayMenu, SelectionListsFileNamesInPlayOrderWithTheCurrentPositionMarked)
{
    const Lines abc = {L"C:\\Music\\a.mp3", L"C:\\Music\\b.wav", L"D:\\Other\\c"};
    const std::wstring name(300, L'n'), extension = L"." + std::wstring(299, L'e'), fits(256, L'k');
    // An empty order: none built yet; at: the current position.
    const struct { const char* what; Lines paths; int shuffle; std::vector<int> order; int at; Lines items; } cases[] = {
        {"empty", {}, 0, {}, 0, {}},
        {"list order", abc, 0, {}, 1, {L"a.mp3 #2000", L"b.wav #2001 radio", L"c #2002"}},
        {"shuffled", abc, 1, {2, 0, 1}, 0, {L"c #2000 radio", L"a.mp3 #2001", L"b.wav #2002"}},
        {"shuffled without an order", abc, 1, {}, 0, {L"a.mp3 #2000 radio", L"a.mp3 #2001", L"a.mp3 #2002"}},
        {"file names only",
         {L"C:\\One\\same.mp3", L"\\\\host\\share\\Two\\same.mp3", L"E:song.v1.ogg", L"C:\\dir.x\\name",
          L"Z:/music/R&B.mp3"},
         0, {}, 4, {L"same.mp3 #2000", L"same.mp3 #2001", L"song.v1.ogg #2002", L"name #2003", L"R&B.mp3 #2004 radio"}},
        {"overlong name and extension cut", {L"C:\\x\\" + name + extension, L"C:\\x\\" + fits + L".mp3"}, 0, {}, 0,
         {std::wstring(255, L'n') + L"\u2026." + std::wstring(254, L'e') + L"\u2026 #2000 radio", fits + L".mp3 #2001"}},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        support::setPlaylist(c.paths);
        if (!c.order.empty())
            support::setShuffleOrder(c.order);
        shuffle = c.shuffle;
        currentPosition = c.at;
        EXPECT_EQ(c.items, take(buildSelectSubmenu())) << c.what;
    }
}

// A menu of the full length takes minutes to build under Wine; the bound is checked on its own:
// ids from 2000 up to 65535.
TEST(TraySelection, ListEndsAtTheLastSixteenBitId)
{
    const int cases[][2] = {{0, 0}, {3, 3}, {63535, 63535}, {63536, 63536}, {63537, 63536}, {1000000, 63536}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], selectionLength(c[0])) << c[0];
}

} // namespace
