#include "tests/unit/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/report.h"
#include "app/tray_clicks.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/file_dialogs.h"
#include "ui/seek_window.h"

void resetPlayerState()
{
    fake::reset();
    repeat = shuffle = balloonOnOpen = messageDisplayType = sortOnOpen = sortByFullPath = sortLoadedPlaylist = 0;
    volume = 1000, isPlaying = 0, modalDialogOpen = 0, currentPosition = 0, instanceHandle = GetModuleHandleW(nullptr);
    playlistOpenFilterIndex = exportFilterIndex = 0;
    seekDisplayState = SeekDisplayState();
    ZeroMemory(&trayIconData, sizeof(trayIconData));
    trayClickState = {};
    connectTrayIcon();
    HeapFree(GetProcessHeap(), 0, playlist);
    HeapFree(GetProcessHeap(), 0, shuffleOrder);
    playlist = allocatePlaylistEntries(1);
    shuffleOrder = allocateShuffleOrder(1);
}

void setPlaylist(const Texts& paths)
{
    PlaylistEntry* entries = allocatePlaylistEntries(paths.size() + 8);
    for (size_t i = 0; i < paths.size(); ++i)
        wcsncpy(entries[i].path, paths[i].c_str(), 1023);
    replacePlaylist(entries);
}

Texts playlistPaths()
{
    Texts paths;
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

std::string readBytes(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string utf16(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

HWND createTestWindow()
{
    static WNDCLASSW windowClass = {0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr),
        LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYER)), nullptr, nullptr, nullptr, L"VELMORIS_TEST"};
    static ATOM registered = RegisterClassW(&windowClass);
    return CreateWindowExW(0, MAKEINTATOM(registered), L"Velmoris Player", 0, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
}

Texts boxes(size_t expected)
{
    fake::waitForMessageBoxes(expected);
    Texts shown;
    for (const fake::MessageBoxCall& box : fake::waitForMessageBoxes(expected + 1, 200))
        shown.push_back(box.caption + L": " + box.text);
    return shown;
}

void Unit::SetUp()
{
    resetPlayerState();
    static unsigned int counter;
    folder = (std::filesystem::temp_directory_path() /
              (L"velmoris-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter))).wstring();
    std::filesystem::create_directories(folder);
    wcscpy(settingsFilePath, (folder + L"\\taro Velmoris Player.ini").c_str());
    wcscpy(currentPlaylistFilePath, (folder + L"\\taro playlist.tsv").c_str());
    window = createTestWindow();
}

void Unit::TearDown()
{
    DestroyWindow(window);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    resetPlayerState();
}
