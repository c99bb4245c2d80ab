#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/unit/test_support.h"
#include "ui/about_dialog.h"

namespace {

const WORD* afterText(const WORD* text)
{
    return text + wcslen(reinterpret_cast<const wchar_t*>(text)) + 1;
}

// A class, text or icon field of a template: a string, or 0xFFFF and an ordinal.
std::wstring field(const WORD** at)
{
    const WORD* words = *at;
    if (words[0] == 0xFFFF) {
        *at = words + 2;
        return L"#" + std::to_wstring(words[1]);
    }
    *at = afterText(words);
    return reinterpret_cast<const wchar_t*>(words);
}

struct Control {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::wstring className, text;
};

// The compiled template 200 read back: plain form, Japanese, five controls in order.
TEST(AboutTemplate, IsThePlainJapaneseDialogWithItsFiveControls)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUT), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(nullptr, found);
    const DLGTEMPLATE* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
    EXPECT_EQ(0x90C808CCu, header->style);
    EXPECT_EQ(0u, header->dwExtendedStyle);
    ASSERT_EQ(5, header->cdit);
    EXPECT_EQ((std::vector<short>{0, 0, 150, 150}), (std::vector<short>{header->x, header->y, header->cx, header->cy}));
    const WORD* at = reinterpret_cast<const WORD*>(header + 1);
    EXPECT_EQ(L"", field(&at)) << "no menu";
    EXPECT_EQ(L"", field(&at)) << "the standard dialog class";
    EXPECT_EQ(L"バージョン情報", field(&at));
    EXPECT_EQ(10, *at++);
    EXPECT_EQ(L"Ms Shell Dlg 2", field(&at));

    const Control expected[] = {
        {0x50020001, 10, 10, 130, 20, 0xFFFF, L"static", L"Velmoris Player\nVersion 1.03"},
        {0x50000A03, 10, 30, 130, 65, 0xFFFF, L"static", L"#101"},
        {0x50020001, 10, 100, 130, 10, 0xFFFF, L"static", L"© 2026 Velmoris Player 開発チーム"},
        {0x50030101, 10, 110, 130, 10, IDC_ABOUT_LINK, L"static", L"URL : " + std::wstring(authorPageAddress)},
        {0x50010001, 50, 125, 50, 15, IDOK, L"button", L"OK"},
    };
    for (const Control& want : expected) {
        at = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(at) + 3) & ~static_cast<uintptr_t>(3));
        const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
        at = reinterpret_cast<const WORD*>(item + 1);
        std::wstring className = field(&at);
        std::wstring text = field(&at);
        at += 1 + *at / sizeof(WORD);
        EXPECT_EQ(want.style, item->style) << want.text;
        EXPECT_EQ((std::vector<short>{want.x, want.y, want.cx, want.cy}),
                  (std::vector<short>{item->x, item->y, item->cx, item->cy}))
            << want.text;
        EXPECT_EQ(want.id, item->id) << want.text;
        EXPECT_EQ(0, _wcsicmp(want.className.c_str(), className.c_str())) << className;
        EXPECT_EQ(want.text, text);
    }
}

class AboutDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        owner = support::createTestWindow();
        // The same template and procedure as the modal dialog, without a loop of its own.
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    }
    void TearDown() override
    {
        ReleaseCapture();
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        DestroyWindow(owner);
    }

    void moveTo(int x, int y) { SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    void expectIdle()
    {
        EXPECT_EQ(RGB(0, 0, 255), linkTextColour);
        EXPECT_EQ(reinterpret_cast<LRESULT>(linkNormalFont), SendMessageW(link, WM_GETFONT, 0, 0));
        EXPECT_EQ(nullptr, GetCapture());
    }

    void expectHovered()
    {
        EXPECT_EQ(RGB(255, 0, 0), linkTextColour);
        EXPECT_EQ(reinterpret_cast<LRESULT>(linkUnderlinedFont), SendMessageW(link, WM_GETFONT, 0, 0));
        EXPECT_EQ(link, GetCapture());
        LOGFONTW font = {};
        GetObjectW(linkUnderlinedFont, sizeof(font), &font);
        EXPECT_EQ(1, font.lfUnderline);
    }

    HWND owner = nullptr;
    HWND dialog = nullptr;
    HWND link = nullptr;
};

TEST_F(AboutDialog, LinkIsBlueOnTheDialogFaceAndOtherTextsKeepTheirColours)
{
    EXPECT_EQ(GetClassLongPtrW(owner, GCLP_HICON), static_cast<ULONG_PTR>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(link, linkControl);
    expectIdle();
    HDC context = GetDC(link);
    // The procedure itself: the dialog manager answers FALSE with the default brush.
    EXPECT_EQ(reinterpret_cast<INT_PTR>(linkBackgroundBrush),
              aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(link)));
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(context));
    EXPECT_EQ(TRANSPARENT, GetBkMode(context));
    LOGBRUSH brush = {};
    GetObjectW(linkBackgroundBrush, sizeof(brush), &brush);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), brush.lbColor);
    HWND firstText = GetWindow(link, GW_HWNDFIRST);
    EXPECT_EQ(FALSE, aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                     reinterpret_cast<LPARAM>(firstText)));
    ReleaseDC(link, context);
}

TEST_F(AboutDialog, LinkTurnsRedUnderTheMouseAndBlueWhenItLeavesOrTheDialogIsActivated)
{
    RECT client;
    GetClientRect(link, &client);
    // Left of and above the link arrive as large unsigned coordinates.
    const POINT outside[] = {{client.right, 2}, {2, client.bottom}, {-1, 2}, {2, -3}};
    for (const POINT& point : outside) {
        moveTo(2, 2);
        expectHovered();
        moveTo(client.right - 1, client.bottom - 1);
        expectHovered();
        moveTo(point.x, point.y);
        expectIdle();
    }
    moveTo(2, 2);
    SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
    expectHovered();
    SendMessageW(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    expectIdle();
}

TEST_F(AboutDialog, EscapeLeavesItOpenOkAndCloseEndItAndDestructionFreesTheLinksObjects)
{
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_DBLCLK), reinterpret_cast<LPARAM>(link));
    EXPECT_TRUE(IsWindowVisible(dialog));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
    ShowWindow(dialog, SW_SHOW);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));

    EXPECT_EQ(reinterpret_cast<LONG_PTR>(linkLabelProc), GetWindowLongPtrW(link, GWLP_WNDPROC));
    HGDIOBJ brush = linkBackgroundBrush;
    HGDIOBJ font = linkUnderlinedFont;
    DestroyWindow(dialog);
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(0u, GetObjectType(font));
}

} // namespace
