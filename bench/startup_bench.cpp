// Start-up and hand-over figures of the real player under the current system:
//   cold start  = process launched -> its tray icon exists;
//   hand-over   = a later start with a track launched -> the running player plays it;
//   baseline    = a minimal program that adds a tray icon and exits (launch -> exit).
// Each figure is the mean and the minimum over several runs, in milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <stdio.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "bench/bench_clock.h"

static const int runs = 5;

static std::wstring moduleFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

static HANDLE launch(const std::wstring& commandLine, const std::wstring& folder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
    text.push_back(L'\0');
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

static HWND player()
{
    return FindWindowW(L"VELMORIS_PLAYER_MAIN", L"Velmoris Player");
}

static bool trayIconExists(HWND window)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

static bool isPlaying(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, 0x8003, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) && result == 1;
}

template <typename Condition>
static bool waitFor(Condition condition, double timeoutMs)
{
    double deadline = nowMs() + timeoutMs;
    while (!condition()) {
        if (nowMs() > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

static void stopPlayer(HANDLE process)
{
    HWND window = player();
    if (window)
        PostMessageW(window, WM_COMMAND, 1001, 0);
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    CloseHandle(process);
    waitFor([] { return player() == nullptr; }, 5000);
}

static void print(const wchar_t* name, const std::vector<double>& samples)
{
    if (samples.empty()) {
        wprintf(L"%-34ls failed\n", name);
        return;
    }
    double sum = 0, least = samples[0];
    for (double sample : samples) {
        sum += sample;
        if (sample < least)
            least = sample;
    }
    wprintf(L"%-34ls mean %8.1f ms   min %8.1f ms   (%zu runs)\n", name, sum / static_cast<double>(samples.size()),
            least, samples.size());
}

// A short silent WAV, made here so that the benchmark needs no files of its own.
static std::wstring writeTrack(const std::wstring& folder)
{
    std::wstring path = folder + L"bench-track.wav";
    const unsigned int rate = 8000, seconds = 3, bytes = rate * seconds * 2;
    unsigned char header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
    unsigned int riffSize = 36 + bytes, byteRate = rate * 2;
    memcpy(header + 4, &riffSize, 4);
    memcpy(header + 24, &rate, 4);
    memcpy(header + 28, &byteRate, 4);
    memcpy(header + 40, &bytes, 4);
    FILE* file = _wfopen(path.c_str(), L"wb");
    fwrite(header, 1, sizeof(header), file);
    std::vector<unsigned char> silence(bytes, 0);
    fwrite(silence.data(), 1, silence.size(), file);
    fclose(file);
    return path;
}

int wmain()
{
    std::wstring benchFolder = moduleFolder();
    std::wstring buildFolder = benchFolder.substr(0, benchFolder.find_last_of(L'\\', benchFolder.size() - 2) + 1);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring work = std::wstring(temp) + L"velmoris-startup-bench\\";
    CreateDirectoryW(work.c_str(), nullptr);
    std::wstring playerPath = work + L"player.exe";
    CopyFileW((buildFolder + L"player.exe").c_str(), playerPath.c_str(), FALSE);
    // Messages hidden, so that no report can stop a run.
    WritePrivateProfileStringW(L"OPTION", L"MSG_DISPLAY_TYPE", L"2", (work + L"bench Velmoris Player.ini").c_str());
    std::wstring track = writeTrack(work);

    std::vector<double> baseline, coldStart, handOver;
    for (int run = 0; run < runs; ++run) {
        double started = nowMs();
        HANDLE process = launch(L"\"" + benchFolder + L"tray_baseline.exe\"", work);
        if (process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0)
            baseline.push_back(nowMs() - started);
        if (process)
            CloseHandle(process);
    }
    for (int run = 0; run < runs; ++run) {
        double started = nowMs();
        HANDLE process = launch(L"\"" + playerPath + L"\"", work);
        if (!process)
            break;
        if (waitFor([] { HWND window = player(); return window && trayIconExists(window); }, 20000))
            coldStart.push_back(nowMs() - started);
        started = nowMs();
        HANDLE later = launch(L"\"" + playerPath + L"\" \"" + track + L"\"", work);
        if (later && waitFor([] { HWND window = player(); return window && isPlaying(window); }, 20000))
            handOver.push_back(nowMs() - started);
        if (later) {
            WaitForSingleObject(later, 10000);
            CloseHandle(later);
        }
        stopPlayer(process);
        DeleteFileW((work + L"bench playlist.tsv").c_str());
    }
    print(L"baseline: tray program start+exit", baseline);
    print(L"player: launch -> tray icon", coldStart);
    print(L"player: later start -> playing", handOver);
    return 0;
}
