#include "tests/unit/test_support.h"

#include <mmsystem.h>

#include "app/tray_icon.h"
#include "playback/mci_device.h"
#include "settings/settings.h"

namespace {

// The report of an MCI error: its caption and the system's text of the error.
std::wstring mciError(const std::wstring& caption, unsigned int error = MCIERR_OUTOFRANGE)
{
    wchar_t text[1024];
    return caption + L" - Velmoris Player: " + (mciGetErrorStringW(error, text, 1024) ? text : L"?");
}

std::wstring opening(const std::wstring& path) { return L"open \"" + path + L"\" alias sound"; }

const std::wstring mp3 = L"C:\\a.mp3", ms = L"set sound time format ms", vol = L"setaudio sound volume to 1000";
const std::wstring seek = L"seek sound to 60000", loadError = L"音声ファイルの読み込みエラー";
const std::wstring seekError = L"再生開始位置指定のエラー", volumeError = L"音量変更エラー";

struct MciDevice : Unit {
    // One entry; with a mode, opened and left in that mode; the tray shows playing; nothing recorded.
    void fresh(const std::wstring& path, unsigned int start = 0, unsigned int end = 0, const wchar_t* mode = nullptr)
    {
        resetPlayerState();
        addTrayIcon(window);
        stopped = trayIconData.hIcon;
        setPlaylist({path});
        playlist[0].start = start;
        playlist[0].end = end;
        if (mode && openTrack(window))
            fake::mci.mode = mode;
        setTrayIcon(TRAY_PLAYING);
        fake::mciCalls.clear();
        fake::notifyCalls.clear();
    }
    HICON stopped = nullptr;
};

// Open stops and closes the device first; a track opens at its start, with the volume set. A name outside the
// ANSI code page opens by its short name when that one is inside.
TEST_F(MciDevice, OpenSendsItsCommandsAndReports)
{
    const std::wstring longPath = L"C:\\" + std::wstring(997, L'x') + L".mp3"; // 1023 units
    const std::wstring outside = L"C:\\\u10D0\u66F2.wav", noShort = L"C:\\\u10D0.wav", badShort = L"C:\\\u10D1.wav";
    const std::wstring cannot = L" - Velmoris Player: ファイルのパス";
    const std::wstring quote = L"に使用できない文字 (\") が含まれている";
    const struct { std::wstring path; unsigned int start; const wchar_t* refused; Texts sent, reports; } cases[] = {
        {mp3, 0, nullptr, {opening(mp3), ms, vol}, {}}, {mp3, 60000, nullptr, {opening(mp3), ms, seek, vol}, {}},
        {L"C:\\a.wav", 0, nullptr, {opening(L"C:\\a.wav"), ms, vol}, {}}, // no volume control, no report
        {mp3, 0, L"setaudio", {opening(mp3), ms, vol}, {mciError(volumeError)}},
        {mp3, 0, L"open", {opening(mp3)}, {mciError(loadError)}},
        {mp3, 60000, L"seek", {opening(mp3), ms, seek}, {mciError(seekError)}},
        {L"E:\" type waveaudio", 0, nullptr, {}, {loadError + cannot + quote + L"ため、開けません。"}},
        {longPath, 0, nullptr, {opening(longPath), ms, vol}, {}},
        {longPath + L"y", 0, nullptr, {}, {loadError + cannot + L"が長すぎるため、開けません。"}},
        {L"C:\\plain.wav", 0, nullptr, {opening(L"C:\\plain.wav"), ms, vol}, {}},
        {outside, 0, nullptr, {opening(L"C:\\__1~~V1J.WAV"), ms, vol}, {}},
        {noShort, 0, nullptr, {opening(noShort), ms, vol}, {}},
        {badShort, 0, nullptr, {opening(badShort), ms, vol}, {}},
    };
    for (const auto& c : cases) {
        fresh(c.path, c.start);
        if (c.refused)
            fake::mci.errors[c.refused] = MCIERR_OUTOFRANGE;
        fake::shortNames = {{L"C:\\plain.wav", L"C:\\PLAIN~1.WAV"}, {outside, L"C:\\__1~~V1J.WAV"},
                            {badShort, L"C:\\\u10D1~1.WAV"}};
        const bool opened = !c.sent.empty() && c.sent.back() == vol;
        EXPECT_EQ(opened, openTrack(window)) << "whether " << c.path << " opened";
        Texts sent = {L"stop all", L"close all"};
        sent.insert(sent.end(), c.sent.begin(), c.sent.end());
        EXPECT_EQ(sent, fake::mciCommands()) << "commands to open " << c.path;
        const std::wstring tip = fake::notifyCalls.empty() ? L"" : fake::notifyCalls.back().data.szTip;
        EXPECT_EQ(opened, !tip.empty() && tip != L"Velmoris Player") << "only an opened track is named: " << tip;
        EXPECT_EQ(c.reports, boxes(c.reports.size())) << "reports of opening " << c.path;
    }
}

// What is sent to act (queries left out), the play state, the tray picture (also for paused: the stopped one).
TEST_F(MciDevice, ControlsFollowTheDeviceMode)
{
    const std::wstring badEnd = L"エラー - Velmoris Player: 再生終了位置の指定が不正です。";
    const std::wstring playError = mciError(L"音声ファイルの再生エラー", MCIERR_INVALID_DEVICE_NAME);
    using Step = void (*)(HWND);
    const Step start = startPlayback, pause = [](HWND) { pausePlayback(); }, stop = [](HWND) { stopPlayback(); };
    const Step pauseMidi = [](HWND) { fake::mci.type = L"sequencer"; pausePlayback(); };
    const Step stopRefused = [](HWND) { fake::mci.errors[L"seek"] = MCIERR_OUTOFRANGE; stopPlayback(); };
    const int same = -1, shown = TRAY_PLAYING, none = TRAY_STOPPED;
    // Before each step but a start the player takes itself for playing.
    const struct { Step step; const wchar_t* mode; unsigned int start, end; int playing, picture; Texts sent, reports;
    } cases[] = {
        {start, L"playing", 0, 0, 1, same, {}, {}}, {start, L"paused", 0, 0, 1, shown, {L"resume all"}, {}},
        {start, L"stopped", 0, 0, 1, shown, {L"play all notify"}, {}},
        {start, L"stopped", 60000, 90000, 1, shown, {L"play all to 90000 notify"}, {}},
        {start, L"stopped", 5000, 5000, 0, same, {}, {badEnd}}, {start, L"stopped", 5000, 10, 0, same, {}, {badEnd}},
        {start, nullptr, 0, 0, 0, same, {L"play all notify"}, {playError}},
        {pauseMidi, L"playing", 0, 0, 1, same, {}, {}}, {pause, L"playing", 0, 0, 0, none, {L"pause all"}, {}},
        {pause, L"stopped", 0, 0, 1, same, {L"pause all"}, {}}, {stop, nullptr, 0, 0, 1, same, {L"stop all"}, {}},
        {stop, L"playing", 0, 0, 0, none, {L"stop all", L"seek all to start"}, {}},
        {stop, L"paused", 60000, 0, 0, none, {L"stop all", seek}, {}},
        {stopRefused, L"playing", 60000, 0, 0, none, {L"stop all", seek}, {mciError(seekError)}},
        {[](HWND) { onPlaybackFailed(); }, L"playing", 0, 0, 0, none, {}, {}},
        {[](HWND) { closeDevice(); }, L"playing", 0, 0, 0, same, {L"stop all", L"close all"}, {}},
        {[](HWND) { seekPlayback(5000); }, L"playing", 0, 0, 0, same, {L"seek sound to 5000"}, {}},
    };
    for (const auto& c : cases) {
        fresh(mp3, c.start, c.end, c.mode);
        isPlaying = c.step != start;
        c.step(window);
        for (const fake::MciCall& call : fake::mciCalls)
            if (call.command.rfind(L"play ", 0) == 0) {
                EXPECT_EQ(window, call.notifyWindow) << "a play asks for the notice of its end";
            }
        const std::wstring from = c.mode ? c.mode : L"closed";
        EXPECT_EQ(c.sent, deviceCommands()) << "commands from " << from;
        EXPECT_EQ(c.playing, isPlaying) << "playing after a step from " << from;
        const HICON picture = fake::notifyCalls.empty() ? nullptr : fake::notifyCalls.back().data.hIcon;
        EXPECT_EQ(c.picture, picture ? (picture == stopped ? none : shown) : same) << "the tray picture from " << from;
        EXPECT_EQ(c.reports, boxes(c.reports.size())) << "reports after a step from " << from;
    }
}

// An "all" command the driver refuses goes once more to "sound", with the same window for its notice.
TEST_F(MciDevice, RefusedAllIsSentOnceMoreToSoundAndVolumeIsReportedOnlyWhenApplied)
{
    const struct { const wchar_t* command; unsigned int result; Texts sent; } cases[] = {
        {L"play all to 90000 notify", 0, {L"play all to 90000 notify", L"play sound to 90000 notify"}},
        {L"stop all", 0, {L"stop all", L"stop sound"}}, {L"status sound mode", 0, {L"status sound mode"}},
        {L"resume all", MCIERR_CANNOT_USE_ALL, {L"resume all", L"resume sound"}}, // the retry's answer counts
        {L"pause all", MCIERR_HARDWARE, {L"pause all"}}, {L"close all", 0, {L"close all"}},
        {L"status sound length", MCIERR_CANNOT_USE_ALL, {L"status sound length"}},
    };
    fresh(mp3, 0, 0, L"stopped");
    fake::mci.allRefused = true;
    fake::mci.errors = {{L"resume", MCIERR_CANNOT_USE_ALL}, {L"pause all", MCIERR_HARDWARE},
                        {L"status sound length", MCIERR_CANNOT_USE_ALL}};
    for (const auto& c : cases) {
        fake::mciCalls.clear();
        EXPECT_EQ(c.result, sendMciCommand(c.command, nullptr, 0, window)) << "the answer to " << c.command;
        EXPECT_EQ(c.sent, fake::mciCommands()) << "what " << c.command << " sent";
        EXPECT_EQ(window, fake::mciCalls.back().notifyWindow) << "the notice window of " << c.command;
    }
    // A device without volume control keeps its own quietly; a refusal is reported when asked.
    const struct { unsigned int error; bool report, applied; } volumes[] = {
        {MCIERR_UNRECOGNIZED_COMMAND, true, true}, {MCIERR_UNSUPPORTED_FUNCTION, true, true},
        {MCIERR_OUTOFRANGE, false, false}, {MCIERR_OUTOFRANGE, true, false},
    };
    for (const auto& c : volumes) {
        fresh(mp3, 0, 0, L"stopped");
        volume = 250;
        fake::mci.errors[L"setaudio"] = c.error;
        EXPECT_EQ(c.applied, applyVolume(nullptr, c.report)) << "whether the volume counts as set, error " << c.error;
        EXPECT_EQ(Texts{L"setaudio sound volume to 250"}, fake::mciCommands()) << "a quarter of full volume";
        const Texts expected = c.report && !c.applied ? Texts{mciError(volumeError)} : Texts{};
        EXPECT_EQ(expected, boxes(expected.size())) << "reports of volume error " << c.error;
    }
}

} // namespace
