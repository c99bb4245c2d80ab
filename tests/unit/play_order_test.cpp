#include "tests/unit/test_support.h"

#include <set>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "settings/settings.h"

namespace {

std::wstring track(int index) { return L"C:\\t" + std::to_wstring(index) + L".mp3"; }
void newList(HWND window) { EXPECT_EQ(playlistCount() > 0, openFirstTrackOfNewList(window)); }
enum Before { NOTHING_OPEN, OPENED, PLAYING, AT_ITS_END };

struct PlayOrder : Unit {
    void TearDown() override
    {
        EXPECT_EQ(Texts{}, boxes(0)) << "nothing here is reported";
        Unit::TearDown();
    }
    // count tracks, the one at position opened, started or played to its end (stopped, isPlaying still 1).
    void fresh(int count, int repeatOn = 0)
    {
        resetPlayerState();
        addTrayIcon(window);
        Texts paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(track(i));
        setPlaylist(paths);
        repeat = repeatOn;
    }
    void prepare(int position, Before before)
    {
        currentPosition = position;
        if (before >= OPENED && playlistCount() > 0) {
            ASSERT_TRUE(openTrack(window));
        }
        if (before >= PLAYING && playlistCount() > 0)
            startPlayback(window);
        if (before == AT_ITS_END)
            fake::mci.mode = L"stopped";
        fake::mciCalls.clear();
    }
    // The files opened, each followed by " play" when a play was sent.
    static std::wstring opensAndPlays()
    {
        std::wstring seen;
        for (const std::wstring& command : fake::mciCommands())
            if (command.compare(0, 6, L"open \"") == 0)
                seen += (seen.empty() ? L"" : L" ") + command.substr(6, command.size() - 19);
            else if (command.compare(0, 5, L"play ") == 0)
                seen += L" play";
        return seen;
    }
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
    const struct { int count, position, repeatOn; void (*step)(HWND); int positionAfter, opened, plays; } cases[] = {
        {0, 0, 0, nextTrack, 0, -1, 0}, {0, 0, 0, previousTrack, 0, -1, 0}, {0, 0, 0, onTrackEnded, 0, -1, 0},
        {1, 0, 0, onTrackEnded, 0, 0, 0}, {1, 0, 1, onTrackEnded, 0, 0, 1}, {3, 0, 0, previousTrack, 2, 2, 1},
        {3, 2, 0, previousTrack, 1, 1, 1}, {3, 1, 0, nextTrack, 2, 2, 1}, {3, 2, 0, nextTrack, 0, 0, 1},
        {3, 2, 1, nextTrack, 0, 0, 1}, {3, 1, 0, onTrackEnded, 2, 2, 1}, {3, 2, 0, onTrackEnded, 0, 0, 0},
        {3, 2, 1, onTrackEnded, 0, 0, 1}, {3, 2, 0, newList, 0, 0, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        prepare(c.position, c.step == onTrackEnded ? AT_ITS_END : PLAYING);
        c.step(window);
        EXPECT_EQ(c.positionAfter, currentPosition) << c.count << c.position << c.repeatOn;
        EXPECT_EQ((c.opened < 0 ? L"" : track(c.opened)) + (c.plays ? L" play" : L""), opensAndPlays()) << c.count << c.position;
        EXPECT_EQ(c.plays, isPlaying);
        if (c.count == 0) {
            EXPECT_EQ((Texts{L"stop all", L"close all"}), fake::mciCommands());
        }
    }
}

// Each builds a new order and opens its first track; the wraps stop the device first, or the
// rebuild would keep the old track first as one that plays on.
TEST_F(PlayOrder, NewShuffledOrderOpensItsFirstTrack)
{
    const struct { int count, position, repeatOn; Before before; void (*step)(HWND); int stopsFirst, plays; } cases[] = {
        {5, 0, 0, PLAYING, previousTrack, 1, 1}, {5, 4, 0, PLAYING, nextTrack, 1, 1}, {4, 3, 0, AT_ITS_END, onTrackEnded, 0, 0},
        {4, 3, 1, AT_ITS_END, onTrackEnded, 1, 1}, {4, 2, 0, OPENED, shuffleSwitchedOn, 0, 0},
        {3, 2, 0, NOTHING_OPEN, newList, 0, 0}, {0, 0, 0, NOTHING_OPEN, newList, 0, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        shuffle = c.step != shuffleSwitchedOn; // on already, but where it is being switched on
        if (shuffle && c.before != NOTHING_OPEN)
            rebuildShuffleOrder(window);
        prepare(c.position, c.before);
        shuffle = 1;
        PlaylistEntry** oldOrder = shuffleOrder;
        c.step(window);
        Texts sent = fake::mciCommands();
        sent.resize(c.stopsFirst ? 2 : 1);
        EXPECT_EQ(c.stopsFirst ? L"stop all" : L"status sound mode", sent.front()) << c.count << c.position;
        EXPECT_EQ(L"status sound mode", sent.back());
        EXPECT_NE(oldOrder, shuffleOrder);
        expectPermutation(c.count);
        EXPECT_EQ(0, currentPosition);
        EXPECT_EQ((c.count ? shuffleOrder[0]->path : L"") + std::wstring(c.plays ? L" play" : L""), opensAndPlays());
        EXPECT_EQ(c.plays, isPlaying);
    }
}

// Switched on while playing or paused, the track stays first; the same tick count draws the same order.
TEST_F(PlayOrder, ShuffleOnKeepsTheTrackFirstAndIsDrawnFromTheTickCount)
{
    for (DWORD seed : {0u, 1u, 99999u}) {
        fresh(10);
        prepare(5, PLAYING);
        if (seed == 1)
            fake::mci.mode = L"paused";
        shuffle = 1, fake::tickCount = seed;
        shuffleSwitchedOn(window);
        EXPECT_EQ(Texts{L"status sound mode"}, fake::mciCommands()) << seed;
        EXPECT_EQ(0, currentPosition);
        EXPECT_EQ(&playlist[5], shuffleOrder[0]) << seed;
        expectPermutation(10);
        nextTrack(window);
        EXPECT_EQ(std::wstring(shuffleOrder[1]->path) + L" play", opensAndPlays()) << seed;
    }
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

TEST_F(PlayOrder, ShuffleOffKeepsTheCurrentTrack)
{
    fresh(10);
    setShuffleOrder({9, 2, 4, 7, 0, 1, 3, 5, 6, 8});
    shuffle = 1;
    prepare(3, PLAYING);
    shuffle = 0;
    shuffleSwitchedOff();
    EXPECT_EQ(7, currentPosition);
    EXPECT_EQ(Texts{}, fake::mciCommands());
    nextTrack(window);
    EXPECT_EQ(track(8) + L" play", opensAndPlays());
    setPlaylist({}); // the order now refers to a list that is gone
    currentPosition = 3;
    shuffleSwitchedOff();
    EXPECT_EQ(0, currentPosition);
}

} // namespace
