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
    // count tracks, nothing open.
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
    // The track at position opened, started or played to its end (stopped, isPlaying still 1); nothing recorded.
    void prepare(int position, Before before)
    {
        currentPosition = position;
        if (before >= OPENED && playlistCount() > 0 && openTrack(window) && before >= PLAYING)
            startPlayback(window);
        if (before == AT_ITS_END)
            fake::mci.mode = L"stopped";
        fake::mciCalls.clear();
    }
    // The files opened, each followed by " play" when a play was sent.
    static std::wstring opensAndPlays()
    {
        std::wstring seen;
        for (const std::wstring& command : fake::mciCommands()) {
            if (command.rfind(L"open \"", 0) == 0)
                seen += (seen.empty() ? L"" : L" ") + command.substr(6, command.size() - 19);
            else if (command.rfind(L"play ", 0) == 0)
                seen += L" play";
        }
        return seen;
    }
    // The shuffled order as playlist indices, checked to hold each entry once.
    static std::vector<long long> order(int count)
    {
        std::vector<long long> result;
        for (int i = 0; i < count; ++i)
            result.push_back(shuffleOrder[i] - playlist);
        const std::set<long long> distinct(result.begin(), result.end());
        EXPECT_EQ(static_cast<size_t>(count), distinct.size()) << "each entry once in the shuffled order";
        EXPECT_TRUE(count == 0 || (*distinct.begin() >= 0 && *distinct.rbegin() < count)) << "entries of the list";
        return result;
    }
};

TEST_F(PlayOrder, StepsInListOrder)
{
    const struct { int count, position, repeatOn; void (*step)(HWND); int opened, plays; } cases[] = {
        {0, 0, 0, nextTrack, -1, 0}, {0, 0, 0, previousTrack, -1, 0}, {0, 0, 0, onTrackEnded, -1, 0},
        {1, 0, 0, onTrackEnded, 0, 0}, {1, 0, 1, onTrackEnded, 0, 1}, {3, 0, 0, previousTrack, 2, 1},
        {3, 2, 0, previousTrack, 1, 1}, {3, 1, 0, nextTrack, 2, 1}, {3, 2, 0, nextTrack, 0, 1},
        {3, 2, 1, nextTrack, 0, 1}, {3, 1, 0, onTrackEnded, 2, 1}, {3, 2, 0, onTrackEnded, 0, 0},
        {3, 2, 1, onTrackEnded, 0, 1}, {3, 2, 0, newList, 0, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        prepare(c.position, c.step == onTrackEnded ? AT_ITS_END : PLAYING);
        c.step(window);
        const std::wstring at = std::to_wstring(c.position) + L" of " + std::to_wstring(c.count);
        const std::wstring expected = (c.opened < 0 ? L"" : track(c.opened)) + (c.plays ? L" play" : L"");
        EXPECT_EQ(expected, opensAndPlays()) << "the track opened after a step from " << at;
        EXPECT_EQ(c.plays, isPlaying) << "playing after a step from " << at;
        if (c.count == 0) {
            EXPECT_EQ((Texts{L"stop all", L"close all"}), fake::mciCommands()) << "an empty list closes the device";
        }
    }
}

// Each draws a new order (from the tick count) and opens its first track; a wrap while playing stops the device
// first, or the new order would keep the old track first as one that plays on.
TEST_F(PlayOrder, NewShuffledOrderOpensItsFirstTrack)
{
    const struct { int count, position, repeatOn; Before before; void (*step)(HWND); int plays; } cases[] = {
        {5, 0, 0, PLAYING, previousTrack, 1}, {5, 4, 0, PLAYING, nextTrack, 1}, {4, 3, 0, AT_ITS_END, onTrackEnded, 0},
        {4, 3, 1, AT_ITS_END, onTrackEnded, 1}, {4, 2, 0, OPENED, shuffleSwitchedOn, 0},
        {3, 2, 0, NOTHING_OPEN, newList, 0}, {0, 0, 0, NOTHING_OPEN, newList, 0},
    };
    for (const auto& c : cases) {
        fresh(c.count, c.repeatOn);
        shuffle = c.step != shuffleSwitchedOn; // on already, but where it is being switched on
        std::vector<long long> before;
        if (shuffle && c.before != NOTHING_OPEN && rebuildShuffleOrder(window))
            before = order(c.count);
        prepare(c.position, c.before);
        shuffle = 1;
        fake::tickCount = 7;
        c.step(window);
        const std::wstring at = std::to_wstring(c.position) + L" of " + std::to_wstring(c.count);
        const std::vector<long long> after = order(c.count);
        if (!before.empty()) {
            EXPECT_NE(before, after) << "the same order again after a step from " << at;
        }
        EXPECT_EQ(0, currentPosition) << "the position after a step from " << at;
        const std::wstring first = c.count ? shuffleOrder[0]->path : L"";
        EXPECT_EQ(first + (c.plays ? L" play" : L""), opensAndPlays()) << "the track opened after a step from " << at;
        EXPECT_EQ(c.plays, isPlaying) << "playing after a step from " << at;
    }
}

// Switched on while playing or paused, the track stays first.
TEST_F(PlayOrder, ShuffleOnKeepsTheTrackInPlayFirst)
{
    for (DWORD seed : {0u, 1u, 99999u}) {
        fresh(10);
        prepare(5, PLAYING);
        if (seed == 1)
            fake::mci.mode = L"paused";
        shuffle = 1;
        fake::tickCount = seed;
        shuffleSwitchedOn(window);
        EXPECT_EQ(L"", opensAndPlays()) << "the track in play was opened again";
        EXPECT_EQ(seed == 1 ? L"paused" : L"playing", fake::mci.mode) << "the track in play was stopped";
        EXPECT_EQ(5, order(10)[0]) << "the track in play is first in the new order";
        nextTrack(window);
        EXPECT_EQ(std::wstring(shuffleOrder[1]->path) + L" play", opensAndPlays()) << "the next of the new order";
    }
}

TEST_F(PlayOrder, ShuffleOffKeepsTheCurrentTrack)
{
    fresh(10);
    setShuffleOrder({9, 2, 4, 7, 0, 1, 3, 5, 6, 8});
    shuffle = 1;
    prepare(3, PLAYING);
    shuffle = 0;
    shuffleSwitchedOff();
    EXPECT_EQ(Texts{}, fake::mciCommands()) << "the track in play goes on";
    nextTrack(window);
    EXPECT_EQ(track(8) + L" play", opensAndPlays()) << "the entry after the one in play follows";
}

} // namespace
