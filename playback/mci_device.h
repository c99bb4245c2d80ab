// The one MCI sound device of the player, alias "sound": open, close, play, pause, stop, volume.
#pragma once

#include <windows.h>

// 1 from the start of playback until it is stopped, paused, closed, replaced or fails.
extern int isPlaying;

// Sends an MCI command string. An "all" command that the driver refuses with
// MCIERR_CANNOT_USE_ALL is sent once more to "sound", the only device the player opens.
// Returns the MCI error (0 on success).
unsigned int sendMciCommand(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow);

// Sends a query; reply (1024 units) is empty when the query fails.
void queryMci(const wchar_t* command, wchar_t* reply);

// Reports an MCI error with its system text and the given caption through reportMessage.
void reportMciError(HWND owner, unsigned int error, const wchar_t* caption);

bool openTrack(HWND window);
void closeTrack(HWND window);
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
