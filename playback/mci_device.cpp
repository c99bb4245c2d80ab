#include "playback/mci_device.h"

#include <mmsystem.h>
#include <stdlib.h>
#include <wchar.h>

#include "base/report.h"
#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

int isPlaying;
void (*onPlaybackChange)(HWND window, PlaybackChange change);

// An aligned 32-bit value is read whole; the volatile read takes it from memory, not from a register
// of a thread that has read it before.
int isPlayingSeenFromAnotherThread()
{
    return *static_cast<volatile const int*>(&isPlaying);
}

void tellPlaybackChange(HWND window, PlaybackChange change)
{
    if (onPlaybackChange)
        onPlaybackChange(window, change);
}

static const wchar_t loadErrorCaption[] = L"音声ファイルの読み込みエラー";
static const wchar_t seekErrorCaption[] = L"再生開始位置指定のエラー";
static const wchar_t playErrorCaption[] = L"音声ファイルの再生エラー";
static const wchar_t volumeErrorCaption[] = L"音量変更エラー";

// "verb all rest" becomes "verb sound rest"; false when the command does not name "all".
static bool addressSound(const wchar_t* command, wchar_t* rewritten)
{
    const wchar_t* space = wcschr(command, L' ');
    if (!space || wcsncmp(space + 1, L"all", 3) != 0 || (space[4] != L' ' && space[4] != L'\0'))
        return false;
    return formatText(rewritten, TEXT_BUFFER_UNITS, L"%.*ls sound%ls", static_cast<int>(space - command), command,
                      space + 4);
}

unsigned int sendMciCommand(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow)
{
    unsigned int error = systemMciSendString(command, reply, replyLength, notifyWindow);
    wchar_t toSound[TEXT_BUFFER_UNITS];
    // Some MCI implementations accept "all" only for "close"; "sound" is the one device open.
    if (error == MCIERR_CANNOT_USE_ALL && addressSound(command, toSound))
        error = systemMciSendString(toSound, reply, replyLength, notifyWindow);
    return error;
}

// A failed query answers with an empty reply.
static void queryMci(const wchar_t* command, wchar_t* reply)
{
    if (sendMciCommand(command, reply, TEXT_BUFFER_UNITS, nullptr) != 0)
        reply[0] = L'\0';
}

// The system's text of the error, with the given caption.
static void reportMciError(HWND owner, unsigned int error, const wchar_t* caption)
{
    wchar_t text[TEXT_BUFFER_UNITS];
    if (!mciGetErrorStringW(error, text, TEXT_BUFFER_UNITS))
        formatText(text, TEXT_BUFFER_UNITS, L"MCI エラー %u", error);
    reportMessage(owner, text, caption);
}

static void sendIgnoringResult(const wchar_t* command)
{
    sendMciCommand(command, nullptr, 0, nullptr);
}

DeviceMode deviceMode()
{
    static const struct {
        const wchar_t* reply;
        DeviceMode mode;
    } modes[] = {
        {L"", DEVICE_NOT_OPEN},
        {L"stopped", DEVICE_STOPPED},
        {L"playing", DEVICE_PLAYING},
        {L"paused", DEVICE_PAUSED},
        {L"seeking", DEVICE_SEEKING},
    };
    wchar_t reply[TEXT_BUFFER_UNITS];
    queryMci(L"status sound mode", reply);
    for (const auto& known : modes) {
        if (wcscmp(reply, known.reply) == 0)
            return known.mode;
    }
    return DEVICE_OTHER;
}

bool isSequencerOpen()
{
    wchar_t type[TEXT_BUFFER_UNITS];
    queryMci(L"capability sound device type", type);
    return wcscmp(type, L"sequencer") == 0;
}

static int queryMilliseconds(const wchar_t* command)
{
    wchar_t reply[TEXT_BUFFER_UNITS];
    queryMci(command, reply);
    return static_cast<int>(wcstol(reply, nullptr, 10));
}

int deviceLengthMs()
{
    return queryMilliseconds(L"status sound length");
}

int devicePositionMs()
{
    return queryMilliseconds(L"status sound position");
}

static unsigned int sendSeek(unsigned int position)
{
    wchar_t command[TEXT_BUFFER_UNITS];
    formatText(command, TEXT_BUFFER_UNITS, L"seek sound to %u", position);
    return sendMciCommand(command, nullptr, 0, nullptr);
}

// MCI stops a playing device on a seek.
void seekPlayback(unsigned int position)
{
    sendSeek(position);
    isPlaying = 0;
}

void haltPlayback()
{
    sendIgnoringResult(L"stop all");
    isPlaying = 0;
}

void closeDevice()
{
    sendIgnoringResult(L"stop all");
    sendIgnoringResult(L"close all");
    isPlaying = 0;
}

void closeTrack(HWND window)
{
    closeDevice();
    tellPlaybackChange(window, TRACK_CLOSED);
}

static bool representableInAnsiCodePage(const wchar_t* text)
{
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &usedDefault);
    // A code page that takes no such check (UTF-8) represents every name.
    return bytes == 0 || !usedDefault;
}

// The WAV and MIDI drivers open their file by its ANSI name, so a character outside the ANSI
// code page makes a file that exists unfindable: such a file is opened by its short name,
// when it has one that the code page holds.
static const wchar_t* nameToOpen(const wchar_t* path, wchar_t* shortName)
{
    if (representableInAnsiCodePage(path))
        return path;
    DWORD units = systemShortPathName(path, shortName, TEXT_BUFFER_UNITS);
    if (units == 0 || units >= TEXT_BUFFER_UNITS || !representableInAnsiCodePage(shortName))
        return path;
    return shortName;
}

// A quote would end the quoted path early and let the rest of the name be read as MCI words;
// a command cut to the buffer would name another file.
static bool formatOpenCommand(HWND window, const wchar_t* path, wchar_t* command)
{
    if (wcschr(path, L'"')) {
        reportMessage(window, L"ファイルのパスに使用できない文字 (\") が含まれているため、開けません。", loadErrorCaption);
        return false;
    }
    wchar_t shortName[TEXT_BUFFER_UNITS];
    if (!formatText(command, TEXT_BUFFER_UNITS, L"open \"%ls\" alias sound", nameToOpen(path, shortName))) {
        reportMessage(window, L"ファイルのパスが長すぎるため、開けません。", loadErrorCaption);
        return false;
    }
    return true;
}

static bool seekToStart(HWND owner, unsigned int start)
{
    unsigned int error = sendSeek(start);
    if (error != 0)
        reportMciError(owner, error, seekErrorCaption);
    return error == 0;
}

bool openTrack(HWND window)
{
    closeTrack(window);
    const PlaylistEntry* entry = entryAtPosition(currentPosition);
    if (entry->path[0] == L'\0')
        return false;
    wchar_t command[TEXT_BUFFER_UNITS];
    if (!formatOpenCommand(window, entry->path, command))
        return false;
    unsigned int error = sendMciCommand(command, nullptr, 0, nullptr);
    if (error != 0) {
        reportMciError(window, error, loadErrorCaption);
        return false;
    }
    sendIgnoringResult(L"set sound time format ms");
    if (entry->start != 0 && !seekToStart(window, entry->start))
        return false;
    applyVolume(window, true);
    tellPlaybackChange(window, TRACK_OPENED);
    return true;
}

// The play command for a stopped device; false (reported) when the entry's span is invalid.
static bool formatPlayCommand(wchar_t* command)
{
    const PlaylistEntry* entry = entryAtPosition(currentPosition);
    if (entry->end == 0)
        return copyText(command, TEXT_BUFFER_UNITS, L"play all notify");
    if (entry->end <= entry->start) {
        reportMessage(nullptr, L"再生終了位置の指定が不正です。", L"エラー");
        return false;
    }
    return formatText(command, TEXT_BUFFER_UNITS, L"play all to %u notify", entry->end);
}

// isPlaying is set only once the device is seen playing.
void startPlayback(HWND window)
{
    if (isPlaying)
        return;
    DeviceMode mode = deviceMode();
    wchar_t command[TEXT_BUFFER_UNITS];
    HWND notifyWindow = nullptr;
    if (mode == DEVICE_PLAYING) {
        isPlaying = 1;
        return;
    }
    if (mode == DEVICE_PAUSED)
        copyText(command, TEXT_BUFFER_UNITS, L"resume all");
    else if (formatPlayCommand(command))
        notifyWindow = window;
    else
        return;
    unsigned int error = sendMciCommand(command, nullptr, 0, notifyWindow);
    if (error != 0) {
        reportMciError(nullptr, error, playErrorCaption);
        return;
    }
    if (deviceMode() == DEVICE_PLAYING) {
        isPlaying = 1;
        tellPlaybackChange(nullptr, NOW_PLAYING);
    }
}

void pausePlayback()
{
    // A MIDI sequencer cannot be paused; it plays on.
    if (isSequencerOpen())
        return;
    sendIgnoringResult(L"pause all");
    if (deviceMode() == DEVICE_PAUSED) {
        isPlaying = 0;
        tellPlaybackChange(nullptr, NOW_PAUSED);
    }
}

void stopPlayback()
{
    sendIgnoringResult(L"stop all");
    if (deviceMode() != DEVICE_STOPPED)
        return;
    isPlaying = 0;
    unsigned int start = entryAtPosition(currentPosition)->start;
    if (start != 0)
        seekToStart(nullptr, start);
    else
        sendIgnoringResult(L"seek all to start");
    tellPlaybackChange(nullptr, NOW_STOPPED);
}

// A device without any volume control plays at its own volume: that is no failure to show.
bool applyVolume(HWND owner, bool report)
{
    wchar_t command[TEXT_BUFFER_UNITS];
    formatText(command, TEXT_BUFFER_UNITS, L"setaudio sound volume to %d", volume);
    unsigned int error = sendMciCommand(command, nullptr, 0, nullptr);
    if (error == 0 || error == MCIERR_UNRECOGNIZED_COMMAND || error == MCIERR_UNSUPPORTED_FUNCTION)
        return true;
    if (report)
        reportMciError(owner, error, volumeErrorCaption);
    return false;
}

void onPlaybackFailed()
{
    isPlaying = 0;
    tellPlaybackChange(nullptr, NOW_STOPPED);
}
