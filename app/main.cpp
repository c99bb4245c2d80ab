// Entry point: one player per desktop; a later start hands its files to the running one.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "app/hand_over.h"
#include "app/main_window.h"
#include "base/report.h"
#include "app/start_turn.h"
#include "base/player_globals.h"
#include "base/report.h"
#include "base/window_class.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"

static int runMainWindow(HINSTANCE instance)
{
    if (!registerPlayerWindowClass(instance, mainWindowClassName, mainWindowProc,
                                   static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
        endStartTurn(&startTurn);
        showErrorMessage(nullptr, L"メインウィンドウのウィンドウクラスの登録に失敗しました。");
        return -1;
    }
    HWND window = CreateWindowExW(0, mainWindowClassName, programTitle, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    // The window is there to be found: the next start may look.
    endStartTurn(&startTurn);
    if (!window) {
        showErrorMessage(nullptr, L"メインウィンドウの作成に失敗しました。");
        return -1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    loadSettings();
    startTurn = takeStartTurn();
    removeAbandonedTemporaryFiles(currentPlaylistFilePath);
    HWND runningPlayer = FindWindowW(mainWindowClassName, programTitle);
    if (runningPlayer)
        return handOver(runningPlayer, GetCommandLineW());

    InitCommonControls();
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);
    int exitCode = runMainWindow(instance);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return exitCode;
}
