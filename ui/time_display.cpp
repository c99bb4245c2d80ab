#include "ui/time_display.h"

#include "base/player_globals.h"
#include "base/wide_text.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

static const ARGB yellow = 0xFFFFFF00;
static const ARGB cyan = 0xFF00FFFF;
static const ARGB translucentCyan = 0x8000FFFF;
static const ARGB black = 0xFF000000;
static const int minuteMs = 60000;
static const int hourMs = 60 * minuteMs;

long long timeAtPixel(int x, int lengthMs, int width)
{
    return static_cast<long long>(x) * lengthMs / width;
}

static void formatCursorTime(wchar_t* buffer, size_t capacity, long long t)
{
    if (t < hourMs)
        formatText(buffer, capacity, L"%02lld:%02lld.%03lld", t / minuteMs, t % minuteMs / 1000, t % 1000);
    else
        formatText(buffer, capacity, L"%02lld:%02lld:%02lld.%03lld", t / hourMs, t % hourMs / minuteMs,
                   t % minuteMs / 1000, t % 1000);
}

// The form follows the length alone, so position and length always read alike.
static void formatPositionAndLength(wchar_t* buffer, size_t capacity, int positionMs, int lengthMs)
{
    if (lengthMs < hourMs)
        formatText(buffer, capacity, L"%02d:%02d / %02d:%02d", positionMs / minuteMs, positionMs % minuteMs / 1000,
                   lengthMs / minuteMs, lengthMs % minuteMs / 1000);
    else
        formatText(buffer, capacity, L"%02d:%02d:%02d / %02d:%02d:%02d", positionMs / hourMs,
                   positionMs % hourMs / minuteMs, positionMs % minuteMs / 1000, lengthMs / hourMs,
                   lengthMs % hourMs / minuteMs, lengthMs % minuteMs / 1000);
}

void formatTimeTexts(const SeekDisplayState* state, int width, wchar_t* top, wchar_t* bottom, size_t capacity)
{
    if (state->lengthMs == 0) {
        copyText(top, capacity, L"");
        copyText(bottom, capacity, L"00:00");
        return;
    }
    formatCursorTime(top, capacity, timeAtPixel(state->cursorX, state->lengthMs, width));
    formatPositionAndLength(bottom, capacity, state->positionMs, state->lengthMs);
}

// "ＭＳ ゴシック" at emSize pixels, or GDI+'s generic sans-serif family when that face is missing.
// The caller deletes the font; null only when neither could be made.
static GpFont* createTimeFont(float emSize)
{
    GpFont* font = nullptr;
    GpFontFamily* family = nullptr;
    if (GdipCreateFontFamilyFromName(L"ＭＳ ゴシック", nullptr, &family) == Ok) {
        if (GdipCreateFont(family, emSize, FontStyleRegular, UnitPixel, &font) != Ok)
            font = nullptr;
        GdipDeleteFontFamily(family);
    }
    if (font)
        return font;
    // The generic family belongs to GDI+ and is not released.
    if (GdipGetGenericFontFamilySansSerif(&family) == Ok &&
        GdipCreateFont(family, emSize, FontStyleRegular, UnitPixel, &font) != Ok)
        font = nullptr;
    return font;
}

static void fillBands(GpGraphics* graphics, int width, int height, const SeekDisplayState* state)
{
    GpSolidFill* yellowBrush = nullptr;
    GpSolidFill* cyanBrush = nullptr;
    GpSolidFill* cursorBrush = nullptr;
    GdipCreateSolidFill(yellow, &yellowBrush);
    GdipCreateSolidFill(cyan, &cyanBrush);
    GdipCreateSolidFill(translucentCyan, &cursorBrush);
    REAL third = static_cast<REAL>(height) / 3;
    if (state->lengthMs != 0) {
        REAL barWidth = static_cast<REAL>(static_cast<double>(state->positionMs) * width / state->lengthMs + 1);
        GdipFillRectangle(graphics, yellowBrush, -1, third - 1, barWidth, third + 2);
    }
    GdipFillRectangleI(graphics, yellowBrush, -1, 2 * height / 3, width + 2, height / 3);
    GdipFillRectangleI(graphics, cyanBrush, -1, -1, width + 2, height / 3 + 1);
    // Drawn over the progress bar and the black, so both show through.
    GdipFillRectangleI(graphics, cursorBrush, -1, height / 3, state->cursorX + 1, height / 3);
    GdipDeleteBrush(cursorBrush);
    GdipDeleteBrush(cyanBrush);
    GdipDeleteBrush(yellowBrush);
}

static void drawTexts(GpGraphics* graphics, int width, int height, const SeekDisplayState* state)
{
    wchar_t top[TEXT_BUFFER_UNITS];
    wchar_t bottom[TEXT_BUFFER_UNITS];
    formatTimeTexts(state, width, top, bottom, TEXT_BUFFER_UNITS);

    GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAlias);
    // A fifth of the height in points at 96 DPI, 4/15 of it in pixels. The height already follows the DPI; in points
    // GDI+ would scale the text by the DPI of the device context once more.
    GpFont* font = createTimeFont(static_cast<REAL>(height) * 4 / 15);
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
    GdipSetStringFormatAlign(format, StringAlignmentCenter);
    GdipSetStringFormatLineAlign(format, StringAlignmentCenter);
    GpSolidFill* textBrush = nullptr;
    GdipCreateSolidFill(black, &textBrush);

    REAL third = static_cast<REAL>(height) / 3;
    REAL margin = static_cast<REAL>(height) / 30; // the texts sit 2 px low at 96 DPI
    RectF topBand(0, margin, static_cast<REAL>(width), third);
    RectF bottomBand(0, static_cast<REAL>(height) * 2 / 3 + margin, static_cast<REAL>(width), third);
    if (top[0] != L'\0')
        GdipDrawString(graphics, top, -1, font, &topBand, format, textBrush);
    GdipDrawString(graphics, bottom, -1, font, &bottomBand, format, textBrush);

    GdipDeleteBrush(textBrush);
    GdipDeleteStringFormat(format);
    GdipDeleteFont(font);
}

void renderTimeDisplay(HDC target, int width, int height, const SeekDisplayState* state)
{
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);

    GpGraphics* graphics = nullptr;
    GdipCreateFromHDC(memory, &graphics);
    GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
    fillBands(graphics, width, height, state);
    drawTexts(graphics, width, height, state);
    GdipDeleteGraphics(graphics);

    // One copy of the finished picture: the window never shows a half-drawn state.
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void paintTimeDisplay(HWND window, const SeekDisplayState* state)
{
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    renderTimeDisplay(target, client.right - client.left, client.bottom - client.top, state);
    EndPaint(window, &paint);
}
