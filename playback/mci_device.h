// The one MCI sound device of the player, alias "sound": open, close, play, pause, stop, volume.
#pragma once

#include <windows.h>

// 1 from the start of playback until it is stopped, paused, closed, replaced or fails.
extern int isPlaying;

// Sends an MCI command string. An "all" command that the driver refuses with
// MCIERR_CANNOT_USE_ALL is sent once more to "sound", the only device the player opens.
// Returns the MCI error (0 on success).
unsigned int sendMciCommand(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow);

// Reports an MCI error with its system text and the given caption through reportMessage.
void reportMciError(HWND owner, unsigned int error, const wchar_t* caption);

// The device's answer to "status sound mode"; DEVICE_NOT_OPEN when there is no answer.
enum DeviceMode { DEVICE_NOT_OPEN, DEVICE_STOPPED, DEVICE_PLAYING, DEVICE_PAUSED, DEVICE_SEEKING, DEVICE_OTHER };
DeviceMode deviceMode();
// True when the open device is a MIDI sequencer, which cannot be paused.
bool isSequencerOpen();
// Length and position of the open track in milliseconds; 0 when the device does not answer.
int deviceLengthMs();
int devicePositionMs();

bool openTrack(HWND window);
// Stops and closes the device; the tray icon is left as it is.
void closeDevice();
// closeDevice, and the tray icon shows the stopped picture with the plain tooltip.
void closeTrack(HWND window);
// Moves the open track to position; the device then rests there.
void seekPlayback(unsigned int position);
// Stops the device where it stands, without rewinding or changing the tray icon.
void haltPlayback();
void startPlayback(HWND window);
void pausePlayback();
void stopPlayback();
// Sends the stored volume; reports every failure with owner (which may be null).
bool applyVolume(HWND owner);
// Sends the stored volume without reporting; the MCI error (0 on success).
unsigned int sendVolume();
// True for the answers of devices that have no volume control at all.
bool isVolumeUnsupported(unsigned int error);
// A play that failed part-way (MM_MCINOTIFY with MCI_NOTIFY_FAILURE).
void onPlaybackFailed();
