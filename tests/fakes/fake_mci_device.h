// A model of the player's one MCI device for the unit tests, answering through fake::mciHandler.
//
//   fake::installMciDevice();              // after support::resetPlayerState()
//   fake::mciDevice.allRefused = true;     // answer "all" as Wine does
//   fake::mciDevice.errors[L"setaudio"] = MCIERR_OUTOFRANGE;
//   openTrack(window);
//   EXPECT_EQ(expected, fake::mciCommands());
//
// Model: "open \"path\" alias sound" opens the file stopped at 0 (the device type comes from the
// extension: .mid/.midi/.rmi "sequencer", .wav "waveaudio", anything else "digitalvideo"; a path
// without an extension fails with MCIERR_EXTENSION_NOT_FOUND). "play" makes the mode "playing",
// "pause" "paused" (a "sequencer" stays "playing"), "resume" "playing" again when paused, "stop"
// "stopped", "seek ... to N|start" "stopped" at that position, "close" closes. Commands to "sound"
// while nothing is open fail with MCIERR_INVALID_DEVICE_NAME; "stop all" and "close all" succeed
// then. "waveaudio" and "sequencer" refuse "setaudio" with MCIERR_UNRECOGNIZED_COMMAND, as the real
// drivers do. Replies: "status sound mode", "capability sound device type",
// "status sound length" and "status sound position" (milliseconds).
#pragma once

#include <map>
#include <string>

namespace fake {

struct MciDevice {
    bool open = false;
    std::wstring path;         // the file named by the open
    std::wstring type;         // "sequencer", "waveaudio" or "digitalvideo"
    std::wstring mode;         // "stopped", "playing" or "paused"; empty while closed
    unsigned int position = 0; // ms
    unsigned int playEnd = 0;  // the "to" of the last play, 0 for none
    unsigned int length = 180000;
    // Wine: every "all" command but "close all" fails with MCIERR_CANNOT_USE_ALL.
    bool allRefused = false;
    // Scripted failures: a command that starts with a key fails with its value, changing nothing.
    std::map<std::wstring, unsigned int> errors;
};

extern MciDevice mciDevice;

// A fresh closed device, installed as fake::mciHandler.
void installMciDevice();

} // namespace fake
