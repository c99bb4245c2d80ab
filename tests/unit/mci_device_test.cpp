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

// As a message box shows a report: "caption - Velmoris Player: text".
std::wstring box(const std::wstring& caption, const std::wstring& text)
{
    return caption + L" - Velmoris Player: " + text;
}

std::wstring errorText(unsigned int error)
{
    wchar_t text[1024];
    mciGetErrorStringW(error, text, 1024);
    return text;
}

const wchar_t mp3[] = L"C:\\a.mp3";

class MciDevice : public support::WindowTest {
protected:

    // A fresh device and tray icon (showing the playing picture) with one entry, none for an
    // empty path; with a mode, the device is opened on the entry and left in that mode. Nothing
    // is recorded yet.
    void fresh(const std::wstring& path, unsigned int start = 0, unsigned int end = 0, const wchar_t* mode = nullptr)
    {
        support::resetPlayerState();
        fake::installMciDevice();
        addTrayIcon(window);
        support::setPlaylist({path});
        playlist[0].start = start;
        playlist[0].end = end;
        if (mode) {
            ASSERT_TRUE(openTrack(window));
            fake::mciDevice.mode = mode;
        }
        setTrayIcon(TRAY_PLAYING);
        fake::mciCalls.clear();
        fake::notifyCalls.clear();
    }

    // The reports shown so far, once the expected number has come (they come from other
    // threads) and a little later for any extra one; one of another owner is marked.
    static Commands reports(HWND owner, size_t expected)
    {
        fake::waitForMessageBoxes(expected, 5000);
        fake::waitForMessageBoxes(expected + 1, 200);
        Commands shown;
        for (const fake::MessageBoxCall& call : fake::messageBoxes())
            shown.push_back((call.owner == owner ? L"" : L"(wrong owner) ") + call.caption + L": " + call.text);
        return shown;
    }
};

TEST_F(MciDevice, OpenSendsTheTableCommandsAndReportsWithTheWindow)
{
    const std::wstring loadError = L"音声ファイルの読み込みエラー", openMp3 = L"open \"C:\\a.mp3\" alias sound",
                       ms = L"set sound time format ms", volume1000 = L"setaudio sound volume to 1000";
    // "open \"<path>\" alias sound" of this path takes exactly 1023 units.
    const std::wstring longPath = L"C:\\" + std::wstring(997, L'x') + L".mp3";
    const struct {
        const char* label;
        std::wstring path;
        unsigned int start, failure;
        const wchar_t* failing; // scripted to fail with failure
        bool opened;
        Commands commands, reports; // commands after "stop all", "close all"
    } cases[] = {
        {"empty playlist", L"", 0, 0, nullptr, false, {}, {}},
        {"mp3", mp3, 0, 0, nullptr, true, {openMp3, ms, volume1000}, {}},
        {"start", mp3, 60000, 0, nullptr, true, {openMp3, ms, L"seek sound to 60000", volume1000}, {}},
        {"wav has no volume control", L"C:\\a.wav", 0, 0, nullptr, true,
         {L"open \"C:\\a.wav\" alias sound", ms, volume1000}, {}},
        {"volume refused", mp3, 0, MCIERR_OUTOFRANGE, L"setaudio", true, {openMp3, ms, volume1000},
         {box(L"音量変更エラー", errorText(MCIERR_OUTOFRANGE))}},
        {"open fails", L"C:\\gone.mp3", 0, MCIERR_FILE_NOT_FOUND, L"open", false,
         {L"open \"C:\\gone.mp3\" alias sound"}, {box(loadError, errorText(MCIERR_FILE_NOT_FOUND))}},
        {"seek fails", mp3, 60000, MCIERR_OUTOFRANGE, L"seek", false, {openMp3, ms, L"seek sound to 60000"},
         {box(L"再生開始位置指定のエラー", errorText(MCIERR_OUTOFRANGE))}},
        {"quote", L"E:\" type waveaudio", 0, 0, nullptr, false, {},
         {box(loadError, L"ファイルのパスに使用できない文字 (\") が含まれているため、開けません。")}},
        {"longest path that fits", longPath, 0, 0, nullptr, true,
         {L"open \"" + longPath + L"\" alias sound", ms, volume1000}, {}},
        {"path one unit too long", longPath + L"y", 0, 0, nullptr, false, {},
         {box(loadError, L"ファイルのパスが長すぎるため、開けません。")}},
    };
    for (const auto& c : cases) {
        fresh(c.path, c.start);
        if (c.failing)
            fake::mciDevice.errors[c.failing] = c.failure;
        isPlaying = 1;
        EXPECT_EQ(c.opened, openTrack(window)) << c.label;
        Commands expected = {L"stop all", L"close all"};
        expected.insert(expected.end(), c.commands.begin(), c.commands.end());
        EXPECT_EQ(expected, fake::mciCommands()) << c.label;
        EXPECT_EQ(0, isPlaying) << c.label;
        // The tray is reset first; only an opened track announces itself.
        ASSERT_EQ(c.opened ? 2u : 1u, fake::notifyCalls.size()) << c.label;
        EXPECT_EQ(static_cast<UINT>(NIF_ICON | NIF_TIP), fake::notifyCalls[0].data.uFlags) << c.label;
        EXPECT_STREQ(L"Velmoris Player", fake::notifyCalls[0].data.szTip) << c.label;
        EXPECT_EQ(c.reports, reports(window, c.reports.size())) << c.label;
    }
}

void doStart(HWND window) { startPlayback(window); }
void doStartTwice(HWND window) { startPlayback(window); startPlayback(window); }
void doPause(HWND) { pausePlayback(); }
void doPauseSequencer(HWND) { fake::mciDevice.type = L"sequencer"; pausePlayback(); }
void doStop(HWND) { stopPlayback(); }
void doStopFailingSeek(HWND) { fake::mciDevice.errors[L"seek"] = MCIERR_OUTOFRANGE; stopPlayback(); }
void doFail(HWND) { onPlaybackFailed(); }
const int SAME = -1;

TEST_F(MciDevice, PlaybackControlsFollowTheDeviceMode)
{
    const std::wstring mode = L"status sound mode", badEnd = box(L"エラー", L"再生終了位置の指定が不正です。");
    const Commands pauseCommands = {L"capability sound device type", L"pause all", mode};
    const Commands rewind = {L"stop all", mode, L"seek sound to 60000"};
    const struct {
        const char* label;
        void (*operation)(HWND);
        const wchar_t* mode; // nullptr: nothing open
        unsigned int start, end;
        int wasPlaying, playingAfter, picture; // picture SAME: the tray is left alone
        Commands commands, reports;
    } cases[] = {
        {"already playing", doStart, L"playing", 0, 0, 1, 1, SAME, {}, {}},
        {"device playing", doStart, L"playing", 0, 0, 0, 1, SAME, {mode}, {}},
        {"paused", doStart, L"paused", 0, 0, 0, 1, TRAY_PLAYING, {mode, L"resume all", mode}, {}},
        {"stopped", doStart, L"stopped", 0, 0, 0, 1, TRAY_PLAYING, {mode, L"play all notify", mode}, {}},
        {"span", doStart, L"stopped", 60000, 90000, 0, 1, TRAY_PLAYING, {mode, L"play all to 90000 notify", mode}, {}},
        {"end equals start", doStartTwice, L"stopped", 5000, 5000, 0, 0, SAME, {mode, mode}, {badEnd, badEnd}},
        {"end before start", doStart, L"stopped", 5000, 10, 0, 0, SAME, {mode}, {badEnd}},
        {"play with nothing open", doStart, nullptr, 0, 0, 0, 0, SAME, {mode, L"play all notify"},
         {box(L"音声ファイルの再生エラー", errorText(MCIERR_INVALID_DEVICE_NAME))}},
        {"pause a sequencer", doPauseSequencer, L"playing", 0, 0, 1, 1, SAME, {L"capability sound device type"}, {}},
        {"pause", doPause, L"playing", 0, 0, 1, 0, TRAY_PAUSED, pauseCommands, {}},
        {"pause while stopped", doPause, L"stopped", 0, 0, 1, 1, SAME, pauseCommands, {}},
        {"stop with nothing open", doStop, nullptr, 0, 0, 1, 1, SAME, {L"stop all", mode}, {}},
        {"stop", doStop, L"playing", 0, 0, 1, 0, TRAY_STOPPED, {L"stop all", mode, L"seek all to start"}, {}},
        {"stop at a start", doStop, L"paused", 60000, 0, 1, 0, TRAY_STOPPED, rewind, {}},
        {"failed rewind", doStopFailingSeek, L"playing", 60000, 0, 1, 0, TRAY_STOPPED, rewind,
         {box(L"再生開始位置指定のエラー", errorText(MCIERR_OUTOFRANGE))}},
        {"failed play", doFail, L"playing", 0, 0, 1, 0, TRAY_STOPPED, {}, {}},
    };
    const HICON classIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    for (const auto& c : cases) {
        fresh(mp3, c.start, c.end, c.mode);
        isPlaying = c.wasPlaying;
        c.operation(window);
        EXPECT_EQ(c.commands, fake::mciCommands()) << c.label;
        // Only a play from a stopped device asks for the end-of-play notice.
        for (const fake::MciCall& call : fake::mciCalls)
            EXPECT_EQ(call.command.compare(0, 5, L"play ") == 0 ? window : nullptr, call.notifyWindow) << c.label;
        EXPECT_EQ(c.playingAfter, isPlaying) << c.label;
        // Stopped and paused show the class icon.
        ASSERT_EQ(c.picture == SAME ? 0u : 1u, fake::notifyCalls.size()) << c.label;
        if (c.picture != SAME) {
            EXPECT_EQ(c.picture != TRAY_PLAYING, classIcon == fake::notifyCalls[0].data.hIcon) << c.label;
        }
        EXPECT_EQ(c.reports, reports(nullptr, c.reports.size())) << c.label;
    }
}

TEST_F(MciDevice, AllCommandsRefusedAreSentOnceMoreToSound)
{
    const struct { const wchar_t* command; unsigned int result; Commands sent; } cases[] = {
        {L"play all to 90000 notify", 0, {L"play all to 90000 notify", L"play sound to 90000 notify"}},
        {L"stop all", 0, {L"stop all", L"stop sound"}},
        {L"resume all", MCIERR_CANNOT_USE_ALL, {L"resume all", L"resume sound"}}, // the retry's answer counts
        {L"status sound mode", 0, {L"status sound mode"}},
        {L"pause all", MCIERR_HARDWARE, {L"pause all"}},
        {L"status sound length", MCIERR_CANNOT_USE_ALL, {L"status sound length"}},
        {L"close all", 0, {L"close all"}},
    };
    fresh(mp3, 0, 0, L"stopped");
    fake::mciDevice.allRefused = true;
    fake::mciDevice.errors[L"resume"] = MCIERR_CANNOT_USE_ALL;
    fake::mciDevice.errors[L"pause all"] = MCIERR_HARDWARE;
    fake::mciDevice.errors[L"status sound length"] = MCIERR_CANNOT_USE_ALL;
    for (const auto& c : cases) {
        fake::mciCalls.clear();
        EXPECT_EQ(c.result, sendMciCommand(c.command, nullptr, 0, window)) << c.command;
        EXPECT_EQ(c.sent, fake::mciCommands()) << c.command;
        for (const fake::MciCall& call : fake::mciCalls)
            EXPECT_EQ(window, call.notifyWindow) << call.command;
    }
}

TEST_F(MciDevice, VolumeFailuresAreReportedOnlyWhenApplied)
{
    fresh(L"C:\\a.wav", 0, 0, L"stopped");
    volume = 250;
    EXPECT_EQ(static_cast<unsigned int>(MCIERR_UNRECOGNIZED_COMMAND), sendVolume());
    EXPECT_EQ(Commands{L"setaudio sound volume to 250"}, fake::mciCommands());
    EXPECT_TRUE(reports(nullptr, 0).empty());
    EXPECT_FALSE(applyVolume(nullptr));
    EXPECT_EQ(Commands{box(L"音量変更エラー", errorText(MCIERR_UNRECOGNIZED_COMMAND))}, reports(nullptr, 1));
    for (unsigned int error : {MCIERR_UNRECOGNIZED_COMMAND, MCIERR_UNSUPPORTED_FUNCTION, MCIERR_OUTOFRANGE})
        EXPECT_EQ(error != MCIERR_OUTOFRANGE, isVolumeUnsupported(error)) << error;
}

} // namespace
