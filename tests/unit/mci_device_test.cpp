#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/fakes/fake_mci_device.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

using Commands = std::vector<std::wstring>;

struct Report {
    std::wstring caption; // short caption, as given to reportMessage
    std::wstring text;
};

std::wstring errorText(unsigned int error)
{
    wchar_t text[1024];
    mciGetErrorStringW(error, text, 1024);
    return text;
}

class MciDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        fake::installMciDevice();
        window = support::createTestWindow();
        addTrayIcon(window);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        support::resetPlayerState();
    }

    // One entry; the device fake is left as installed.
    void entry(const wchar_t* path, unsigned int start = 0, unsigned int end = 0)
    {
        support::setPlaylist({path});
        playlist[0].start = start;
        playlist[0].end = end;
    }

    // The device opened on the entry, in the given mode, with nothing recorded yet.
    void deviceIn(const wchar_t* mode)
    {
        ASSERT_TRUE(openTrack(window));
        fake::mciDevice.mode = mode;
        fake::mciCalls.clear();
        fake::notifyCalls.clear();
    }

    // The reports shown so far (message boxes with their owner), after a short wait for more.
    void expectReports(const std::vector<Report>& expected, HWND owner, const std::wstring& label)
    {
        std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(expected.size() + 1, 200);
        ASSERT_EQ(expected.size(), boxes.size()) << label;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(expected[i].caption + L" - Velmoris Player", boxes[i].caption) << label;
            EXPECT_EQ(expected[i].text, boxes[i].text) << label;
            EXPECT_EQ(owner, boxes[i].owner) << label;
        }
    }

    HWND window = nullptr;
};

struct OpenCase {
    std::wstring label;
    std::wstring path;
    unsigned int start;
    std::wstring failingCommand; // scripted to fail with failure
    unsigned int failure;
    bool opened;
    Commands afterClose; // the commands after "stop all", "close all"
    std::vector<Report> reports;
};

TEST_F(MciDevice, OpenSendsTheTableCommandsAndReportsWithTheWindow)
{
    const std::wstring longPath = L"C:\\" + std::wstring(997, L'x') + L".mp3";
    const OpenCase cases[] = {
        {L"mp3", L"C:\\a.mp3", 0, L"", 0, true,
         {L"open \"C:\\a.mp3\" alias sound", L"set sound time format ms", L"setaudio sound volume to 1000"}, {}},
        {L"start", L"C:\\a.mp3", 60000, L"", 0, true,
         {L"open \"C:\\a.mp3\" alias sound", L"set sound time format ms", L"seek sound to 60000",
          L"setaudio sound volume to 1000"}, {}},
        {L"wav has no volume control", L"C:\\a.wav", 0, L"", 0, true,
         {L"open \"C:\\a.wav\" alias sound", L"set sound time format ms", L"setaudio sound volume to 1000"}, {}},
        {L"volume refused", L"C:\\a.mp3", 0, L"setaudio", MCIERR_OUTOFRANGE, true,
         {L"open \"C:\\a.mp3\" alias sound", L"set sound time format ms", L"setaudio sound volume to 1000"},
         {{L"音量変更エラー", errorText(MCIERR_OUTOFRANGE)}}},
        {L"open fails", L"C:\\gone.mp3", 0, L"open", MCIERR_FILE_NOT_FOUND, false,
         {L"open \"C:\\gone.mp3\" alias sound"},
         {{L"音声ファイルの読み込みエラー", errorText(MCIERR_FILE_NOT_FOUND)}}},
        {L"seek fails", L"C:\\a.mp3", 60000, L"seek", MCIERR_OUTOFRANGE, false,
         {L"open \"C:\\a.mp3\" alias sound", L"set sound time format ms", L"seek sound to 60000"},
         {{L"再生開始位置指定のエラー", errorText(MCIERR_OUTOFRANGE)}}},
        {L"quote", L"E:\" type waveaudio", 0, L"", 0, false, {},
         {{L"音声ファイルの読み込みエラー", L"ファイルのパスに使用できない文字 (\") が含まれているため、開けません。"}}},
        {L"longest path that fits", longPath, 0, L"", 0, true,
         {L"open \"" + longPath + L"\" alias sound", L"set sound time format ms", L"setaudio sound volume to 1000"}, {}},
        {L"path one unit too long", longPath + L"y", 0, L"", 0, false, {},
         {{L"音声ファイルの読み込みエラー", L"ファイルのパスが長すぎるため、開けません。"}}},
    };
    for (const OpenCase& c : cases) {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        entry(c.path.c_str(), c.start);
        if (c.failure)
            fake::mciDevice.errors[c.failingCommand] = c.failure;
        isPlaying = 1;
        EXPECT_EQ(c.opened, openTrack(window)) << c.label;
        Commands expected = {L"stop all", L"close all"};
        expected.insert(expected.end(), c.afterClose.begin(), c.afterClose.end());
        EXPECT_EQ(expected, fake::mciCommands()) << c.label;
        EXPECT_EQ(0, isPlaying) << c.label;
        EXPECT_EQ(c.opened, std::wstring(L"Velmoris Player") != trayIconData.szTip) << c.label;
        expectReports(c.reports, window, c.label);
    }
    EXPECT_EQ(1004u, longPath.size());
}

TEST_F(MciDevice, OpenOnAnEmptyPlaylistOnlyClosesAndResetsTheTray)
{
    setTrayIcon(TRAY_PLAYING);
    fake::notifyCalls.clear();
    EXPECT_FALSE(openTrack(window));
    EXPECT_EQ((Commands{L"stop all", L"close all"}), fake::mciCommands());
    ASSERT_EQ(1u, fake::notifyCalls.size());
    EXPECT_EQ(static_cast<UINT>(NIF_ICON | NIF_TIP), fake::notifyCalls[0].data.uFlags);
    EXPECT_STREQ(L"Velmoris Player", fake::notifyCalls[0].data.szTip);
    expectReports({}, window, L"empty");
}

struct StartCase {
    std::wstring label;
    const wchar_t* mode; // device mode before; nullptr: nothing open
    int wasPlaying;
    unsigned int start, end;
    Commands commands;
    bool notifies; // the play command names the window
    int playingAfter;
    std::vector<Report> reports;
};

TEST_F(MciDevice, StartFollowsTheDeviceMode)
{
    const std::wstring invalidEnd = L"再生終了位置の指定が不正です。";
    const StartCase cases[] = {
        {L"already playing", L"playing", 1, 0, 0, {}, false, 1, {}},
        {L"device playing", L"playing", 0, 0, 0, {L"status sound mode"}, false, 1, {}},
        {L"paused", L"paused", 0, 0, 0, {L"status sound mode", L"resume all", L"status sound mode"}, false, 1, {}},
        {L"stopped", L"stopped", 0, 0, 0, {L"status sound mode", L"play all notify", L"status sound mode"}, true, 1, {}},
        {L"span", L"stopped", 0, 60000, 90000,
         {L"status sound mode", L"play all to 90000 notify", L"status sound mode"}, true, 1, {}},
        {L"end equals start", L"stopped", 0, 5000, 5000, {L"status sound mode"}, false, 0, {{L"エラー", invalidEnd}}},
        {L"end before start", L"stopped", 0, 5000, 10, {L"status sound mode"}, false, 0, {{L"エラー", invalidEnd}}},
        {L"nothing open", nullptr, 0, 0, 0, {L"status sound mode", L"play all notify"}, true, 0,
         {{L"音声ファイルの再生エラー", errorText(MCIERR_INVALID_DEVICE_NAME)}}},
    };
    for (const StartCase& c : cases) {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        entry(L"C:\\a.mp3", c.start, c.end);
        if (c.mode)
            deviceIn(c.mode);
        fake::notifyCalls.clear();
        isPlaying = c.wasPlaying;
        startPlayback(window);
        EXPECT_EQ(c.commands, fake::mciCommands()) << c.label;
        for (const fake::MciCall& call : fake::mciCalls) {
            bool isPlay = call.command.compare(0, 5, L"play ") == 0;
            EXPECT_EQ(isPlay && c.notifies ? window : nullptr, call.notifyWindow) << c.label << L": " << call.command;
        }
        EXPECT_EQ(c.playingAfter, isPlaying) << c.label;
        bool iconChanged = c.playingAfter && c.commands.size() > 1;
        EXPECT_EQ(iconChanged ? 1u : 0u, fake::notifyCalls.size()) << c.label;
        expectReports(c.reports, nullptr, c.label);
    }
}

TEST_F(MciDevice, InvalidEndIsReportedAtEveryPlay)
{
    entry(L"C:\\a.mp3", 5000, 5000);
    deviceIn(L"stopped");
    startPlayback(window);
    startPlayback(window);
    EXPECT_EQ(0, isPlaying);
    expectReports({{L"エラー", L"再生終了位置の指定が不正です。"}, {L"エラー", L"再生終了位置の指定が不正です。"}},
                  nullptr, L"twice");
}

TEST_F(MciDevice, PauseLeavesASequencerPlaying)
{
    const struct {
        const wchar_t* path;
        const wchar_t* mode;
        Commands commands;
        int playingAfter;
    } cases[] = {
        {L"C:\\a.mid", L"playing", {L"capability sound device type"}, 1},
        {L"C:\\a.mp3", L"playing", {L"capability sound device type", L"pause all", L"status sound mode"}, 0},
        {L"C:\\a.mp3", L"stopped", {L"capability sound device type", L"pause all", L"status sound mode"}, 1},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        entry(c.path);
        deviceIn(c.mode);
        isPlaying = 1;
        pausePlayback();
        EXPECT_EQ(c.commands, fake::mciCommands()) << c.path;
        EXPECT_EQ(c.playingAfter, isPlaying) << c.path;
        EXPECT_EQ(c.playingAfter ? 0u : 1u, fake::notifyCalls.size()) << c.path;
    }
}

TEST_F(MciDevice, StopRewindsToTheEntrysStart)
{
    const struct {
        const wchar_t* mode; // nullptr: nothing open
        unsigned int start;
        Commands commands;
        int playingAfter;
    } cases[] = {
        {nullptr, 0, {L"stop all", L"status sound mode"}, 1},
        {L"playing", 0, {L"stop all", L"status sound mode", L"seek all to start"}, 0},
        {L"paused", 60000, {L"stop all", L"status sound mode", L"seek sound to 60000"}, 0},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        entry(L"C:\\a.mp3", c.start);
        if (c.mode)
            deviceIn(c.mode);
        fake::notifyCalls.clear();
        isPlaying = 1;
        stopPlayback();
        EXPECT_EQ(c.commands, fake::mciCommands());
        EXPECT_EQ(c.playingAfter, isPlaying);
        EXPECT_EQ(c.mode ? 1u : 0u, fake::notifyCalls.size());
        if (c.mode) {
            EXPECT_EQ(c.start, fake::mciDevice.position);
        }
    }
    expectReports({}, nullptr, L"stop");
}

TEST_F(MciDevice, FailedRewindIsReportedWithoutOwner)
{
    entry(L"C:\\a.mp3", 60000);
    deviceIn(L"playing");
    fake::mciDevice.errors[L"seek"] = MCIERR_OUTOFRANGE;
    stopPlayback();
    EXPECT_EQ(0, isPlaying);
    EXPECT_EQ(1u, fake::notifyCalls.size());
    expectReports({{L"再生開始位置指定のエラー", errorText(MCIERR_OUTOFRANGE)}}, nullptr, L"seek");
}

TEST_F(MciDevice, AllCommandsRefusedAreSentOnceMoreToSound)
{
    const struct {
        const wchar_t* command;
        unsigned int result;
        Commands sent;
    } cases[] = {
        {L"play all notify", 0, {L"play all notify", L"play sound notify"}},
        {L"play all to 90000 notify", 0, {L"play all to 90000 notify", L"play sound to 90000 notify"}},
        {L"stop all", 0, {L"stop all", L"stop sound"}},
        {L"seek all to start", 0, {L"seek all to start", L"seek sound to start"}},
        {L"status sound mode", 0, {L"status sound mode"}},
        {L"pause all", MCIERR_HARDWARE, {L"pause all"}},
        {L"status sound length", MCIERR_CANNOT_USE_ALL, {L"status sound length"}},
        {L"close all", 0, {L"close all"}},
    };
    entry(L"C:\\a.mp3");
    deviceIn(L"stopped");
    fake::mciDevice.allRefused = true;
    fake::mciDevice.errors[L"pause all"] = MCIERR_HARDWARE;
    fake::mciDevice.errors[L"status sound length"] = MCIERR_CANNOT_USE_ALL;
    for (const auto& c : cases) {
        fake::mciCalls.clear();
        EXPECT_EQ(c.result, sendMciCommand(c.command, nullptr, 0, window)) << c.command;
        EXPECT_EQ(c.sent, fake::mciCommands()) << c.command;
        for (const fake::MciCall& call : fake::mciCalls)
            EXPECT_EQ(window, call.notifyWindow) << call.command;
    }
    fake::mciDevice.errors[L"resume"] = MCIERR_CANNOT_USE_ALL;
    fake::mciCalls.clear();
    EXPECT_EQ(static_cast<unsigned int>(MCIERR_CANNOT_USE_ALL), sendMciCommand(L"resume all", nullptr, 0, nullptr));
    EXPECT_EQ((Commands{L"resume all", L"resume sound"}), fake::mciCommands());
}

TEST_F(MciDevice, VolumeFailuresAreReportedOnlyWhenApplied)
{
    volume = 250;
    entry(L"C:\\a.wav");
    deviceIn(L"stopped");
    EXPECT_EQ(static_cast<unsigned int>(MCIERR_UNRECOGNIZED_COMMAND), sendVolume());
    EXPECT_TRUE(isVolumeUnsupported(sendVolume()));
    EXPECT_FALSE(isVolumeUnsupported(MCIERR_OUTOFRANGE));
    EXPECT_EQ((Commands{L"setaudio sound volume to 250", L"setaudio sound volume to 250"}), fake::mciCommands());
    expectReports({}, nullptr, L"sendVolume");
    EXPECT_FALSE(applyVolume(nullptr));
    expectReports({{L"音量変更エラー", errorText(MCIERR_UNRECOGNIZED_COMMAND)}}, nullptr, L"applyVolume");
}

TEST_F(MciDevice, FailedPlayClearsTheFlagAndShowsTheStoppedPicture)
{
    entry(L"C:\\a.mp3");
    deviceIn(L"playing");
    isPlaying = 1;
    setTrayIcon(TRAY_PLAYING);
    onPlaybackFailed();
    EXPECT_EQ(0, isPlaying);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)), fake::notifyCalls.back().data.hIcon);
}

} // namespace
