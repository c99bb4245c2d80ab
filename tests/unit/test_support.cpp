#include "tests/unit/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "app/tray_clicks.h"
#include "app/tray_icon.h"
#include "base/player_globals.h"
#include "base/report.h"
#include "playback/mci_device.h"
#include "playlist/start_grouping.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/file_dialogs.h"
#include "ui/seek_window.h"

void resetPlayerState()
{
    fake::reset();
    fake::clear(repeat, shuffle, balloonOnOpen, messageDisplayType, sortOnOpen, sortByFullPath, sortLoadedPlaylist,
                isPlaying, modalDialogOpen, currentPosition, playlistOpenFilterIndex, exportFilterIndex, startMarker,
                taskbarCreatedMessage, seekDisplayState, trayIconData, trayClickState);
    volume = 1000;
    instanceHandle = GetModuleHandleW(nullptr);
    connectTrayIcon();
    releasePlaylist();
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
    for (size_t i = 0; i <= indices.size(); ++i) // then the entry past the last, as the end
        shuffleOrder[i] = &playlist[i < indices.size() ? indices[i] : i];
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

static HWND createWindowOfClass(WNDPROC procedure, const wchar_t* className, const wchar_t* title, int iconId)
{
    HICON icon = iconId ? LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId)) : nullptr;
    WNDCLASSW windowClass = {0, procedure, 0, 0, GetModuleHandleW(nullptr), icon, nullptr, nullptr, nullptr, className};
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, title, 0, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
}

HWND createMainWindow() { return createWindowOfClass(mainWindowProc, L"VELMORIS_MAIN", L"", 0); }

std::vector<UINT> postedTo(HWND window)
{
    std::vector<UINT> messages;
    for (MSG message; PeekMessageW(&message, window, 0, 0, PM_REMOVE);)
        messages.push_back(message.message);
    return messages;
}

static void waitForBoxes(size_t count, DWORD timeoutMs)
{
    for (DWORD started = GetTickCount(); fake::messageBoxes().size() < count && GetTickCount() - started < timeoutMs;)
        Sleep(10);
}

Texts boxes(size_t expected)
{
    waitForBoxes(expected, 5000);
    waitForBoxes(expected + 1, 200);
    Texts shown;
    for (const fake::MessageBoxCall& box : fake::messageBoxes())
        shown.push_back(box.caption + L": " + box.text);
    return shown;
}

static std::string colourBits(HICON icon) // at most 24 x 24 at 32 bits a pixel
{
    ICONINFO info = {};
    GetIconInfo(icon, &info);
    std::string bits(24 * 24 * 4, '\0');
    bits.resize(GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data()));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits;
}

// Which of the player's tray pictures an icon shows, and at which size.
static std::wstring pictureOf(HICON icon)
{
    for (int size : {16, 24})
        for (int id : {IDI_PLAYER, IDI_PLAYING}) {
            HANDLE loaded = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
            const bool same = colourBits(static_cast<HICON>(loaded)) == colourBits(icon);
            DestroyIcon(static_cast<HICON>(loaded));
            if (same)
                return (id == IDI_PLAYER ? L"stopped " : L"playing ") + std::to_wstring(size) + L" px";
        }
    return L"another picture";
}

Texts shellSaw()
{
    Texts seen;
    for (const auto& [message, data, picture] : fake::notifyCalls) {
        std::wstring call = message == NIM_ADD ? L"add" : message == NIM_MODIFY ? L"modify" : L"delete";
        const UINT flags = message == NIM_DELETE ? 0 : data.uFlags; // the shell forgets the rest
        if (flags & NIF_ICON)
            call += L", " + pictureOf(picture);
        if (flags & NIF_TIP)
            call += L", tip " + std::wstring(data.szTip);
        if (flags & NIF_INFO)
            call += std::wstring(data.dwInfoFlags == NIIF_ERROR ? L", error" : L",") + L" balloon " + data.szInfoTitle
                    + L": " + data.szInfo;
        seen.push_back(call);
    }
    return seen;
}

Texts deviceCommands()
{
    Texts sent;
    for (const std::wstring& command : fake::mciCommands())
        if (command.compare(0, 7, L"status ") != 0 && command.compare(0, 11, L"capability ") != 0)
            sent.push_back(command);
    return sent;
}

void Unit::SetUp()
{
    resetPlayerState();
    static unsigned int counter;
    const std::wstring name = L"velmoris-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    folder = (std::filesystem::temp_directory_path() / name).wstring();
    std::filesystem::create_directories(folder);
    wcscpy(settingsFilePath, (folder + L"\\taro Velmoris Player.ini").c_str());
    wcscpy(currentPlaylistFilePath, (folder + L"\\taro playlist.tsv").c_str());
    window = createWindowOfClass(DefWindowProcW, L"VELMORIS_TEST", L"Velmoris Player", IDI_PLAYER);
}

void Unit::TearDown()
{
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    DestroyWindow(window);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    resetPlayerState();
}
