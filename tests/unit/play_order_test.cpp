#include <gtest/gtest.h>

#include <set>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

std::wstring trackPath(int index) { return L"C:\\t" + std::to_wstring(index) + L".mp3"; }

enum Before { NOTHING_OPEN, OPENED, PLAYING, AT_ITS_END };

void newList(HWND window) { EXPECT_EQ(playlistCount() > 0, openFirstTrackOfNewList(window)); }

class PlayOrder : public support::WindowTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(fake::waitForMessageBoxes(1, 100).empty()) << "nothing here is reported";
        WindowTest::TearDown();
    }

    void fresh(int count, int repeatOn = 0)
    {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(trackPath(i));
        support::setPlaylist(paths);
        repeat = repeatOn;
    }

    // The track at position opened, started or played to its end (stopped with isPlaying still
    // 1, as MCI leaves it), with nothing recorded yet.
    void prepare(int position, Before before)
    {
        currentPosition = position;
        if (before >= OPENED && playlistCount() > 0) {
            ASSERT_TRUE(openTrack(window));
            if (before >= PLAYING)
                startPlayback(window);
        }
        if (before == AT_ITS_END)
            fake::mciDevice.mode = L"stopped";
        fake::mciCalls.clear();
    }

    // The files opened since the last clear, each followed by " play" when a play was sent.
    static std::wstring opensAndPlays()
    {
        std::wstring seen;
        for (const std::wstring& command : fake::mciCommands()) {
            if (command.compare(0, 6, L"open \"") == 0)
                seen += (seen.empty() ? L"" : L" ") + command.substr(6, command.size() - 6 - 13);
            else if (command.compare(0, 5, L"play ") == 0)
                seen += L" play";
        }
        return seen;
    }

    // Slots 0..count-1 hold every track once, slot count the terminator.
    static void expectPermutation(int count)
    {
        std::set<const PlaylistEntry*> seen(shuffleOrder, shuffleOrder + count);
        EXPECT_EQ(static_cast<size_t>(count), seen.size());
        EXPECT_TRUE(count == 0 || (*seen.begin() >= &playlist[0] && *seen.rbegin() < &playlist[count]));
        EXPECT_EQ(&playlist[count], shuffleOrder[count]);
    }
};

TEST_F(PlayOrder, StepsInListOrder)
{
    const struct {
        const char* label;
        int count, position, repeatOn;
        void (*step)(HWND);
        int positionAfter, openedTrack, plays; // openedTrack -1: none
    } cases[] = {
        {"empty next", 0, 0, 0, nextTrack, 0, -1, 0},
        {"empty previous", 0, 0, 0, previousTrack, 0, -1, 0},
        {"empty end", 0, 0, 0, onTrackEnded, 0, -1, 0},
        {"one track ends, repeat off", 1, 0, 0, onTrackEnded, 0, 0, 0},
        {"one track ends, repeat on", 1, 0, 1, onTrackEnded, 0, 0, 1},
        {"previous from the first", 3, 0, 0, previousTrack, 2, 2, 1},
        {"previous", 3, 2, 0, previousTrack, 1, 1, 1},
        {"next", 3, 1, 0, nextTrack, 2, 2, 1},
        {"next from the last, repeat off", 3, 2, 0, nextTrack, 0, 0, 1},
        {"next from the last, repeat on", 3, 2, 1, nextTrack, 0, 0, 1},
        {"middle track ends", 3, 1, 0, onTrackEnded, 2, 2, 1},
        {"last track ends, repeat off", 3, 2, 0, onTrackEnded, 0, 0, 0},
        {"last track ends, repeat on", 3, 2, 1, onTrackEnded, 0, 0, 1},
        {"new list", 3, 2, 0, newList, 0, 0, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        prepare(c.position, c.step == onTrackEnded ? AT_ITS_END : PLAYING);
        c.step(window);
        EXPECT_EQ(c.positionAfter, currentPosition) << c.label;
        std::wstring opened = c.openedTrack < 0 ? L"" : trackPath(c.openedTrack);
        EXPECT_EQ(opened + (c.plays ? L" play" : L""), opensAndPlays()) << c.label;
        EXPECT_EQ(c.plays, isPlaying) << c.label;
        if (c.count == 0) {
            EXPECT_EQ((std::vector<std::wstring>{L"stop all", L"close all"}), fake::mciCommands()) << c.label;
        }
    }
}

// Each of these builds a new order and opens its first track; the wraps stop the device first,
// or the rebuild would take the old track for one that plays on.
TEST_F(PlayOrder, NewShuffledOrderOpensItsFirstTrack)
{
    const struct {
        const char* label;
        int count, position, repeatOn;
        Before before;
        void (*step)(HWND);
        int stopsFirst, plays;
    } cases[] = {
        {"previous from the first", 5, 0, 0, PLAYING, previousTrack, 1, 1},
        {"next from the last", 5, 4, 0, PLAYING, nextTrack, 1, 1},
        {"last track ends, repeat off", 4, 3, 0, AT_ITS_END, onTrackEnded, 0, 0},
        {"last track ends, repeat on", 4, 3, 1, AT_ITS_END, onTrackEnded, 1, 1},
        {"switched on while stopped", 4, 2, 0, OPENED, shuffleSwitchedOn, 0, 0},
        {"new list", 3, 2, 0, NOTHING_OPEN, newList, 0, 0},
        {"empty new list", 0, 0, 0, NOTHING_OPEN, newList, 0, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        // Shuffle was on already, except where it is being switched on.
        shuffle = c.step != shuffleSwitchedOn;
        if (shuffle && c.before != NOTHING_OPEN)
            rebuildShuffleOrder(window);
        prepare(c.position, c.before);
        shuffle = 1;
        PlaylistEntry** oldOrder = shuffleOrder;
        c.step(window);
        std::vector<std::wstring> commands = fake::mciCommands();
        commands.resize(c.stopsFirst ? 2 : 1);
        EXPECT_EQ(c.stopsFirst ? L"stop all" : L"status sound mode", commands.front()) << c.label;
        EXPECT_EQ(L"status sound mode", commands.back()) << c.label;
        EXPECT_NE(oldOrder, shuffleOrder) << c.label;
        expectPermutation(c.count);
        EXPECT_EQ(0, currentPosition) << c.label;
        std::wstring opened = c.count ? shuffleOrder[0]->path : L"";
        EXPECT_EQ(opened + (c.plays ? L" play" : L""), opensAndPlays()) << c.label;
        EXPECT_EQ(c.plays, isPlaying) << c.label;
    }
}

TEST_F(PlayOrder, ShuffleSwitchedOnDuringPlayOrPauseKeepsTheTrackFirst)
{
    for (DWORD seed : {0u, 1u, 99999u}) {
        fresh(10);
        prepare(5, PLAYING);
        if (seed == 1)
            fake::mciDevice.mode = L"paused";
        shuffle = 1;
        fake::tickCount = seed;
        shuffleSwitchedOn(window);
        EXPECT_EQ(std::vector<std::wstring>{L"status sound mode"}, fake::mciCommands()) << seed;
        EXPECT_EQ(0, currentPosition);
        EXPECT_EQ(&playlist[5], shuffleOrder[0]) << seed;
        expectPermutation(10);
        nextTrack(window);
        EXPECT_EQ(std::wstring(shuffleOrder[1]->path) + L" play", opensAndPlays()) << seed;
    }
}

TEST_F(PlayOrder, ShuffleSwitchedOffKeepsTheCurrentTrack)
{
    fresh(10);
    support::setShuffleOrder({9, 2, 4, 7, 0, 1, 3, 5, 6, 8});
    shuffle = 1;
    prepare(3, PLAYING);
    shuffle = 0;
    shuffleSwitchedOff();
    EXPECT_EQ(7, currentPosition);
    EXPECT_TRUE(fake::mciCommands().empty()) << "the device is not touched";
    nextTrack(window);
    EXPECT_EQ(trackPath(8) + L" play", opensAndPlays());

    support::setPlaylist({}); // the order now refers to a list that is gone
    currentPosition = 3;
    shuffleSwitchedOff();
    EXPECT_EQ(0, currentPosition);
    fresh(3); // no order built yet
    currentPosition = 2;
    shuffleSwitchedOff();
    EXPECT_EQ(0, currentPosition);
}

// The same tick count draws the same order, another count another one.
TEST_F(PlayOrder, ShuffleIsDrawnFromTheTickCount)
{
    std::vector<std::vector<long long>> orders;
    for (DWORD tick : {5u, 5u, 6u}) {
        fresh(20);
        fake::tickCount = tick;
        rebuildShuffleOrder(window);
        orders.emplace_back();
        for (int i = 0; i < 20; ++i)
            orders.back().push_back(shuffleOrder[i] - playlist);
    }
    EXPECT_EQ(orders[0], orders[1]);
    EXPECT_NE(orders[0], orders[2]);
}

} // namespace
