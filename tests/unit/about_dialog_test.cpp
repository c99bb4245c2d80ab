#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"
#include "tests/unit/test_support.h"
#include "ui/about_dialog.h"

namespace {

// A class, text or icon field of a template: a string, or 0xFFFF and an ordinal ("#n").
std::wstring field(const WORD** at)
{
    const WORD* words = *at;
    *at = words[0] == 0xFFFF ? words + 2 : words + wcslen(reinterpret_cast<const wchar_t*>(words)) + 1;
    return words[0] == 0xFFFF ? L"#" + std::to_wstring(words[1]) : reinterpret_cast<const wchar_t*>(words);
}

// The compiled template read back: "[menu] [class] caption points face style exstyle count x,y
// cx×cy", then each control as "class text style id x,y cx×cy".
TEST(AboutTemplate, IsThePlainJapaneseDialogWithItsFiveControls)
{
    HRSRC found = FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUT), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(nullptr, found);
    const DLGTEMPLATE* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found)));
    const WORD* at = reinterpret_cast<const WORD*>(header + 1);
    std::wstring menu = field(&at), dialogClass = field(&at), caption = field(&at);
    WORD points = *at++;
    wchar_t line[1024];
    swprintf(line, 1024, L"[%ls] [%ls] %ls %d %ls %08lx %lx %d %d,%d %dx%d", menu.c_str(), dialogClass.c_str(),
             caption.c_str(), points, field(&at).c_str(), header->style, header->dwExtendedStyle, header->cdit,
             header->x, header->y, header->cx, header->cy);
    std::vector<std::wstring> items = {line};
    for (int i = 0; i < header->cdit; ++i) {
        const DLGITEMTEMPLATE* item =
            reinterpret_cast<const DLGITEMTEMPLATE*>((reinterpret_cast<uintptr_t>(at) + 3) & ~static_cast<uintptr_t>(3));
        at = reinterpret_cast<const WORD*>(item + 1);
        std::wstring className = field(&at), text = field(&at);
        at += 1 + *at / sizeof(WORD);
        swprintf(line, 1024, L"%ls %ls %08lx %d %d,%d %dx%d", CharLowerW(&className[0]), text.c_str(), item->style,
                 static_cast<short>(item->id), item->x, item->y, item->cx, item->cy);
        items.push_back(line);
    }
    EXPECT_EQ((std::vector<std::wstring>{
                  L"[] [] バージョン情報 10 Ms Shell Dlg 2 90c808cc 0 5 0,0 150x150",
                  L"static Velmoris Player\nVersion 1.03 50020001 -1 10,10 130x20",
                  L"static #101 50000a03 -1 10,30 130x65",
                  L"static © 2026 Velmoris Player 開発チーム 50020001 -1 10,100 130x10",
                  L"static URL : " + std::wstring(authorPageAddress) + L" 50030101 2000 10,110 130x10",
                  L"button OK 50010001 1 50,125 50x15",
              }),
              items);
}

TEST(AboutDialog, LinkTurnsRedUnderTheMouseAndBlueWhenItLeavesOrTheDialogIsActivated)
{
    HWND owner = support::createTestWindow();
    // The same template and procedure as the modal dialog, without a loop of its own.
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    EXPECT_EQ(GetClassLongPtrW(owner, GCLP_HICON), static_cast<ULONG_PTR>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)));
    auto state = [&] { return std::make_tuple(linkTextColour, SendMessageW(link, WM_GETFONT, 0, 0), GetCapture()); };
    const auto idle = std::make_tuple(RGB(0, 0, 255), reinterpret_cast<LRESULT>(linkNormalFont), HWND(nullptr));
    const auto hovered = std::make_tuple(RGB(255, 0, 0), reinterpret_cast<LRESULT>(linkUnderlinedFont), link);
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
    SendMessageW(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(idle, state());

    // Only the link gets its colours; the procedure answers for it with the dialog's face.
    HDC context = GetDC(link);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(linkBackgroundBrush),
              aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(link)));
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(context));
    EXPECT_EQ(FALSE, aboutDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                     reinterpret_cast<LPARAM>(GetWindow(link, GW_HWNDFIRST))));
    ReleaseDC(link, context);
    HGDIOBJ ours[] = {linkBackgroundBrush, linkUnderlinedFont};
    DestroyWindow(dialog);
    EXPECT_EQ(0u, GetObjectType(ours[0]) + GetObjectType(ours[1])) << "the link's brush and font are freed";
    DestroyWindow(owner);
}

} // namespace
