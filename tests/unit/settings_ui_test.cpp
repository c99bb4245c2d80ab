#include "tests/unit/test_support.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <mmsystem.h>

#include "base/player_globals.h"
#include "base/window_class.h"
#include "playback/mci_device.h"
#include "resources/resource.h"
#include "settings/autoplay.h"
#include "settings/settings.h"
#include "ui/about_dialog.h"
#include "ui/seek_window.h"
#include "ui/time_display.h"
#include "ui/volume_dialog.h"

namespace {

using Settings = Unit;

// Every key in order, each value back; as the profile reader sees them: a missing key gives its default, a display
// type out of range 0; an unwritable file, one report.
TEST_F(Settings, SavedAndReadBack)
{
    readSettings();
    saveSettings();
    EXPECT_EQ("[OPTION]\r\nREPEAT=0\r\nSHUFFLE=0\r\nBALLOON=0\r\nMSG_DISPLAY_TYPE=0\r\nSORT=0\r\nFULL_PATH=0\r\n"
              "SORT_LIST=0\r\nVOLUME=1000\r\n", readBytes(settingsFilePath));
    const std::pair<int*, int> saved[] = {{&repeat, 3}, {&shuffle, 4}, {&balloonOnOpen, 5}, {&messageDisplayType, 2},
        {&sortOnOpen, 6}, {&sortByFullPath, 7}, {&sortLoadedPlaylist, 8}, {&volume, 250}};
    for (const auto& [setting, value] : saved)
        *setting = value;
    saveSettings();
    resetPlayerState();
    readSettings();
    for (const auto& [setting, value] : saved)
        EXPECT_EQ(value, *setting) << "the setting saved as " << value << " read back";
    const struct { const char* line; int* setting; int expected; } cases[] = {
        {"", &volume, 1000}, {"", &balloonOnOpen, 0}, {"VOLUME=0", &volume, 0}, {"SHUFFLE=12abc", &shuffle, 12},
        {"MSG_DISPLAY_TYPE=3", &messageDisplayType, 0}, {"MSG_DISPLAY_TYPE=-1", &messageDisplayType, 0},
        {"MSG_DISPLAY_TYPE=2", &messageDisplayType, 2}, {"BALLOON=abc", &balloonOnOpen, 0},
    };
    for (const auto& c : cases) {
        *c.setting = 9;
        writeBytes(settingsFilePath, std::string("[OPTION]\r\n") + c.line + "\r\n");
        readSettings();
        EXPECT_EQ(c.expected, *c.setting) << "read from \"" << c.line << "\"";
    }
    DeleteFileW(settingsFilePath);
    CreateDirectoryW(settingsFilePath, nullptr); // as root, only a folder in its place stops a write
    saveSettings();
    const std::wstring failed = L"エラー - Velmoris Player: 設定ファイルの書き込みに"
                                L"失敗しました。\n\n";
    EXPECT_EQ(Texts{failed + settingsFilePath}, boxes(1));
}

// Under Wine the tests run as an administrator: the keys are written for real, then removed, all but the event keys.
// Only the class key counts as a registration; the command turns it on and off.
TEST_F(Settings, AutoplayRegistration)
{
    ASSERT_TRUE(isUserAdmin()) << "the registration tests need administrator rights";
    unregisterAutoplay();
    ASSERT_TRUE(registerAutoplay());
    wchar_t program[1024];
    GetModuleFileNameW(nullptr, program, 1024);
    const std::wstring quoted = L"\"" + std::wstring(program) + L"\"";
    const std::wstring handlers = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";
    const std::wstring handler = handlers + L"Handlers\\VelmorisPlayerPlayMusicFilesOnArrival";
    const std::wstring event = handlers + L"EventHandlers\\PlayMusicFilesOnArrival";
    const struct { HKEY root; std::wstring key; const wchar_t* name; std::wstring text; } entries[] = {
        {HKEY_CLASSES_ROOT, L"VelmorisPlayer\\shell\\Open\\command", nullptr, quoted + L" %L"},
        {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\VelmorisPlayer\\DefaultIcon", nullptr, quoted + L",0"},
        {HKEY_LOCAL_MACHINE, event, L"VelmorisPlayerPlayMusicFilesOnArrival", L""},
        {HKEY_LOCAL_MACHINE, handler, L"Action", L"音声ファイルの再生"},
        {HKEY_LOCAL_MACHINE, handler, L"InvokeProgID", L"VelmorisPlayer"},
        {HKEY_LOCAL_MACHINE, handler, L"InvokeVerb", L"Open"},
    };
    for (bool registered : {true, false}) { // then removed
        for (const auto& entry : entries) {
            wchar_t text[1024] = L"(none)";
            DWORD bytes = sizeof(text);
            RegGetValueW(entry.root, entry.key.c_str(), entry.name, RRF_RT_REG_SZ, nullptr, text, &bytes);
            EXPECT_EQ(registered ? entry.text : L"(none)", text) << entry.key;
        }
        EXPECT_EQ(registered, isAutoplayRegistered());
        unregisterAutoplay();
    }
    HKEY kept;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, event.c_str(), 0, KEY_QUERY_VALUE, &kept)) << event;
    RegCloseKey(kept);
    toggleAutoplayRegistration();
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VelmorisPlayer")); // handler entries left behind
    toggleAutoplayRegistration();
    EXPECT_TRUE(isAutoplayRegistered()) << "the command did not register again over the entries left behind";
    toggleAutoplayRegistration();
    EXPECT_FALSE(isAutoplayRegistered()) << "the command did not remove the registration";
    EXPECT_EQ(Texts{}, boxes(0));
}

// The link: red and underlined under the mouse, which it captures; blue when it leaves or the dialog is activated.
TEST_F(Settings, AboutLinkFollowsTheMouse)
{
    HWND dialog = CreateDialogParamW(instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), window, aboutDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICON), ULONG_PTR(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)));
    HDC context = GetDC(link);
    auto looks = [&] { // as the link is painted
        aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(link));
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof(font), &font);
        const COLORREF colour = GetTextColor(context);
        std::string seen = colour == RGB(0, 0, 255) ? "blue" : colour == RGB(255, 0, 0) ? "red" : "another colour";
        return seen + (font.lfUnderline ? ", underlined" : "") + (GetCapture() == link ? ", following the mouse" : "");
    };
    const std::string idle = "blue", hovered = "red, underlined, following the mouse";
    EXPECT_EQ(idle, looks());
    RECT client;
    GetClientRect(link, &client);
    for (POINT outside : {POINT{client.right, 2}, POINT{2, client.bottom}, POINT{-1, 2}, POINT{2, -3}}) {
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(hovered, looks());
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
        EXPECT_EQ(idle, looks()) << "once the mouse left to " << outside.x << ", " << outside.y;
    }
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 1, client.bottom - 1));
    SendMessageW(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(idle, looks()) << "once the dialog was activated";
    ReleaseDC(link, context);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    const std::wstring page = L"https://velmoris.example/player/";
    EXPECT_EQ(Texts{page}, fake::shellOpened) << "a click on the link opens the page it shows";
    wchar_t shown[100];
    GetWindowTextW(link, shown, 100);
    EXPECT_EQ(L"URL : " + page, shown);
}

TEST(TimeDisplay, TextsAndPicture)
{
    // Hours on top by the cursor's time, at the bottom by the length.
    const struct { int lengthMs, positionMs, cursorX; const wchar_t *top, *bottom; } cases[] = {
        {0, 5000, 120, L"", L"00:00"}, {225000, 83500, 100, L"01:52.500", L"01:23 / 03:45"},
        {3600000, 61000, 0, L"00:00.000", L"00:01:01 / 01:00:00"},
        {3599999, 3599999, 0, L"00:00.000", L"59:59 / 59:59"},
        {7200000, 59000, 99, L"59:24.000", L"00:00:59 / 02:00:00"},
        {7200000, 59000, 100, L"01:00:00.000", L"00:00:59 / 02:00:00"},
        {14400000, 14399999, 199, L"03:58:48.000", L"03:59:59 / 04:00:00"},
    };
    for (const auto& c : cases) {
        SeekDisplayState state = {c.lengthMs, c.positionMs, c.cursorX};
        wchar_t top[64] = L"unset", bottom[64] = L"unset";
        formatTimeTexts(&state, 200, top, bottom, 64);
        EXPECT_EQ(std::wstring(c.top), top) << "the time under the cursor";
        EXPECT_EQ(std::wstring(c.bottom), bottom) << "the position and length";
    }
    // Painted into a 200 x 60 top-down bitmap: cyan, black and yellow bands, the bar to position * width / length, the
    // cursor band blending cyan over the bar and over black; dark texts at the top and bottom.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 200, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    std::fill(bits, bits + 200 * 60, 0x00808080); // grey shows where the display does not paint
    SeekDisplayState state = {240000, 120000, 150};
    renderTimeDisplay(dc, 200, 60, &state);
    GdiFlush();
    const int samples[][3] = {{10, 30, 0x7FFF80}, {97, 30, 0x7FFF80}, {103, 30, 0x008080}, {148, 30, 0x008080},
                              {152, 30, 0}, {199, 21, 0}, {0, 0, 0x00FFFF}, {199, 59, 0xFFFF00}};
    for (const auto& [x, y, rgb] : samples)
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(rgb >> shift & 0xFF, bits[y * 200 + x] >> shift & 0xFF, 3) << "the colour at " << x << "," << y;
    for (int row : {0, 40}) // dark pixels (every channel under 128) of the text in the 20 rows from row
        EXPECT_GT(std::count_if(bits + row * 200, bits + row * 200 + 4000, [](DWORD p) { return !(p & 0x808080); }), 10)
            << "no text in the 20 rows from " << row;
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
    Gdiplus::GdiplusShutdown(token);
}

// Wine ignores the DPI awareness that the manifest declares; its text is what can be checked.
TEST(Resources, ManifestDeclaresDpiAwarenessAndKeepsTheRest)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
    const char* start = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string text(start, SizeofResource(nullptr, found));
    for (const char* part : {"2005/WindowsSettings\">true/pm</dpiAware>", "Common-Controls\" version=\"6.0.0.0\"",
                             "2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>", "level=\"asInvoker\""})
        EXPECT_NE(std::string::npos, text.find(part)) << part;
}

struct Flyout : Unit { // its windows go with their owner, the test window
    // The seek window, or the volume dialog without a modal loop, over a device in mode (nullptr: none open).
    void open(bool seekWindow, const wchar_t* mode, const wchar_t* type = L"digitalvideo", unsigned int lengthMs = 0,
              unsigned int positionMs = 0)
    {
        fake::mci = fake::MciDevice{mode != nullptr, type, mode ? mode : L"", positionMs, lengthMs, false, {}};
        DestroyWindow(flyout);
        if (seekWindow)
            openSeekWindow(window);
        flyout = seekWindow ? FindWindowW(seekWindowClassName, nullptr)
                            : CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_VOLUME), window, volumeDialogProc, 0);
        ASSERT_NE(nullptr, flyout);
        slider = GetDlgItem(flyout, IDC_VOLUME_TRACKBAR);
        fake::mciCalls.clear();
    }
    void scroll(int position)
    {
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(flyout, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
    }
    HWND flyout = nullptr;
    HWND slider = nullptr;
};

// It shows the device's times as it opens; a click seeks to its share of the length, and playback resumes only when
// it was playing. Deactivation closes it.
TEST_F(Flyout, SeekWindow)
{
    seekDisplayState.cursorX = 77;
    open(true, L"playing", L"digitalvideo", 225000, 83500);
    wchar_t top[64], bottom[64];
    formatTimeTexts(&seekDisplayState, 200, top, bottom, 64);
    EXPECT_EQ(std::wstring(L"00:00.000 01:23 / 03:45"), top + std::wstring(L" ") + bottom) << "what it shows";
    SendMessageW(flyout, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindow(flyout)) << "it stayed open once deactivated";
    const struct { unsigned int length; int x; const wchar_t* mode; int playing; const wchar_t* seek; } cases[] = {
        {240000, 0, L"playing", 1, L"seek sound to 0"}, {240000, 100, L"playing", 1, L"seek sound to 120000"},
        {240000, 199, L"playing", 1, L"seek sound to 238800"}, {240000, 100, nullptr, 0, L"seek sound to 0"},
        {14400000, 199, L"playing", 1, L"seek sound to 14328000"}, {240000, 100, L"paused", 0, L"seek sound to 120000"},
    };
    for (const auto& c : cases) {
        open(true, c.mode, L"digitalvideo", c.length);
        isPlaying = c.playing;
        SendMessageW(flyout, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, 30));
        EXPECT_EQ(Texts{c.seek}, deviceCommands()) << "a click at " << c.x;
        const std::vector<UINT> resumed = c.playing ? std::vector<UINT>{WM_APP_PLAY} : std::vector<UINT>{};
        EXPECT_EQ(resumed, postedTo(window)) << "whether playback resumes after a click at " << c.x;
    }
    // It takes the rectangle Windows suggests at a new DPI, and maps the width it has to the whole track.
    open(true, L"stopped", L"digitalvideo", 240000);
    RECT suggested = {10, 20, 310, 110}, placed = {};
    SendMessageW(flyout, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(flyout, &placed);
    EXPECT_TRUE(EqualRect(&suggested, &placed)) << "placed at " << placed.left << ", " << placed.top;
    SendMessageW(flyout, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 45));
    EXPECT_EQ(Texts{L"seek sound to 120000"}, deviceCommands()) << "a click in the middle at 144 DPI";
    EXPECT_EQ(Texts{}, boxes(0));
}

// Down is left; every step is stored and sent. Without a track a drag reports once per opening; a device without
// volume control, never. It centres on the cursor within the screen.
TEST_F(Flyout, VolumeDialog)
{
    volume = 730;
    open(false, L"playing");
    EXPECT_EQ(730, SendMessageW(slider, TBM_GETPOS, 0, 0)) << "the slider shows the volume";
    const struct { WPARAM key; int stored; } steps[] = {{VK_NEXT, 630}, {VK_DOWN, 629}, {VK_UP, 630}};
    for (const auto& step : steps) {
        SendMessageW(slider, WM_KEYDOWN, step.key, 0);
        SendMessageW(slider, WM_KEYUP, step.key, 0);
        EXPECT_EQ(step.stored, int(GetPrivateProfileIntW(L"OPTION", L"VOLUME", -1, settingsFilePath))) << step.key;
        EXPECT_EQ(L"setaudio sound volume to " + std::to_wstring(step.stored), fake::mciCommands().back()) << step.key;
    }
    SendMessageW(flyout, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(flyout, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(flyout)) << "only deactivation closes it";
    SendMessageW(flyout, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindowVisible(flyout)) << "it stayed open once deactivated";
    wchar_t refused[1024];
    mciGetErrorStringW(MCIERR_INVALID_DEVICE_NAME, refused, 1024);
    for (size_t opening : {1, 2}) {
        open(false, nullptr);
        for (int position = 500; position > 450; position -= 10)
            scroll(position);
        EXPECT_EQ(Texts(opening, L"音量変更エラー - Velmoris Player: " + std::wstring(refused)), boxes(opening));
    }
    open(false, L"playing", L"waveaudio");
    scroll(100);
    EXPECT_EQ(L"setaudio sound volume to 100", fake::mciCommands().back());
    EXPECT_EQ(2u, boxes(2).size()) << "a device without volume control reported";
    // Larger than the screen: the corner goes negative.
    const struct { int width, height; POINT cursor, expected; } places[] = {
        {200, 60, {500, 300}, {400, 270}}, {151, 61, {500, 300}, {425, 270}}, {200, 60, {5, 5}, {0, 0}},
        {200, 60, {1019, 695}, {824, 640}}, {1200, 800, {500, 300}, {-176, -100}},
    };
    for (const auto& c : places) {
        POINT place = placementAtCursor({0, 0, 1024, 700}, c.width, c.height, c.cursor);
        EXPECT_EQ(std::make_pair(c.expected.x, c.expected.y), std::make_pair(place.x, place.y))
            << "the corner of " << c.width << " x " << c.height << " at " << c.cursor.x << ", " << c.cursor.y;
    }
}

} // namespace
