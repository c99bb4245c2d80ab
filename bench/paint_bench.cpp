// Repaint cost of the seek window's time display, in milliseconds per paint (mean of many):
//   paintTimeDisplay = a whole WM_PAINT of a visible 200 x 60 window (off-screen drawing with
//                      GDI+, then one BitBlt to the window);
//   bare BitBlt      = only copying a ready 200 x 60 bitmap to the same window.
#include <windows.h>
#include <gdiplus.h>

#include <stdio.h>

#include "bench/bench_clock.h"
#include "ui/time_display.h"

static const int paints = 2000;
static SeekDisplayState benchState = {240000, 100000, 120};

static LRESULT CALLBACK benchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        paintTimeDisplay(window, &benchState);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static HWND createDisplayWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = benchWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"VELMORIS_PAINT_BENCH";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"paint bench", WS_POPUP | WS_VISIBLE, 100, 100, 200, 60,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

static double meanPaintMs(HWND window)
{
    for (int i = 0; i < 50; ++i) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
    double started = nowMs();
    for (int i = 0; i < paints; ++i) {
        benchState.cursorX = i % 200;
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
    GdiFlush();
    return (nowMs() - started) / paints;
}

static double meanBitBltMs(HWND window)
{
    HDC target = GetDC(window);
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, 200, 60);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int i = 0; i < 50; ++i)
        BitBlt(target, 0, 0, 200, 60, memory, 0, 0, SRCCOPY);
    double started = nowMs();
    for (int i = 0; i < paints; ++i)
        BitBlt(target, 0, 0, 200, 60, memory, 0, 0, SRCCOPY);
    GdiFlush();
    double mean = (nowMs() - started) / paints;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, target);
    return mean;
}

int wmain()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HWND window = createDisplayWindow();
    if (!window) {
        printf("could not create the window\n");
        return 1;
    }
    double paint = meanPaintMs(window);
    double blit = meanBitBltMs(window);
    printf("paintTimeDisplay 200x60: %.3f ms per paint (mean of %d)\n", paint, paints);
    printf("bare BitBlt 200x60:      %.3f ms per copy (mean of %d)\n", blit, paints);
    DestroyWindow(window);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
