// Entry point: one player per desktop; a later start hands its files to the running one.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "app/app_messages.h"
#include "app/main_window.h"
#include "app/report.h"
#include "app/start_turn.h"
#include "playlist/add_media.h"
#include "resources/resource.h"
#include "settings/settings.h"

// A later start: hand the command line over, or tell the user that the player already runs.
static int handOver(HWND runningPlayer, HANDLE turn)
{
    // This process ends right away: its reports must be seen before it does.
    reportsWaitForDismissal = true;
    int result = openCommandLinePaths();
    bool posted = result == COMMAND_LINE_WRITTEN && PostMessageW(runningPlayer, WM_APP_RELOAD_PLAYLIST, 0, 0);
    endStartTurn(turn);
    if (result == COMMAND_LINE_WRITTEN) {
        if (!posted)
            showMessage(nullptr, L"起動中のプレーヤーにファイルを渡せませんでした。", L"エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    // A list that could not be written has been reported; the running player keeps its own.
    if (result == COMMAND_LINE_NOT_WRITTEN)
        return 0;
    showMessage(nullptr,
                L"既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダーをドラッグアンドドロップして既存のプロセスに開かせることは出来ます。",
                L"確認", MB_OK | MB_ICONINFORMATION);
    return 0;
}

static bool registerMainWindowClass(HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PLAYER), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    windowClass.hCursor = static_cast<HCURSOR>(
        LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = mainWindowClassName;
    return RegisterClassW(&windowClass) != 0;
}

static int runMainWindow(HINSTANCE instance, HANDLE turn)
{
    if (!registerMainWindowClass(instance)) {
        endStartTurn(turn);
        showMessage(nullptr, L"メインウィンドウのウィンドウクラスの登録に失敗しました。", L"エラー", MB_OK | MB_ICONERROR);
        return -1;
    }
    HWND window = CreateWindowExW(0, mainWindowClassName, programTitle, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    // The window is there to be found: the next start may look.
    endStartTurn(turn);
    if (!window) {
        showMessage(nullptr, L"メインウィンドウの作成に失敗しました。", L"エラー", MB_OK | MB_ICONERROR);
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
