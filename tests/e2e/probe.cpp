// A helper that the end-to-end tests run inside the Wine desktop to act as the shell, another
// process or a user towards the running player. Standard output of a program in the virtual
// desktop may be lost, so the answer goes to the file named by --out and to the exit code.
//
//   probe [--out FILE] COMMAND ARGS...
//
// Exit code 0 means the command succeeded, 1 that it did not, 2 a usage error (an unknown
// command or too few arguments).
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <utility>

static const wchar_t playerClass[] = L"VELMORIS_PLAYER_MAIN";

static FILE* output;
// The arguments after the command.
static wchar_t** arguments;
static int argumentCount;

static void answer(const wchar_t* format, ...)
{
    if (!output)
        return;
    va_list args;
    va_start(args, format);
    wchar_t text[4096];
    __mingw_vsnwprintf(text, 4096, format, args);
    va_end(args);
    text[4095] = L'\0';
    // UTF-8, so that the Python side reads Japanese text as it is.
    char utf8[16384];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes > 0)
        fwrite(utf8, 1, static_cast<size_t>(bytes - 1), output);
    fputc('\n', output);
    fflush(output);
}

static const wchar_t* text(int index)
{
    return arguments[index];
}

static LPARAM number(int index)
{
    return static_cast<LPARAM>(wcstoll(arguments[index], nullptr, 0));
}

// A wait in milliseconds; ten seconds when an optional one is not given.
static DWORD milliseconds(int index)
{
    return index < argumentCount ? static_cast<DWORD>(number(index)) : 10000;
}

static HWND player()
{
    return FindWindowW(playerClass, L"Velmoris Player");
}

// Polls every 20 ms until done() holds; false once timeoutMs have passed without it.
template <typename Done> static bool waitUntil(Done done, DWORD timeoutMs)
{
    for (DWORD started = GetTickCount(); !done(); Sleep(20)) {
        if (GetTickCount() - started > timeoutMs)
            return false;
    }
    return true;
}

// The window that find() gives within timeoutMs, or nullptr.
template <typename Find> static HWND waitFor(Find find, DWORD timeoutMs)
{
    HWND found = nullptr;
    waitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
    return found;
}

// The test to apply, and the first window for which it held.
template <typename Test> using WindowSearch = std::pair<Test*, HWND>;

template <typename Test> static BOOL CALLBACK testWindow(HWND window, LPARAM parameter)
{
    WindowSearch<Test>* search = reinterpret_cast<WindowSearch<Test>*>(parameter);
    if (!(*search->first)(window))
        return TRUE;
    search->second = window;
    return FALSE;
}

// The first top-level window (parent nullptr) or descendant of parent for which test() holds;
// a test that never holds visits every one.
template <typename Test> static HWND firstWindow(HWND parent, Test test)
{
    WindowSearch<Test> search(&test, nullptr);
    if (parent)
        EnumChildWindows(parent, testWindow<Test>, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(testWindow<Test>, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Window classes compare without regard to case, as the system registers them.
static bool hasClass(HWND window, const wchar_t* className)
{
    wchar_t actual[64];
    GetClassNameW(window, actual, 64);
    return _wcsicmp(actual, className) == 0;
}

static bool hasText(HWND window, const wchar_t* wanted)
{
    wchar_t actual[512];
    GetWindowTextW(window, actual, 512);
    return wcscmp(actual, wanted) == 0;
}

static bool isVisibleDialog(HWND window)
{
    return hasClass(window, L"#32770") && IsWindowVisible(window);
}

// A visible dialog box with this caption, or any when caption is nullptr.
static HWND findMessageBox(const wchar_t* caption)
{
    return firstWindow(nullptr,
                       [&](HWND window) { return isVisibleDialog(window) && (!caption || hasText(window, caption)); });
}

// A visible dialog whose caption, or the text of one of its controls, is the given text (the
// folder browser shows its title inside, not as its caption).
static HWND findDialog(const wchar_t* wanted)
{
    return firstWindow(nullptr, [&](HWND window) {
        return isVisibleDialog(window) &&
               (hasText(window, wanted) || firstWindow(window, [&](HWND child) { return hasText(child, wanted); }));
    });
}

static HWND waitForDialog(const wchar_t* wanted, DWORD timeoutMs)
{
    return waitFor([&] { return findDialog(wanted); }, timeoutMs);
}

// Arguments TEXT CONTROL: the control with this id (at any depth) of the dialog found by its
// caption or by a control's text.
static HWND dialogControl(DWORD timeoutMs)
{
    HWND dialog = waitForDialog(text(0), timeoutMs);
    int id = static_cast<int>(number(1));
    return dialog ? firstWindow(dialog, [&](HWND child) { return GetDlgCtrlID(child) == id; }) : nullptr;
}

static bool sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr)
{
    DWORD_PTR ignored;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, result ? result : &ignored);
}

// Sends the message given by the arguments MSG WPARAM LPARAM from first on; answers the result.
static bool sendAndAnswer(HWND window, int first)
{
    DWORD_PTR result = 0;
    if (!window || !sendWithTimeout(window, static_cast<UINT>(number(first)), static_cast<WPARAM>(number(first + 1)),
                                    number(first + 2), &result))
        return false;
    answer(L"%lld", static_cast<long long>(result));
    return true;
}

static bool postToPlayer(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = player();
    return window && PostMessageW(window, message, wParam, lParam);
}

static bool playerState()
{
    HWND window = player();
    answer(L"exists=%d visible=%d", window != nullptr, window && IsWindowVisible(window));
    return window;
}

static void closeBox(HWND box)
{
    // A box with only OK knows IDOK; a Yes/No box is answered with No; any other box is closed.
    int button = GetDlgItem(box, IDOK) ? IDOK : GetDlgItem(box, IDNO) ? IDNO : 0;
    PostMessageW(box, button ? WM_COMMAND : WM_CLOSE, static_cast<WPARAM>(button), 0);
}

static bool handleBox(bool yes)
{
    HWND box = waitFor([] { return findMessageBox(text(0)); }, milliseconds(1));
    if (!box)
        return false;
    wchar_t message[2048] = L"";
    HWND label =
        firstWindow(box, [](HWND child) { return hasClass(child, L"Static") && GetDlgCtrlID(child) == 0xFFFF; });
    if (label)
        GetWindowTextW(label, message, 2048);
    answer(L"%ls", message);
    if (yes)
        return PostMessageW(box, WM_COMMAND, IDYES, 0);
    closeBox(box);
    return true;
}

static bool closeAllBoxes()
{
    HWND box;
    for (int round = 0; round < 50 && (box = findMessageBox(nullptr)); ++round) {
        wchar_t caption[512];
        GetWindowTextW(box, caption, 512);
        answer(L"%ls", caption);
        closeBox(box);
        Sleep(100);
    }
    return true;
}

static bool trayIcon(DWORD operation)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = player();
    data.uID = 1;
    return data.hWnd && Shell_NotifyIconW(operation, &data);
}

static bool broadcastTaskbarCreated()
{
    DWORD_PTR result;
    UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return true;
}

static bool impostor()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = playerClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, playerClass, text(0), 0, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance,
                                  nullptr);
    if (!window)
        return false;
    waitUntil([] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return false;
    }, milliseconds(1));
    DestroyWindow(window);
    return true;
}

static bool windowInfo()
{
    const wchar_t* className = text(0)[0] ? text(0) : nullptr;
    const wchar_t* title = text(1)[0] ? text(1) : nullptr;
    HWND window = waitFor([&] { return FindWindowW(className, title); }, milliseconds(2));
    if (!window)
        return false;
    RECT frame;
    GetWindowRect(window, &frame);
    answer(L"%ld %ld %ld %ld visible=%d foreground=%d topmost=%d", frame.left, frame.top, frame.right, frame.bottom,
           IsWindowVisible(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0,
           (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    return true;
}

static bool dialogSetText()
{
    HWND control = dialogControl(milliseconds(3));
    DWORD_PTR result = 0;
    return control && sendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text(2)), &result) && result;
}

// Presses the button and waits until the dialog has acted on it.
static bool pressDialogButton(int button)
{
    HWND dialog = waitForDialog(text(0), milliseconds(1));
    return dialog && sendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

static bool musicFolder()
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                        0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    wchar_t old[1024] = L"";
    DWORD bytes = sizeof(old) - sizeof(wchar_t);
    RegQueryValueExW(key, L"My Music", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &bytes);
    answer(L"%ls", old);
    LONG result = ERROR_SUCCESS;
    if (argumentCount > 0 && text(0)[0] != L'\0')
        result = RegSetValueExW(key, L"My Music", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text(0)),
                                static_cast<DWORD>((wcslen(text(0)) + 1) * sizeof(wchar_t)));
    else if (argumentCount > 0)
        RegDeleteValueW(key, L"My Music");
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static bool countWindows()
{
    int visible = 0;
    firstWindow(nullptr, [&](HWND window) {
        visible += hasClass(window, text(0)) && IsWindowVisible(window);
        return false;
    });
    answer(L"%d", visible);
    return true;
}

// The text of a shown tooltip window (the shell's tooltip of a tray icon); WM_GETTEXT is sent,
// since the stored title of a tooltip window stays empty.
static bool tooltipText()
{
    wchar_t shown[512] = L"";
    bool found = waitUntil(
        [&] {
            return firstWindow(nullptr, [&](HWND window) {
                       DWORD_PTR length = 0;
                       return hasClass(window, TOOLTIPS_CLASSW) && IsWindowVisible(window) &&
                              sendWithTimeout(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(shown), &length) &&
                              length > 0;
                   }) != nullptr;
        },
        milliseconds(0));
    if (found)
        answer(L"%ls", shown);
    return found;
}

static bool dialogControlRect()
{
    HWND control = dialogControl(10000);
    RECT frame;
    if (!control || !GetWindowRect(control, &frame))
        return false;
    answer(L"%ld %ld %ld %ld", frame.left, frame.top, frame.right, frame.bottom);
    return true;
}

// The notifications of a choice in the list follow: some dialogs act on the change, some on the
// list's closing.
static bool dialogChoose()
{
    HWND combo = dialogControl(10000);
    DWORD_PTR result = 0;
    if (!combo || !sendWithTimeout(combo, CB_SETCURSEL, static_cast<WPARAM>(number(2)), 0, &result) ||
        static_cast<LPARAM>(result) != number(2))
        return false;
    for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK}) {
        if (!sendWithTimeout(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), notification),
                             reinterpret_cast<LPARAM>(combo)))
            return false;
    }
    return true;
}

static bool dialogTexts()
{
    HWND dialog = waitForDialog(text(0), milliseconds(1));
    if (!dialog)
        return false;
    firstWindow(dialog, [](HWND child) {
        wchar_t shown[512];
        GetWindowTextW(child, shown, 512);
        for (wchar_t* c = wcschr(shown, L'\n'); c; c = wcschr(c, L'\n'))
            *c = L'|';
        answer(L"%d\t%ls", static_cast<short>(GetDlgCtrlID(child)), shown);
        return false;
    });
    return true;
}

struct Verb {
    const wchar_t* name;
    int argumentsNeeded;
    bool (*run)();
};

static const Verb verbs[] = {
    // send MSG WPARAM LPARAM: SendMessage to the player, answers the result.
    {L"send", 3, [] { return sendAndAnswer(player(), 0); }},
    // post MSG WPARAM LPARAM: PostMessage to the player.
    {L"post", 3, [] { return postToPlayer(static_cast<UINT>(number(0)), static_cast<WPARAM>(number(1)), number(2)); }},
    // command ID: the menu command ID as WM_COMMAND.
    {L"command", 1, [] { return postToPlayer(WM_COMMAND, static_cast<WPARAM>(number(0)), 0); }},
    // player-state: whether the main window exists and whether it is visible.
    {L"player-state", 0, playerState},
    // wait-player [MS] / wait-no-player [MS]
    {L"wait-player", 0, [] { return waitUntil([] { return player() != nullptr; }, milliseconds(0)); }},
    {L"wait-no-player", 0, [] { return waitUntil([] { return player() == nullptr; }, milliseconds(0)); }},
    // box CAPTION MS: waits for a message box with this caption, answers its text, presses OK (a
    // Yes/No box: No). box-yes CAPTION MS: the same, but answers a Yes/No box with Yes.
    {L"box", 2, [] { return handleBox(false); }},
    {L"box-yes", 2, [] { return handleBox(true); }},
    // close-boxes: closes every visible dialog box of the desktop; answers their captions.
    {L"close-boxes", 0, closeAllBoxes},
    // tray-delete: removes the player's tray icon, as a restarted shell would have lost it.
    // tray-exists: whether the icon is there (a NIM_MODIFY on it succeeds).
    {L"tray-delete", 0, [] { return trayIcon(NIM_DELETE); }},
    {L"tray-exists", 0, [] { return trayIcon(NIM_MODIFY); }},
    // taskbar-created: the broadcast of a shell that has re-created its taskbar.
    {L"taskbar-created", 0, broadcastTaskbarCreated},
    // impostor TITLE MS: a window of the player's class with another title, for MS milliseconds.
    {L"impostor", 2, impostor},
    // window CLASS TITLE MS: waits for a top-level window; answers its rectangle and visibility.
    {L"window", 3, windowInfo},
    // double-click-time: the system's double-click time in milliseconds.
    {L"double-click-time", 0, [] { answer(L"%u", GetDoubleClickTime()); return true; }},
    // count-windows CLASS: how many visible top-level windows of the class exist (open menus: "#32768").
    {L"count-windows", 1, countWindows},
    // tooltip [MS]: waits for a shown tooltip; answers its text.
    {L"tooltip", 0, tooltipText},
    // The dialog verbs find the dialog by its caption or by the text of one of its controls, and
    // its controls by id at any depth.
    // dialog-set-text TEXT CONTROL VALUE [MS]: WM_SETTEXT to a control.
    {L"dialog-set-text", 3, dialogSetText},
    // dialog-ok TEXT [MS] / dialog-cancel TEXT [MS]: presses OK or Cancel.
    {L"dialog-ok", 1, [] { return pressDialogButton(IDOK); }},
    {L"dialog-cancel", 1, [] { return pressDialogButton(IDCANCEL); }},
    // dialog-choose TEXT CONTROL INDEX: selects an item of a combo box as a user would.
    {L"dialog-choose", 3, dialogChoose},
    // dialog-gone TEXT MS: waits until no such dialog is shown.
    {L"dialog-gone", 2, [] { return waitUntil([] { return !findDialog(text(0)); }, milliseconds(1)); }},
    // music-folder [PATH]: answers the user's "My Music" shell folder entry (empty when there is
    // none); with PATH sets it (an empty PATH removes the entry), so a test can point the music
    // folder at a folder of its own and put the old entry back afterwards.
    {L"music-folder", 0, musicFolder},
    // dialog-send TEXT CONTROL MSG WPARAM LPARAM: SendMessage to a control; answers the result
    // (for messages that pass no pointers, such as TBM_GETPOS).
    {L"dialog-send", 5, [] { return sendAndAnswer(dialogControl(10000), 2); }},
    // dialog-control-rect TEXT CONTROL: the screen rectangle of a control.
    {L"dialog-control-rect", 2, dialogControlRect},
    // dialog-tree-chosen TEXT MS: waits until the dialog's tree view has an item chosen below
    // its root (the folder browser selects its starting folder while it opens).
    {L"dialog-tree-chosen", 2, [] {
         return waitUntil(
             [] {
                 HWND dialog = findDialog(text(0));
                 HWND tree = dialog ? firstWindow(dialog, [](HWND child) { return hasClass(child, L"SysTreeView32"); })
                                    : nullptr;
                 DWORD_PTR chosen = 0, root = 0;
                 return tree && sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, &chosen) &&
                        sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, &root) && chosen && chosen != root;
             },
             milliseconds(1));
     }},
    // dialog-texts TEXT [MS]: every control as "ID<TAB>text", one a line (line breaks inside a
    // text shown as '|').
    {L"dialog-texts", 1, dialogTexts},
};

int wmain(int argc, wchar_t** argv)
{
    int first = 1;
    if (argc > 2 && wcscmp(argv[1], L"--out") == 0) {
        output = _wfopen(argv[2], L"wb");
        first = 3;
    }
    // Negative when no command is given.
    argumentCount = argc - first - 1;
    arguments = argv + first + 1;
    int result = 2;
    for (const Verb& verb : verbs) {
        if (argumentCount >= verb.argumentsNeeded && wcscmp(argv[first], verb.name) == 0)
            result = verb.run() ? 0 : 1;
    }
    if (output)
        fclose(output);
    return result;
}
