#include "ui/seek_window.h"

#include "base/report.h"
#include "base/player_globals.h"
#include "base/wide_text.h"
#include "base/window_class.h"
#include "playback/mci_device.h"
#include "ui/time_display.h"
#include "ui/volume_dialog.h"

SeekDisplayState seekDisplayState;

static LRESULT CALLBACK seekWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set once registration succeeds; a failed registration is tried again at the next opening.
static bool seekClassRegistered;

// At 96 DPI; the window takes the size at the DPI of its monitor.
static const int seekWindowWidth = 200;
static const int seekWindowHeight = 60;
static const UINT_PTR refreshTimer = 1;
static const UINT refreshPeriodMs = 250;

static void readDeviceTimes()
{
    seekDisplayState.lengthMs = deviceLengthMs();
    seekDisplayState.positionMs = devicePositionMs();
}

void openSeekWindow(HWND mainWindow)
{
    if (!seekClassRegistered) {
        if (!registerPlayerWindowClass(instanceHandle, seekWindowClassName, seekWindowProc,
                                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))) {
            reportMessage(nullptr, L"シークウィンドウのウィンドウクラスの登録に失敗しました。", L"エラー");
            return;
        }
        seekClassRegistered = true;
    }
    // Only a window of the foreground process may take the activation that the seek window
    // needs in order to notice losing it.
    SetForegroundWindow(mainWindow);
    wchar_t title[TEXT_BUFFER_UNITS];
    formatText(title, TEXT_BUFFER_UNITS, L"シーク - %ls", programTitle);
    if (!CreateWindowExW(0, seekWindowClassName, title, WS_POPUP | WS_VISIBLE, 0, 0, seekWindowWidth, seekWindowHeight,
                         mainWindow, nullptr, instanceHandle, nullptr))
        reportMessage(nullptr, L"シークウィンドウの作成に失敗しました。", L"エラー");
}

static LRESULT onCreate(HWND window)
{
    unsigned int dpi = windowDpi(window);
    SetWindowPos(window, nullptr, 0, 0, scaleToDpi(seekWindowWidth, dpi), scaleToDpi(seekWindowHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    placeWindowAtCursor(window);
    readDeviceTimes();
    seekDisplayState.cursorX = 0;
    SetTimer(window, refreshTimer, refreshPeriodMs, nullptr);
    return 0;
}

static LRESULT onDestroy(HWND window)
{
    KillTimer(window, refreshTimer);
    return 0;
}

// A click outside, the tray menu or any other window ends the flyout.
static LRESULT onActivate(HWND window, WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE)
        SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

static LRESULT onPaint(HWND window)
{
    paintTimeDisplay(window, &seekDisplayState);
    return 0;
}

static LRESULT onTimer(HWND window)
{
    readDeviceTimes();
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

static LRESULT onMouseMove(HWND window, LPARAM position)
{
    seekDisplayState.cursorX = LOWORD(position);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// Windows suggests the rectangle for the new DPI, the size scaled about the same place.
static LRESULT onDpiChanged(HWND window, const RECT* suggested)
{
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// MCI stops a playing device on a seek; the main window restarts it from the new place. The whole width the
// window has stands for the whole track, at any DPI.
static LRESULT seekToCursor(HWND window, LPARAM position)
{
    seekDisplayState.cursorX = LOWORD(position);
    int wasPlaying = isPlaying;
    seekDisplayState.lengthMs = deviceLengthMs();
    RECT client;
    GetClientRect(window, &client);
    seekPlayback(static_cast<unsigned int>(timeAtPixel(seekDisplayState.cursorX, seekDisplayState.lengthMs,
                                                       client.right - client.left)));
    if (wasPlaying)
        PostMessageW(GetParent(window), WM_APP_PLAY, 0, 0);
    return 0;
}

static LRESULT CALLBACK seekWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_DESTROY: return onDestroy(window);
    case WM_ACTIVATE: return onActivate(window, wParam);
    case WM_PAINT: return onPaint(window);
    case WM_TIMER: return onTimer(window);
    case WM_MOUSEMOVE: return onMouseMove(window, lParam);
    case WM_LBUTTONDOWN: return seekToCursor(window, lParam);
    case WM_DPICHANGED: return onDpiChanged(window, reinterpret_cast<const RECT*>(lParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
