#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

#include "resources/resource.h"
#include "tests/unit/test_support.h"
#include "ui/about_dialog.h"

namespace {

TEST(AboutDialog, LinkTurnsRedUnderTheMouseAndBlueWhenItLeavesOrTheDialogIsActivated)
{
    HWND owner = support::createTestWindow();
    // The same template and procedure as the modal dialog, without a loop of its own.
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    EXPECT_EQ(GetClassLongPtrW(owner, GCLP_HICON), static_cast<ULONG_PTR>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)));
    // What the user sees of the link: its text colour, whether its font is underlined, and
    // whether it follows the mouse.
    auto colours = [&](HDC context) {
        return aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(link));
    };
    auto state = [&] {
        HDC context = GetDC(link);
        colours(context);
        COLORREF colour = GetTextColor(context);
        ReleaseDC(link, context);
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof(font), &font);
        return std::make_tuple(colour, font.lfUnderline != 0, GetCapture());
    };
    const auto idle = std::make_tuple(RGB(0, 0, 255), false, HWND(nullptr));
    const auto hovered = std::make_tuple(RGB(255, 0, 0), true, link);
    EXPECT_EQ(idle, state());
    RECT client;
    GetClientRect(link, &client);
    // Left of and above the link arrive as large unsigned coordinates.
    for (POINT outside : {POINT{client.right, 2}, POINT{2, client.bottom}, POINT{-1, 2}, POINT{2, -3}}) {
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(hovered, state());
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
        EXPECT_EQ(idle, state()) << outside.x << "," << outside.y;
    }
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 1, client.bottom - 1));
    HGDIOBJ underlined = reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0));
    SendMessageW(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(idle, state());

    // Only the link gets its colours; the procedure answers for it with the dialog's face.
    HDC context = GetDC(link);
    HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(colours(context));
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(brush));
    EXPECT_EQ(FALSE, aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                     reinterpret_cast<LPARAM>(GetWindow(link, GW_HWNDFIRST))));
    ReleaseDC(link, context);
    DestroyWindow(dialog);
    EXPECT_EQ(0u, GetObjectType(brush) + GetObjectType(underlined)) << "the link's brush and font are freed";
    DestroyWindow(owner);
}

} // namespace
