#include "ui/about_dialog.h"

#include "base/player_globals.h"
#include "base/system_calls.h"
#include "resources/resource.h"

// The author's page, shown after "URL : " in the template and opened by a click on the link.
static const wchar_t authorPageAddress[] = L"https://velmoris.example/player/";

// The link (control 2000) while the dialog exists: a static text that looks and acts like a
// hyperlink, blue when idle, red and underlined under the mouse.
static HWND linkControl;
static WNDPROC linkPreviousProc;
static HFONT linkNormalFont; // the dialog's font, not ours to delete
static HFONT linkUnderlinedFont;
static HBRUSH linkBackgroundBrush;
static COLORREF linkTextColour;

static const COLORREF linkIdleColour = RGB(0, 0, 255);
static const COLORREF linkHoverColour = RGB(255, 0, 0);

// The colour is set before the font: the repaint that the font change causes asks for it.
static void resetLink()
{
    linkTextColour = linkIdleColour;
    SendMessageW(linkControl, WM_SETFONT, reinterpret_cast<WPARAM>(linkNormalFont), TRUE);
    ReleaseCapture();
}

// The capture keeps mouse moves coming after the mouse has left the link, which is how leaving
// is noticed. Points left of or above the link arrive as large unsigned values: outside too.
static void onLinkMouseMove(HWND link, LPARAM lParam)
{
    if (!GetCapture()) {
        linkTextColour = linkHoverColour;
        SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkUnderlinedFont), TRUE);
        SetCapture(link);
    }
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    RECT client;
    GetClientRect(link, &client);
    if (!PtInRect(&client, point))
        resetLink();
}

// The hand belongs to the link alone; the other statics keep the arrow.
static LRESULT showHandCursor()
{
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

static LRESULT CALLBACK linkLabelProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: onLinkMouseMove(link, lParam); break;
    case WM_SETCURSOR: return showHandCursor();
    }
    return CallWindowProcW(linkPreviousProc, link, message, wParam, lParam);
}

static INT_PTR initAboutDialog(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, static_cast<LPARAM>(GetClassLongPtrW(owner, GCLP_HICON)));
    linkControl = GetDlgItem(dialog, IDC_ABOUT_LINK);
    linkBackgroundBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    linkNormalFont = reinterpret_cast<HFONT>(SendMessageW(linkControl, WM_GETFONT, 0, 0));
    LOGFONTW font = {};
    GetObjectW(linkNormalFont, sizeof(font), &font);
    font.lfUnderline = 1;
    linkUnderlinedFont = CreateFontIndirectW(&font);
    linkPreviousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(linkControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(linkLabelProc)));
    linkTextColour = linkIdleColour;
    return TRUE;
}

static INT_PTR closeAboutDialog(HWND dialog)
{
    EndDialog(dialog, 1);
    return TRUE;
}

static INT_PTR onLinkNotification(WPARAM wParam)
{
    if (HIWORD(wParam) != STN_CLICKED)
        return TRUE;
    resetLink();
    systemShellOpen(nullptr, authorPageAddress);
    return TRUE;
}

// Escape (IDCANCEL) is not handled: only OK, Enter and the caption close the dialog.
static INT_PTR onAboutCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK: return closeAboutDialog(dialog);
    case IDC_ABOUT_LINK: return onLinkNotification(wParam);
    }
    return FALSE;
}

static INT_PTR colourStatic(HDC context, HWND control)
{
    if (control != linkControl)
        return FALSE;
    SetTextColor(context, linkTextColour);
    SetBkMode(context, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(linkBackgroundBrush);
}

static INT_PTR resetLinkOnActivation(WPARAM state)
{
    if (LOWORD(state) == WA_ACTIVE || LOWORD(state) == WA_CLICKACTIVE)
        resetLink();
    return FALSE;
}

static INT_PTR destroyAboutDialog()
{
    SetWindowLongPtrW(linkControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(linkPreviousProc));
    DeleteObject(linkBackgroundBrush);
    DeleteObject(linkUnderlinedFont);
    return FALSE;
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return initAboutDialog(dialog);
    case WM_COMMAND: return onAboutCommand(dialog, wParam);
    case WM_CTLCOLORSTATIC: return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE: return resetLinkOnActivation(wParam);
    case WM_CLOSE: return closeAboutDialog(dialog);
    case WM_DESTROY: return destroyAboutDialog();
    }
    return FALSE;
}

void openAboutDialog(HWND owner)
{
    DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutDialogProc, 0);
}
