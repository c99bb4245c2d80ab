#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

std::wstring trackPath(int index)
{
    return L"C:\\t" + std::to_wstring(index) + L".mp3";
}

class PlayOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = support::createTestWindow();
        fresh();
    }
    void TearDown() override
    {
        EXPECT_TRUE(fake::waitForMessageBoxes(1, 100).empty()) << "nothing here is reported";
        DestroyWindow(window);
        support::resetPlayerState();
    }

    void fresh()
    {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
    }

    void tracks(int count)
    {
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(trackPath(i));
        support::setPlaylist(paths);
    }

    // The track at the current position opened and playing (or, when ended, stopped at its end
    // with isPlaying still 1, as MCI leaves it), with nothing recorded yet.
    void playing(bool ended = false)
    {
        if (playlist[0].path[0] != L'\0') {
            ASSERT_TRUE(openTrack(window));
            startPlayback(window);
            ASSERT_EQ(1, isPlaying);
        }
        if (ended)
            fake::mciDevice.mode = L"stopped";
        fake::mciCalls.clear();
    }

    // The files opened since the last clear, in order.
    static std::vector<std::wstring> opened()
    {
        std::vector<std::wstring> paths;
        for (const std::wstring& command : fake::mciCommands()) {
            if (command.compare(0, 6, L"open \"") == 0)
                paths.push_back(command.substr(6, command.size() - 6 - 13));
        }
        return paths;
    }

    static bool played()
    {
        for (const std::wstring& command : fake::mciCommands()) {
            if (command.compare(0, 5, L"play ") == 0)
                return true;
        }
        return false;
    }

    // Slots 0..count-1 hold every track once, slot count the terminator.
    static void expectPermutation(int count)
    {
        std::set<const PlaylistEntry*> seen;
        for (int j = 0; j < count; ++j) {
            EXPECT_GE(shuffleOrder[j], &playlist[0]);
            EXPECT_LT(shuffleOrder[j], &playlist[count]);
            seen.insert(shuffleOrder[j]);
        }
        EXPECT_EQ(static_cast<size_t>(count), seen.size());
        EXPECT_EQ(&playlist[count], shuffleOrder[count]);
    }

    HWND window = nullptr;
};

enum Step { NEXT, PREVIOUS, ENDED };

struct StepCase {
    const char* label;
    int count;
    int position;
    int repeatOn;
    Step step;
    int positionAfter;
    int openedTrack; // -1: none
    bool plays;
};

TEST_F(PlayOrder, StepsInListOrder)
{
    const StepCase cases[] = {
        {"empty next", 0, 0, 0, NEXT, 0, -1, false},
        {"empty previous", 0, 0, 0, PREVIOUS, 0, -1, false},
        {"empty end", 0, 0, 0, ENDED, 0, -1, false},
        {"one track ends, repeat off", 1, 0, 0, ENDED, 0, 0, false},
        {"one track ends, repeat on", 1, 0, 1, ENDED, 0, 0, true},
        {"previous from the first", 3, 0, 0, PREVIOUS, 2, 2, true},
        {"previous", 3, 2, 0, PREVIOUS, 1, 1, true},
        {"next", 3, 1, 0, NEXT, 2, 2, true},
        {"next from the last, repeat off", 3, 2, 0, NEXT, 0, 0, true},
        {"next from the last, repeat on", 3, 2, 1, NEXT, 0, 0, true},
        {"middle track ends", 3, 1, 0, ENDED, 2, 2, true},
        {"last track ends, repeat off", 3, 2, 0, ENDED, 0, 0, false},
        {"last track ends, repeat on", 3, 2, 1, ENDED, 0, 0, true},
    };
    for (const StepCase& c : cases) {
        fresh();
        tracks(c.count);
        repeat = c.repeatOn;
        currentPosition = c.position;
        playing(c.step == ENDED);
        if (c.step == NEXT)
            nextTrack(window);
        else if (c.step == PREVIOUS)
            previousTrack(window);
        else
            onTrackEnded(window);
        EXPECT_EQ(c.positionAfter, currentPosition) << c.label;
        std::vector<std::wstring> expected;
        if (c.openedTrack >= 0)
            expected.push_back(trackPath(c.openedTrack));
        EXPECT_EQ(expected, opened()) << c.label;
        EXPECT_EQ(c.plays, played()) << c.label;
        EXPECT_EQ(c.plays ? 1 : 0, isPlaying) << c.label;
        if (c.count == 0) {
            EXPECT_EQ((std::vector<std::wstring>{L"stop all", L"close all"}), fake::mciCommands()) << c.label;
        }
    }
}

TEST_F(PlayOrder, ShuffledWrapStopsFirstThenPlaysANewOrdersFirstTrack)
{
    const struct {
        const char* label;
        int position;
        Step step;
    } cases[] = {{"previous from the first", 0, PREVIOUS}, {"next from the last", 4, NEXT}};
    for (const auto& c : cases) {
        fresh();
        tracks(5);
        shuffle = 1;
        fake::tickCount = 4242;
        ASSERT_TRUE(rebuildShuffleOrder(window));
        currentPosition = c.position;
        playing();
        PlaylistEntry** oldOrder = shuffleOrder;
        fake::tickCount = 777;
        if (c.step == NEXT)
            nextTrack(window);
        else
            previousTrack(window);
        std::vector<std::wstring> commands = fake::mciCommands();
        ASSERT_GE(commands.size(), 2u) << c.label;
        EXPECT_EQ(L"stop all", commands[0]) << c.label;
        EXPECT_EQ(L"status sound mode", commands[1]) << c.label;
        EXPECT_NE(oldOrder, shuffleOrder) << c.label;
        expectPermutation(5);
        EXPECT_EQ(0, currentPosition) << c.label;
        EXPECT_EQ(std::vector<std::wstring>{shuffleOrder[0]->path}, opened()) << c.label;
        EXPECT_TRUE(played()) << c.label;
        EXPECT_EQ(1, isPlaying) << c.label;
    }
}

TEST_F(PlayOrder, ShuffleSwitchedOnDuringPlayKeepsTheTrackFirst)
{
    for (DWORD seed : {0u, 1u, 99999u}) {
        fresh();
        tracks(10);
        currentPosition = 5;
        playing();
        shuffle = 1;
        fake::tickCount = seed;
        shuffleSwitchedOn(window);
        EXPECT_EQ(std::vector<std::wstring>{L"status sound mode"}, fake::mciCommands()) << seed;
        EXPECT_EQ(0, currentPosition);
        EXPECT_EQ(&playlist[5], shuffleOrder[0]) << seed;
        expectPermutation(10);
        EXPECT_EQ(L"playing", fake::mciDevice.mode);
        EXPECT_EQ(trackPath(5), fake::mciDevice.path);
        nextTrack(window);
        EXPECT_EQ(std::vector<std::wstring>{shuffleOrder[1]->path}, opened()) << seed;
        EXPECT_TRUE(played());
    }
}

TEST_F(PlayOrder, ShuffleSwitchedOnWhileStoppedOpensTheNewFirstTrack)
{
    tracks(4);
    currentPosition = 2;
    ASSERT_TRUE(openTrack(window));
    fake::mciCalls.clear();
    shuffle = 1;
    shuffleSwitchedOn(window);
    expectPermutation(4);
    EXPECT_EQ(0, currentPosition);
    EXPECT_EQ(std::vector<std::wstring>{shuffleOrder[0]->path}, opened());
    EXPECT_FALSE(played());
    EXPECT_EQ(0, isPlaying);
}

TEST_F(PlayOrder, ShuffleSwitchedOffKeepsTheCurrentTrack)
{
    tracks(10);
    HeapFree(GetProcessHeap(), 0, shuffleOrder);
    shuffleOrder = static_cast<PlaylistEntry**>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 11 * sizeof(PlaylistEntry*)));
    const int order[10] = {9, 2, 4, 7, 0, 1, 3, 5, 6, 8};
    for (int j = 0; j < 10; ++j)
        shuffleOrder[j] = &playlist[order[j]];
    shuffleOrder[10] = &playlist[10];
    shuffle = 1;
    currentPosition = 3;
    playing();
    EXPECT_EQ(trackPath(7), fake::mciDevice.path);
    shuffle = 0;
    shuffleSwitchedOff();
    EXPECT_EQ(7, currentPosition);
    EXPECT_TRUE(fake::mciCommands().empty()) << "the device is not touched";
    nextTrack(window);
    EXPECT_EQ(std::vector<std::wstring>{trackPath(8)}, opened());
    EXPECT_TRUE(played());

    support::setPlaylist({}); // the order now refers to a list that is gone
    currentPosition = 3;
    shuffleSwitchedOff();
    EXPECT_EQ(0, currentPosition);
    tracks(3);
    shuffleOrder[0] = nullptr; // no order built yet
    currentPosition = 2;
    shuffleSwitchedOff();
    EXPECT_EQ(0, currentPosition);
}

TEST_F(PlayOrder, LastShuffledTrackEndingMakesANewOrder)
{
    for (int repeatOn : {0, 1}) {
        fresh();
        tracks(4);
        shuffle = 1;
        repeat = repeatOn;
        ASSERT_TRUE(rebuildShuffleOrder(window));
        currentPosition = 3;
        playing(true);
        PlaylistEntry** oldOrder = shuffleOrder;
        onTrackEnded(window);
        EXPECT_NE(oldOrder, shuffleOrder);
        expectPermutation(4);
        EXPECT_EQ(0, currentPosition);
        EXPECT_EQ(std::vector<std::wstring>{shuffleOrder[0]->path}, opened());
        EXPECT_EQ(repeatOn != 0, played()) << repeatOn;
        EXPECT_EQ(repeatOn, isPlaying);
    }
}

TEST_F(PlayOrder, RebuildOfAnEmptyListHasOnlyTheTerminator)
{
    shuffle = 1;
    EXPECT_FALSE(rebuildShuffleOrder(window));
    EXPECT_EQ(&playlist[0], shuffleOrder[0]);
    EXPECT_EQ(0, currentPosition);
}

TEST_F(PlayOrder, NewListOpensItsFirstTrack)
{
    for (int shuffleOn : {0, 1}) {
        fresh();
        tracks(3);
        shuffle = shuffleOn;
        currentPosition = 2;
        EXPECT_TRUE(openFirstTrackOfNewList(window));
        EXPECT_EQ(0, currentPosition);
        std::wstring first = shuffleOn ? shuffleOrder[0]->path : trackPath(0);
        EXPECT_EQ(std::vector<std::wstring>{first}, opened());
        EXPECT_FALSE(played());
    }
}

} // namespace
