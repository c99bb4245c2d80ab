#include "tests/unit/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/report.h"
#include "app/tray_clicks.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "playlist/playlist_dialogs.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "ui/seek_window.h"

namespace support {

void resetPlayerState()
{
    fake::reset();
    repeat = shuffle = balloonOnOpen = messageDisplayType = 0;
    sortOnOpen = sortByFullPath = sortLoadedPlaylist = 0;
    volume = 1000;
    isPlaying = 0;
    seekDisplayState = SeekDisplayState();
    modalDialogOpen = 0;
    playlistOpenFilterIndex = exportFilterIndex = 0;
    reportsWaitForDismissal = false;
    currentPosition = 0;
    ZeroMemory(&trayIconData, sizeof(trayIconData));
    trayClickState = {};
    if (playlist)
        HeapFree(GetProcessHeap(), 0, playlist);
    if (shuffleOrder)
        HeapFree(GetProcessHeap(), 0, shuffleOrder);
    playlist = allocatePlaylistEntries(1);
    shuffleOrder = allocateShuffleOrder(1);
}

void setPlaylist(const std::vector<std::wstring>& paths)
{
    PlaylistEntry* entries = allocatePlaylistEntries(paths.size() + 8);
    for (size_t i = 0; i < paths.size(); ++i)
        wcsncpy(entries[i].path, paths[i].c_str(), 1023);
    replacePlaylist(entries);
}

std::vector<std::wstring> playlistPaths()
{
    std::vector<std::wstring> paths;
    for (int i = 0; playlist[i].path[0] != L'\0'; ++i)
        paths.push_back(playlist[i].path);
    return paths;
}

void setShuffleOrder(const std::vector<int>& indices)
{
    HeapFree(GetProcessHeap(), 0, shuffleOrder);
    shuffleOrder = allocateShuffleOrder(indices.size() + 1);
    for (size_t i = 0; i < indices.size(); ++i)
        shuffleOrder[i] = &playlist[indices[i]];
    shuffleOrder[indices.size()] = &playlist[indices.size()];
}

std::wstring makeTempFolder(const wchar_t* tag)
{
    static unsigned int counter;
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
        (L"velmoris-" + std::wstring(tag) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::create_directories(folder);
    return folder.wstring();
}

void removeTree(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string readFileBytes(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string utf16File(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

HWND createTestWindow(const wchar_t* title)
{
    static bool registered;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.hIcon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_PLAYER), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
        windowClass.lpszClassName = L"VELMORIS_TEST_WINDOW";
        registered = RegisterClassW(&windowClass) != 0;
    }
    return CreateWindowExW(0, L"VELMORIS_TEST_WINDOW", title, 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
}

void FolderTest::SetUp()
{
    resetPlayerState();
    folder = makeTempFolder(L"unit");
    wcscpy(settingsFilePath, (folder + L"\\taro Velmoris Player.ini").c_str());
    wcscpy(currentPlaylistFilePath, (folder + L"\\taro playlist.tsv").c_str());
}

void FolderTest::TearDown()
{
    removeTree(folder);
    resetPlayerState();
}

} // namespace support
