#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "ui/time_display.h"

namespace {

TEST(TimeTexts, FollowTheLengthPositionAndCursor)
{
    const struct { int lengthMs, positionMs, cursorX; const wchar_t *top, *bottom; } cases[] = {
        {0, 0, 0, L"", L"00:00"},
        {0, 5000, 120, L"", L"00:00"},
        {225000, 83500, 100, L"01:52.500", L"01:23 / 03:45"},
        {3600000, 61000, 0, L"00:00.000", L"00:01:01 / 01:00:00"},
        {3599999, 3599999, 0, L"00:00.000", L"59:59 / 59:59"},
        // The top switches to hours by the cursor time alone, the bottom by the length alone.
        {7200000, 59000, 99, L"59:24.000", L"00:00:59 / 02:00:00"},
        {7200000, 59000, 100, L"01:00:00.000", L"00:00:59 / 02:00:00"},
        {14400000, 14399999, 199, L"03:58:48.000", L"03:59:59 / 04:00:00"},
    };
    for (const auto& c : cases) {
        SeekDisplayState state = {c.lengthMs, c.positionMs, c.cursorX};
        wchar_t top[1024] = L"unset", bottom[1024] = L"unset";
        formatTimeTexts(&state, 200, top, bottom, 1024);
        EXPECT_STREQ(c.top, top) << c.lengthMs << " " << c.cursorX;
        EXPECT_STREQ(c.bottom, bottom) << c.lengthMs << " " << c.positionMs;
    }
}

// Equal to 0xRRGGBB within the rounding of the blend, in a 200 pixels wide picture.
::testing::AssertionResult shows(const DWORD* bits, int x, int y, DWORD rgb)
{
    DWORD pixel = bits[y * 200 + x] & 0xFFFFFF;
    for (int shift : {16, 8, 0})
        if (abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > 3)
            return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << (pixel >> 16) << ","
                                                 << ((pixel >> 8) & 0xFF) << "," << (pixel & 0xFF);
    return ::testing::AssertionSuccess();
}

int darkPixels(const DWORD* bits, int firstRow, int lastRow)
{
    int count = 0;
    for (int i = firstRow * 200; i < (lastRow + 1) * 200; ++i)
        count += ((bits[i] >> 16) & 0xFF) < 96 && ((bits[i] >> 8) & 0xFF) < 96 && (bits[i] & 0xFF) < 96;
    return count;
}

struct Sample { int x, y; DWORD rgb; }; // x -1: at 0, 50 and 199

TEST(TimeDisplayPicture, BandsProgressBarCursorBandAndTexts)
{
    const DWORD cyan = 0x00FFFF, yellow = 0xFFFF00, black = 0, cyanOverYellow = 0x7FFF80, cyanOverBlack = 0x008080;
    const struct { int lengthMs, positionMs, cursorX; bool topText; std::vector<Sample> samples; } cases[] = {
        // Without a track: the three bands and only the bottom text.
        {0, 0, 0, false,
         {{-1, 0, cyan}, {-1, 18, cyan}, {-1, 21, black}, {-1, 38, black}, {-1, 41, yellow}, {-1, 59, yellow}}},
        // The progress bar reaches position * width / length.
        {240000, 60000, 0, true, {{0, 30, yellow}, {48, 21, yellow}, {48, 38, yellow}, {52, 30, black}, {199, 30, black}}},
        {240000, 240000, 0, true, {{199, 30, yellow}}},
        // The cursor band blends cyan over the bar and over black; the outer bands stay opaque.
        {240000, 120000, 150, true,
         {{10, 30, cyanOverYellow}, {97, 30, cyanOverYellow}, {103, 30, cyanOverBlack}, {148, 30, cyanOverBlack},
          {152, 30, black}, {10, 10, cyan}, {10, 50, yellow}}},
    };
    // GDI+ is started by the program's entry point, so the test starts it itself; the display is
    // painted into a 200 x 60 top-down memory bitmap.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), 200, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    for (const auto& c : cases) {
        // A picture that the display does not cover entirely would show this grey.
        std::fill(bits, bits + 200 * 60, 0x00808080);
        SeekDisplayState state = {c.lengthMs, c.positionMs, c.cursorX};
        renderTimeDisplay(dc, 200, 60, &state);
        GdiFlush();
        for (const Sample& sample : c.samples) {
            for (int x : sample.x < 0 ? std::vector<int>{0, 50, 199} : std::vector<int>{sample.x})
                EXPECT_TRUE(shows(bits, x, sample.y, sample.rgb)) << c.positionMs << " of " << c.lengthMs;
        }
        int topDark = darkPixels(bits, 0, 19);
        EXPECT_TRUE(c.topText ? topDark > 10 : topDark == 0) << topDark << " dark pixels in the top band";
        EXPECT_GT(darkPixels(bits, 40, 59), 10) << "the bottom text is missing";
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    Gdiplus::GdiplusShutdown(token);
}

} // namespace
