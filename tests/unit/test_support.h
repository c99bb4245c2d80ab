// Shared helpers of the unit tests: a fresh process-wide state, temporary folders, playlists.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"

namespace support {

// Puts every process-wide value of the player back to its start-up state (settings at their
// defaults, an empty playlist and shuffle order, no tray icon) and resets the system fake.
void resetPlayerState();

// Replaces the playlist by these paths (start and end 0) with spare capacity, like a builder.
void setPlaylist(const std::vector<std::wstring>& paths);

// The paths of the playlist in list order.
std::vector<std::wstring> playlistPaths();

// Replaces the shuffle order by these playlist indices, followed by the terminator slot.
void setShuffleOrder(const std::vector<int>& indices);

// A new empty folder under the system's temporary folder; removed with removeTree.
std::wstring makeTempFolder(const wchar_t* tag);
void removeTree(const std::wstring& folder);

std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::string& bytes);
// The bytes of a playlist file holding text: the FF FE mark, then the text as UTF-16LE.
std::string utf16File(const std::wstring& text);

// A hidden window of a class with the player's icon 100, as the tray operations expect.
HWND createTestWindow(const wchar_t* title = L"Velmoris Player");

// A test that starts from the start-up state with an empty temporary folder of its own, which
// holds the per-user settings file and current-playlist file; all of it is removed afterwards.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring folder;
};

// A FolderTest with a test window of its own.
class WindowTest : public FolderTest {
protected:
    void SetUp() override { FolderTest::SetUp(), window = createTestWindow(); }
    void TearDown() override { DestroyWindow(window), FolderTest::TearDown(); }

    HWND window = nullptr;
};

} // namespace support
