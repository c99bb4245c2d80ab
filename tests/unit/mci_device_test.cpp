#include "tests/unit/test_support.h"

#include <mmsystem.h>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "settings/settings.h"

namespace {

std::wstring mciError(const std::wstring& caption, unsigned int error)
{
    wchar_t text[1024];
    mciGetErrorStringW(error, text, 1024);
    return caption + L" - Velmoris Player: " + text;
}

const std::wstring loadError = L"音声ファイルの読み込みエラー - Velmoris Player: ", mp3 = L"C:\\a.mp3",
                   seekError = L"再生開始位置指定のエラー", outside = L"C:\\\u10D0\u66F2.wav"; // in no ANSI code page

struct MciDevice : Unit {
    // One entry; with a mode, opened on it and left in that mode; the tray shows playing; nothing recorded.
    void fresh(const std::wstring& path, unsigned int start = 0, unsigned int end = 0, const wchar_t* mode = nullptr)
    {
        resetPlayerState();
        addTrayIcon(window);
        stopped = trayIconData.hIcon;
        setPlaylist({path});
        playlist[0].start = start, playlist[0].end = end;
        if (mode) {
            ASSERT_TRUE(openTrack(window));
            fake::mci.mode = mode;
        }
        setTrayIcon(TRAY_PLAYING);
        fake::mciCalls.clear(), fake::notifyCalls.clear();
    }
    HICON stopped = nullptr;
};

TEST_F(MciDevice, OpenSendsItsCommandsAndReports)
{
    const std::wstring open = L"open \"C:\\a.mp3\" alias sound", ms = L"set sound time format ms",
                       vol = L"setaudio sound volume to 1000", longPath = L"C:\\" + std::wstring(997, L'x') + L".mp3";
    const struct { std::wstring path, shortName; unsigned int start, failure; const wchar_t* failing; bool opened; Texts sent, reports; } cases[] = {
        {L"", L"", 0, 0, nullptr, false, {}, {}},
        {mp3, L"", 0, 0, nullptr, true, {open, ms, vol}, {}},
        {mp3, L"", 60000, 0, nullptr, true, {open, ms, L"seek sound to 60000", vol}, {}},
        {L"C:\\a.wav", L"", 0, 0, nullptr, true, {L"open \"C:\\a.wav\" alias sound", ms, vol}, {}}, // no volume control
        {mp3, L"", 0, MCIERR_OUTOFRANGE, L"setaudio", true, {open, ms, vol}, {mciError(L"音量変更エラー", MCIERR_OUTOFRANGE)}},
        {mp3, L"", 0, MCIERR_FILE_NOT_FOUND, L"open", false, {open}, {mciError(L"音声ファイルの読み込みエラー", MCIERR_FILE_NOT_FOUND)}},
        {mp3, L"", 60000, MCIERR_OUTOFRANGE, L"seek", false, {open, ms, L"seek sound to 60000"}, {mciError(seekError, MCIERR_OUTOFRANGE)}},
        {L"E:\" type waveaudio", L"", 0, 0, nullptr, false, {}, {loadError + L"ファイルのパスに使用できない文字 (\") が含まれているため、開けません。"}},
        {longPath, L"", 0, 0, nullptr, true, {L"open \"" + longPath + L"\" alias sound", ms, vol}, {}}, // 1023 units
        {longPath + L"y", L"", 0, 0, nullptr, false, {}, {loadError + L"ファイルのパスが長すぎるため、開けません。"}},
        // A name outside the ANSI code page opens by its short name, when that one is inside.
        {L"C:\\plain.wav", L"C:\\PLAIN~1.WAV", 0, 0, nullptr, true, {L"open \"C:\\plain.wav\" alias sound", ms, vol}, {}},
        {outside, L"C:\\__1~~V1J.WAV", 0, 0, nullptr, true, {L"open \"C:\\__1~~V1J.WAV\" alias sound", ms, vol}, {}},
        {outside, L"", 0, 0, nullptr, true, {L"open \"" + outside + L"\" alias sound", ms, vol}, {}},
        {outside, L"C:\\\u10D0~1.WAV", 0, 0, nullptr, true, {L"open \"" + outside + L"\" alias sound", ms, vol}, {}},
    };
    for (const auto& c : cases) {
        fresh(c.path, c.start);
        if (c.failing)
            fake::mci.errors[c.failing] = c.failure;
        if (!c.shortName.empty())
            fake::shortNames.push_back({c.path, c.shortName});
        isPlaying = 1;
        EXPECT_EQ(c.opened, openTrack(window)) << c.path;
        Texts sent = {L"stop all", L"close all"};
        sent.insert(sent.end(), c.sent.begin(), c.sent.end());
        EXPECT_EQ(sent, fake::mciCommands());
        EXPECT_EQ(0, isPlaying);
        // The tray is reset first; only an opened track announces itself.
        ASSERT_EQ(c.opened ? 2u : 1u, fake::notifyCalls.size()) << c.path;
        EXPECT_STREQ(L"Velmoris Player", fake::notifyCalls[0].data.szTip);
        EXPECT_EQ(c.reports, boxes(c.reports.size())) << c.path;
    }
}

const int SAME = -1;

TEST_F(MciDevice, ControlsFollowTheDeviceMode)
{
    const std::wstring mode = L"status sound mode", badEnd = L"エラー - Velmoris Player: 再生終了位置の指定が不正です。";
    const Texts pause = {L"capability sound device type", L"pause all", mode}, rewind = {L"stop all", mode, L"seek sound to 60000"};
    using Step = void (*)(HWND);
    const Step start = startPlayback, stop = [](HWND) { stopPlayback(); };
    const struct { Step step; const wchar_t* mode; unsigned int start, end; int wasPlaying, playingAfter, picture; Texts sent, reports; } cases[] = {
        {start, L"playing", 0, 0, 1, 1, SAME, {}, {}},
        {start, L"playing", 0, 0, 0, 1, SAME, {mode}, {}},
        {start, L"paused", 0, 0, 0, 1, TRAY_PLAYING, {mode, L"resume all", mode}, {}},
        {start, L"stopped", 0, 0, 0, 1, TRAY_PLAYING, {mode, L"play all notify", mode}, {}},
        {start, L"stopped", 60000, 90000, 0, 1, TRAY_PLAYING, {mode, L"play all to 90000 notify", mode}, {}},
        {[](HWND w) { startPlayback(w), startPlayback(w); }, L"stopped", 5000, 5000, 0, 0, SAME, {mode, mode}, {badEnd, badEnd}},
        {start, L"stopped", 5000, 10, 0, 0, SAME, {mode}, {badEnd}},
        {start, nullptr, 0, 0, 0, 0, SAME, {mode, L"play all notify"}, {mciError(L"音声ファイルの再生エラー", MCIERR_INVALID_DEVICE_NAME)}},
        {[](HWND) { fake::mci.type = L"sequencer", pausePlayback(); }, L"playing", 0, 0, 1, 1, SAME, {L"capability sound device type"}, {}},
        {[](HWND) { pausePlayback(); }, L"playing", 0, 0, 1, 0, TRAY_PAUSED, pause, {}},
        {[](HWND) { pausePlayback(); }, L"stopped", 0, 0, 1, 1, SAME, pause, {}},
        {stop, nullptr, 0, 0, 1, 1, SAME, {L"stop all", mode}, {}},
        {stop, L"playing", 0, 0, 1, 0, TRAY_STOPPED, {L"stop all", mode, L"seek all to start"}, {}},
        {stop, L"paused", 60000, 0, 1, 0, TRAY_STOPPED, rewind, {}},
        {[](HWND) { fake::mci.errors[L"seek"] = MCIERR_OUTOFRANGE, stopPlayback(); }, L"playing", 60000, 0, 1, 0, TRAY_STOPPED,
         rewind, {mciError(seekError, MCIERR_OUTOFRANGE)}},
        {[](HWND) { onPlaybackFailed(); }, L"playing", 0, 0, 1, 0, TRAY_STOPPED, {}, {}},
        {[](HWND) { closeDevice(); }, L"playing", 0, 0, 1, 0, SAME, {L"stop all", L"close all"}, {}},
        {[](HWND) { seekPlayback(5000); }, L"playing", 0, 0, 1, 0, SAME, {L"seek sound to 5000"}, {}},
    };
    for (const auto& c : cases) {
        fresh(mp3, c.start, c.end, c.mode);
        isPlaying = c.wasPlaying;
        c.step(window);
        EXPECT_EQ(c.sent, fake::mciCommands());
        for (const fake::MciCall& call : fake::mciCalls) // only a play asks for the end-of-play notice
            EXPECT_EQ(call.command.compare(0, 5, L"play ") == 0 ? window : nullptr, call.notifyWindow) << call.command;
        EXPECT_EQ(c.playingAfter, isPlaying) << c.sent.size();
        ASSERT_EQ(c.picture == SAME ? 0u : 1u, fake::notifyCalls.size()) << c.sent.size();
        if (c.picture != SAME) { // stopped and paused show the stopped picture
            EXPECT_EQ(c.picture != TRAY_PLAYING, stopped == fake::notifyCalls[0].data.hIcon);
        }
        EXPECT_EQ(c.reports, boxes(c.reports.size()));
    }
}

TEST_F(MciDevice, RefusedAllIsSentOnceMoreToSoundAndVolumeIsReportedOnlyWhenApplied)
{
    const struct { const wchar_t* command; unsigned int result; Texts sent; } cases[] = {
        {L"play all to 90000 notify", 0, {L"play all to 90000 notify", L"play sound to 90000 notify"}},
        {L"stop all", 0, {L"stop all", L"stop sound"}},
        {L"resume all", MCIERR_CANNOT_USE_ALL, {L"resume all", L"resume sound"}}, // the retry's answer counts
        {L"status sound mode", 0, {L"status sound mode"}},
        {L"pause all", MCIERR_HARDWARE, {L"pause all"}},
        {L"status sound length", MCIERR_CANNOT_USE_ALL, {L"status sound length"}},
        {L"close all", 0, {L"close all"}},
    };
    fresh(mp3, 0, 0, L"stopped");
    fake::mci.allRefused = true;
    fake::mci.errors = {{L"resume", MCIERR_CANNOT_USE_ALL}, {L"pause all", MCIERR_HARDWARE}, {L"status sound length", MCIERR_CANNOT_USE_ALL}};
    for (const auto& c : cases) {
        fake::mciCalls.clear();
        EXPECT_EQ(c.result, sendMciCommand(c.command, nullptr, 0, window)) << c.command;
        EXPECT_EQ(c.sent, fake::mciCommands());
        EXPECT_EQ(window, fake::mciCalls.back().notifyWindow);
    }
    // A device without volume control keeps its own quietly; a refusal is reported when asked.
    const struct { unsigned int error; bool report, applied; size_t boxes; } volumes[] = {
        {MCIERR_UNRECOGNIZED_COMMAND, true, true, 0}, {MCIERR_UNSUPPORTED_FUNCTION, true, true, 0},
        {MCIERR_OUTOFRANGE, false, false, 0}, {MCIERR_OUTOFRANGE, true, false, 1},
    };
    for (const auto& c : volumes) {
        fresh(mp3, 0, 0, L"stopped");
        volume = 250, fake::mci.errors[L"setaudio"] = c.error;
        EXPECT_EQ(c.applied, applyVolume(nullptr, c.report)) << c.error;
        EXPECT_EQ(Texts{L"setaudio sound volume to 250"}, fake::mciCommands());
        EXPECT_EQ(c.boxes ? Texts{mciError(L"音量変更エラー", c.error)} : Texts{}, boxes(c.boxes)) << c.error;
    }
}

} // namespace
