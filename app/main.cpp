// Entry point: one player per desktop; a later start hands its files to the running one.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "app/main_window.h"
#include "app/report.h"
#include "app/start_turn.h"
#include "base/player_globals.h"
#include "base/window_class.h"
#include "playlist/add_media.h"
#include "settings/settings.h"

// A later start: hand the command line over, or tell the user that the player already runs.
static int handOver(HWND runningPlayer, HANDLE turn)
{
    // This process ends right away: its reports must be seen before it does.
    reportsWaitForDismissal = true;
    NewListResult result = openCommandLinePaths();
    bool posted = result == NEW_LIST_WRITTEN && PostMessageW(runningPlayer, WM_APP_RELOAD_PLAYLIST, 0, 0);
    endStartTurn(turn);
    if (result == NEW_LIST_WRITTEN) {
        if (!posted)
            showErrorMessage(nullptr, L"起動中のプレーヤーにファイルを渡せませんでした。");
        return 0;
    }
    // A list that could not be written has been reported; the running player keeps its own.
    if (result == NEW_LIST_NOT_WRITTEN)
        return 0;
    showMessage(nullptr,
                L"既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダーをドラッグアンドドロップして既存のプロセスに開かせることは出来ます。",
                L"確認", MB_OK | MB_ICONINFORMATION);
    return 0;
}

static int runMainWindow(HINSTANCE instance, HANDLE turn)
{
    if (!registerPlayerWindowClass(instance, mainWindowClassName, mainWindowProc,
                                   static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
        endStartTurn(turn);
        showErrorMessage(nullptr, L"メインウィンドウのウィンドウクラスの登録に失敗しました。");
        return -1;
    }
    HWND window = CreateWindowExW(0, mainWindowClassName, programTitle, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    // The window is there to be found: the next start may look.
    endStartTurn(turn);
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
    HANDLE turn = takeStartTurn();
    HWND runningPlayer = FindWindowW(mainWindowClassName, programTitle);
    if (runningPlayer)
        return handOver(runningPlayer, turn);

    InitCommonControls();
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);
    int exitCode = runMainWindow(instance, turn);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return exitCode;
}
