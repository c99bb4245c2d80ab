// The one MCI sound device of the player, alias "sound": open, close, play, pause, stop, volume.
#pragma once

#include <windows.h>

// 1 from the start of playback until it is stopped, paused, closed, replaced or fails.
extern int isPlaying;
// isPlaying as another thread may read it (the tray icon's click thread).
int isPlayingSeenFromAnotherThread();

// What the user sees of playback changes; each change is told through onPlaybackChange.
enum PlaybackChange { TRACK_CLOSED, TRACK_OPENED, NOW_PLAYING, NOW_PAUSED, NOW_STOPPED };
// Set by the application, which shows the changes; window is the main window (TRACK_CLOSED: the
// window whose title the tooltip becomes), else null.
extern void (*onPlaybackChange)(HWND window, PlaybackChange change);
// Tells onPlaybackChange, when it is set.
void tellPlaybackChange(HWND window, PlaybackChange change);

// Sends an MCI command string. An "all" command that the driver refuses with
// MCIERR_CANNOT_USE_ALL is sent once more to "sound", the only device the player opens.
// Returns the MCI error (0 on success).
unsigned int sendMciCommand(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow);


// The device's answer to "status sound mode"; DEVICE_NOT_OPEN when there is no answer.
enum DeviceMode { DEVICE_NOT_OPEN, DEVICE_STOPPED, DEVICE_PLAYING, DEVICE_PAUSED, DEVICE_SEEKING, DEVICE_OTHER };
DeviceMode deviceMode();
// True when the open device is a MIDI sequencer, which cannot be paused.
bool isSequencerOpen();
// Length and position of the open track in milliseconds; 0 when the device does not answer.
int deviceLengthMs();
int devicePositionMs();

bool openTrack(HWND window);
// Stops and closes the device, silently.
void closeDevice();
// closeDevice, told as TRACK_CLOSED.
void closeTrack(HWND window);
// Moves the open track to position; the device then rests there.
void seekPlayback(unsigned int position);
// Stops the device where it stands, without rewinding or changing the tray icon.
void haltPlayback();
void startPlayback(HWND window);
void pausePlayback();
void stopPlayback();
// Sends the stored volume; false when the device refused it, which is then reported with owner (which
// may be null) when report is set. A device without volume control keeps its own, quietly.
bool applyVolume(HWND owner, bool report);
// A play that failed part-way (MM_MCINOTIFY with MCI_NOTIFY_FAILURE).
void onPlaybackFailed();
