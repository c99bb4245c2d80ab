// The unit tests' one fixture and helpers.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "tests/fakes/fake_system_calls.h"

using Texts = std::vector<std::wstring>;

// Every process-wide value at its start-up state, the fakes fresh.
void resetPlayerState();
void setPlaylist(const Texts& paths);
Texts playlistPaths();
void setShuffleOrder(const std::vector<int>& indices); // playlist indices
std::string readBytes(const std::wstring& path);
void writeBytes(const std::wstring& path, const std::string& bytes);
std::string utf16(const std::wstring& text); // FF FE, then UTF-16LE
// "caption: text" of the message boxes, once expected have come and a moment later for any extra.
Texts boxes(size_t expected);
// What the shell was told, a line a call: "add", "modify" or "delete", then what the call's flags name of the
// picture ("stopped 16 px", "playing 24 px"), the tip ("tip <text>") and the balloon ("balloon <title>: <text>").
Texts shellSaw();
// The MCI commands sent, but for the questions (status, capability).
Texts deviceCommands();
// The messages posted to window, taken off its queue.
std::vector<UINT> postedTo(HWND window);
// The player's hidden main window, made by its own WM_CREATE, which also takes the test's own command line for the
// paths to play, as the player's would: hide messages first where no box is awaited.
HWND createMainWindow();

// From the start-up state, with an empty folder holding the settings and current-playlist files, and a test window.
class Unit : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring folder;
    HWND window = nullptr;
};
