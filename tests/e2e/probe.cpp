// The end-to-end tests' helper in the Wine desktop, as the shell, another process or a user: probe [--out FILE] VERB
// ARGS... answers in FILE (output in the desktop may be lost) and the exit code (0: done, 3: not, 2: unknown verb;
// 1 is Wine's own). Waits (MS) default to 10 s. Dialogs are found by caption or a control's text, controls by id.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <stdio.h>
#include <wchar.h>

#include "base/player_globals.h"

static FILE* output;
static wchar_t** arguments;
static int argumentCount;

// In UTF-8, so that the Python side reads Japanese text as it is.
static bool answer(const wchar_t* format, ...)
{
    wchar_t text[4096] = L"";
    char utf8[16384] = "";
    va_list args;
    va_start(args, format);
    __mingw_vsnwprintf(text, 4095, format, args);
    va_end(args);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8) - 1, nullptr, nullptr);
    return !output || fprintf(output, "%s\n", utf8) >= 0;
}

static const wchar_t* text(int index) { return arguments[index]; }
static LPARAM number(int index) { return static_cast<LPARAM>(wcstoll(arguments[index], nullptr, 0)); }
static DWORD milliseconds(int index) { return index < argumentCount ? static_cast<DWORD>(number(index)) : 10000; }
static HWND player() { return FindWindowW(mainWindowClassName, programTitle); }

// Polls every 20 ms until done() holds; false once timeoutMs have passed without it.
template <typename Done> static bool waitUntil(Done done, DWORD timeoutMs)
{
    for (DWORD started = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - started > timeoutMs)
            return false;
    return true;
}

// The first top-level window (parent nullptr) or descendant of parent for which test() holds.
template <typename Test> static HWND firstWindow(HWND parent, Test test)
{
    for (HWND w = parent ? GetWindow(parent, GW_CHILD) : GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (HWND found = test(w) ? w : parent ? firstWindow(w, test) : nullptr)
            return found;
    return nullptr;
}

// Whether the window has this class (compared without case, as the system does) or, with text, this text.
static bool matches(HWND window, const wchar_t* name, bool text = false)
{
    wchar_t actual[512] = L"";
    (text ? GetWindowTextW : GetClassNameW)(window, actual, 512);
    return (text ? wcscmp : _wcsicmp)(actual, name) == 0;
}

// A visible dialog whose caption or one of whose controls shows this text (any dialog: nullptr).
static HWND findDialog(const wchar_t* wanted)
{
    return firstWindow(nullptr, [&](HWND window) {
        return matches(window, L"#32770") && IsWindowVisible(window) &&
               (!wanted || matches(window, wanted, true) ||
                firstWindow(window, [&](HWND child) { return matches(child, wanted, true); }));
    });
}

static HWND waitForDialog(DWORD timeoutMs)
{
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = findDialog(text(0))) != nullptr; }, timeoutMs);
    return dialog;
}

// Arguments TEXT CONTROL: that control of the dialog.
static HWND dialogControl(DWORD timeoutMs)
{
    HWND dialog = waitForDialog(timeoutMs);
    return dialog ? firstWindow(dialog, [](HWND child) { return GetDlgCtrlID(child) == number(1); }) : nullptr;
}

static bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr)
{
    return window && SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, result);
}

// Answers the box's text, then presses Yes when asked, else OK (a Yes/No box: No).
static bool handleBox(HWND box, bool yes)
{
    wchar_t message[2048] = L"";
    HWND label = box ? firstWindow(box, [](HWND c) { return matches(c, L"Static") && GetDlgCtrlID(c) == 0xFFFF; })
                     : nullptr;
    int button = yes ? IDYES : GetDlgItem(box, IDOK) ? IDOK : GetDlgItem(box, IDNO) ? IDNO : 0;
    return box && GetWindowTextW(label ? label : box, message, 2048) >= 0 && answer(L"%ls", message) &&
           PostMessageW(box, button ? WM_COMMAND : WM_CLOSE, static_cast<WPARAM>(button), 0);
}

static bool windowInfo()
{
    HWND window = nullptr;
    const wchar_t *className = text(0)[0] ? text(0) : nullptr, *title = text(1)[0] ? text(1) : nullptr;
    bool dialog = className && _wcsicmp(className, L"#32770") == 0;
    waitUntil([&] { return window = dialog ? findDialog(title) : FindWindowW(className, title); }, milliseconds(2));
    int count = 0;  // of the visible top-level windows of the class (open menus: "#32768")
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        count += className && matches(w, className) && IsWindowVisible(w);
    RECT r;
    return window && GetWindowRect(window, &r) &&
           answer(L"%ld %ld %ld %ld visible=%d foreground=%d count=%d", r.left, r.top, r.right, r.bottom,
                  IsWindowVisible(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0, count);
}

// A choice in a combo box as a user makes it (some dialogs act on the change, some on the list's
// closing); answers the choice before.
static bool dialogChoose()
{
    HWND combo = dialogControl(10000);
    DWORD_PTR before = 0, result = 0;
    LPARAM from = reinterpret_cast<LPARAM>(combo);
    return send(combo, CB_GETCURSEL, 0, 0, &before) && send(combo, CB_SETCURSEL, number(2), 0, &result) &&
           static_cast<LPARAM>(result) == number(2) &&
           send(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), from) &&
           send(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK), from) &&
           answer(L"%d", static_cast<int>(before));
}

// Whether the dialog's tree view has an item chosen below its root.
static bool treeChosen()
{
    HWND dialog = findDialog(text(0));
    HWND tree = dialog ? firstWindow(dialog, [](HWND child) { return matches(child, WC_TREEVIEWW); }) : nullptr;
    DWORD_PTR chosen = 0, root = 0;
    return send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, &chosen) && send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, &root) &&
           chosen && chosen != root;
}

// Presses the button and waits until the dialog has acted on it.
static bool pressButton(int button, DWORD timeoutMs)
{
    HWND dialog = waitForDialog(timeoutMs);
    LPARAM control = reinterpret_cast<LPARAM>(GetDlgItem(dialog, button));
    return send(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), control);
}

static const struct { const wchar_t* name; int argumentsNeeded; bool (*run)(); } verbs[] = {
    // send MSG WPARAM LPARAM: to the player, answers the result; command ID: posts WM_COMMAND.
    {L"send", 3, [] {
         DWORD_PTR result = 0;
         return send(player(), static_cast<UINT>(number(0)), number(1), number(2), &result) &&
                answer(L"%lld", static_cast<long long>(result));
     }},
    {L"command", 1, [] { return player() && PostMessageW(player(), WM_COMMAND, number(0), 0); }},
    // wait-player [MS]
    {L"wait-player", 0, [] { return waitUntil([] { return player() != nullptr; }, milliseconds(0)); }},
    // box CAPTION [MS [yes]]: answers the text of the message box, presses OK (Yes/No: No, or Yes).
    {L"box", 1, [] { return handleBox(waitForDialog(milliseconds(1)), argumentCount > 2); }},
    {L"close-boxes", 0, [] {
         for (int round = 0; round < 50 && handleBox(findDialog(nullptr), false); ++round)
             Sleep(100);
         return true;
     }},
    // tray-exists: whether the player's icon is there (a NIM_MODIFY on it succeeds).
    {L"tray-exists", 0, [] {
         NOTIFYICONDATAW data = {};
         data.cbSize = sizeof(data);
         data.hWnd = player();
         data.uID = TRAY_ICON_ID;
         return data.hWnd && Shell_NotifyIconW(NIM_MODIFY, &data);
     }},
    // impostor TITLE MS: a window of the player's class with another title, for MS milliseconds.
    {L"impostor", 2, [] {
         HINSTANCE instance = GetModuleHandleW(nullptr);
         WNDCLASSW kind = {0, DefWindowProcW, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, mainWindowClassName};
         RegisterClassW(&kind);
         HWND made = CreateWindowExW(0, mainWindowClassName, text(0), 0, 0, 0, 10, 10, nullptr, nullptr, instance,
                                     nullptr);
         Sleep(milliseconds(1));
         return made != nullptr;
     }},
    // window CLASS TITLE [MS]: a top-level window's rectangle, visibility, foreground, count of its class.
    {L"window", 2, windowInfo},
    // dialog-enter TEXT CONTROL VALUE [MS]: types VALUE into a control, presses OK; dialog-ok, dialog-cancel TEXT [MS].
    {L"dialog-enter", 3, [] {
         DWORD_PTR done = 0;
         return send(dialogControl(milliseconds(3)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text(2)), &done) && done &&
                pressButton(IDOK, 0);
     }},
    {L"dialog-ok", 1, [] { return pressButton(IDOK, milliseconds(1)); }},
    {L"dialog-cancel", 1, [] { return pressButton(IDCANCEL, milliseconds(1)); }},
    // dialog-choose TEXT CONTROL INDEX: chooses an item of a combo box, answers the one chosen before.
    {L"dialog-choose", 3, dialogChoose},
    // dialog-tree-chosen TEXT [MS]: waits until the dialog's tree view has an item chosen below its root.
    {L"dialog-tree-chosen", 1, [] { return waitUntil(treeChosen, milliseconds(1)); }},
};

int wmain(int argc, wchar_t** argv)
{
    int first = argc > 2 && wcscmp(argv[1], L"--out") == 0 ? 3 : 1, result = 2;
    output = first == 3 ? _wfopen(argv[2], L"wb") : nullptr;
    argumentCount = argc - first - 1;
    arguments = argv + first + 1;
    for (const auto& verb : verbs)
        if (argumentCount >= verb.argumentsNeeded && wcscmp(argv[first], verb.name) == 0)
            result = verb.run() ? 0 : 3;
    return result;  // the output file is closed at the exit
}
