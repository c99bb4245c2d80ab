#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <stdlib.h>

#include "ui/time_display.h"

namespace {

struct TextCase {
    int lengthMs;
    int positionMs;
    int cursorX;
    const wchar_t* top;
    const wchar_t* bottom;
};

TEST(TimeTexts, FollowTheLengthPositionAndCursor)
{
    const TextCase cases[] = {
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
    for (const TextCase& c : cases) {
        SeekDisplayState state = {c.lengthMs, c.positionMs, c.cursorX};
        wchar_t top[1024] = L"unset";
        wchar_t bottom[1024] = L"unset";
        formatTimeTexts(&state, 200, top, bottom, 1024);
        EXPECT_STREQ(c.top, top) << c.lengthMs << " " << c.cursorX;
        EXPECT_STREQ(c.bottom, bottom) << c.lengthMs << " " << c.positionMs;
    }
}

// GDI+ is started by the program's entry point; painting tests start it themselves.
class TimeDisplayPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        ASSERT_NE(nullptr, bitmap);
        previous = SelectObject(dc, bitmap);
    }
    void TearDown() override
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        Gdiplus::GdiplusShutdown(token);
    }

    void paint(int lengthMs, int positionMs, int cursorX)
    {
        // A picture that the display does not cover entirely would show this grey.
        for (int i = 0; i < width * height; ++i)
            bits[i] = 0x00808080;
        SeekDisplayState state = {lengthMs, positionMs, cursorX};
        renderTimeDisplay(dc, width, height, &state);
        GdiFlush();
    }

    // Equal to red, green, blue within the rounding of the blend.
    ::testing::AssertionResult shows(int x, int y, int red, int green, int blue) const
    {
        DWORD pixel = bits[y * width + x];
        int got[3] = {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                      static_cast<int>(pixel & 0xFF)};
        int want[3] = {red, green, blue};
        for (int i = 0; i < 3; ++i)
            if (abs(got[i] - want[i]) > 3)
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y << ") is " << got[0] << "," << got[1] << "," << got[2];
        return ::testing::AssertionSuccess();
    }

    int darkPixels(int firstRow, int lastRow) const
    {
        int count = 0;
        for (int y = firstRow; y <= lastRow; ++y)
            for (int x = 0; x < width; ++x) {
                DWORD pixel = bits[y * width + x];
                if (((pixel >> 16) & 0xFF) < 96 && ((pixel >> 8) & 0xFF) < 96 && (pixel & 0xFF) < 96)
                    ++count;
            }
        return count;
    }

    static const int width = 200;
    static const int height = 60;
    ULONG_PTR token = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    DWORD* bits = nullptr;
};

TEST_F(TimeDisplayPicture, WithoutATrackShowsTheBandsAndOnlyTheBottomText)
{
    paint(0, 0, 0);
    for (int x : {0, 50, 199}) {
        EXPECT_TRUE(shows(x, 0, 0, 255, 255));
        EXPECT_TRUE(shows(x, 18, 0, 255, 255));
        EXPECT_TRUE(shows(x, 21, 0, 0, 0));
        EXPECT_TRUE(shows(x, 38, 0, 0, 0));
        EXPECT_TRUE(shows(x, 41, 255, 255, 0));
        EXPECT_TRUE(shows(x, 59, 255, 255, 0));
    }
    EXPECT_EQ(0, darkPixels(0, 19)) << "the top band has no text without a track";
    EXPECT_GT(darkPixels(40, 59), 10) << "\"00:00\" is missing";
}

TEST_F(TimeDisplayPicture, ProgressBarReachesPositionTimesWidthOverLength)
{
    paint(240000, 60000, 0);
    EXPECT_TRUE(shows(0, 30, 255, 255, 0));
    EXPECT_TRUE(shows(48, 21, 255, 255, 0));
    EXPECT_TRUE(shows(48, 38, 255, 255, 0));
    EXPECT_TRUE(shows(52, 30, 0, 0, 0));
    EXPECT_TRUE(shows(199, 30, 0, 0, 0));
    EXPECT_GT(darkPixels(0, 19), 10) << "the cursor time is missing";
    EXPECT_GT(darkPixels(40, 59), 10) << "position and length are missing";

    paint(240000, 240000, 0);
    EXPECT_TRUE(shows(199, 30, 255, 255, 0));
}

TEST_F(TimeDisplayPicture, CursorBandBlendsCyanOverBlackAndYellow)
{
    paint(240000, 120000, 150);
    EXPECT_TRUE(shows(10, 30, 127, 255, 128)); // over the progress bar
    EXPECT_TRUE(shows(97, 30, 127, 255, 128));
    EXPECT_TRUE(shows(103, 30, 0, 128, 128)); // over black
    EXPECT_TRUE(shows(148, 30, 0, 128, 128));
    EXPECT_TRUE(shows(152, 30, 0, 0, 0));
    EXPECT_TRUE(shows(10, 10, 0, 255, 255)); // the outer bands stay opaque
    EXPECT_TRUE(shows(10, 50, 255, 255, 0));
}

} // namespace
