// A helper that the end-to-end tests run inside the Wine desktop to act as the shell, another
// process or a user towards the running player. Standard output of a program in the virtual
// desktop may be lost, so the answer goes to the file named by --out and to the exit code.
//
//   probe [--out FILE] COMMAND ARGS...
//
// Exit code 0 means the command succeeded, 1 that it did not, 2 a usage error.
#include <windows.h>
#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

static const wchar_t playerClass[] = L"VELMORIS_PLAYER_MAIN";
static const wchar_t playerTitle[] = L"Velmoris Player";

static FILE* output;

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

static HWND player()
{
    return FindWindowW(playerClass, playerTitle);
}

static HWND waitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(className, title);
        if (window || GetTickCount() - started > timeoutMs)
            return window;
        Sleep(20);
    }
}

static LPARAM number(const wchar_t* text)
{
    return static_cast<LPARAM>(wcstoll(text, nullptr, 0));
}

// send MSG WPARAM LPARAM: SendMessage to the player, answers the result.
static int sendToPlayer(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    HWND window = player();
    if (!window)
        return 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, static_cast<UINT>(number(argv[0])), static_cast<WPARAM>(number(argv[1])),
                             number(argv[2]), SMTO_ABORTIFHUNG, 10000, &result))
        return 1;
    answer(L"%lld", static_cast<long long>(result));
    return 0;
}

// post MSG WPARAM LPARAM: PostMessage to the player.
static int postToPlayer(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    HWND window = player();
    if (!window)
        return 1;
    return PostMessageW(window, static_cast<UINT>(number(argv[0])), static_cast<WPARAM>(number(argv[1])),
                        number(argv[2]))
               ? 0
               : 1;
}

// command ID: the menu command ID as WM_COMMAND.
static int commandPlayer(int argc, wchar_t** argv)
{
    if (argc < 1)
        return 2;
    HWND window = player();
    if (!window)
        return 1;
    return PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(number(argv[0])), 0) ? 0 : 1;
}

// player-state: whether the main window exists and whether it is visible.
static int playerState(int, wchar_t**)
{
    HWND window = player();
    answer(L"exists=%d visible=%d", window != nullptr, window && IsWindowVisible(window));
    return window ? 0 : 1;
}

// wait-player MS / wait-no-player MS
static int waitPlayer(int argc, wchar_t** argv, bool present)
{
    DWORD timeout = argc > 0 ? static_cast<DWORD>(number(argv[0])) : 10000;
    DWORD started = GetTickCount();
    for (;;) {
        if ((player() != nullptr) == present)
            return 0;
        if (GetTickCount() - started > timeout)
            return 1;
        Sleep(20);
    }
}

struct BoxSearch {
    const wchar_t* caption;
    HWND found;
};

static BOOL CALLBACK findBox(HWND window, LPARAM parameter)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(parameter);
    wchar_t className[64];
    wchar_t caption[512];
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, caption, 512);
    if (wcscmp(className, L"#32770") == 0 && IsWindowVisible(window) &&
        (search->caption == nullptr || wcscmp(caption, search->caption) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static HWND findMessageBox(const wchar_t* caption)
{
    BoxSearch search = {caption, nullptr};
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

static BOOL CALLBACK collectStaticText(HWND child, LPARAM parameter)
{
    wchar_t className[64];
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, L"Static") == 0 && GetDlgCtrlID(child) == 0xFFFF) {
        wchar_t* text = reinterpret_cast<wchar_t*>(parameter);
        GetWindowTextW(child, text, 2048);
        return FALSE;
    }
    return TRUE;
}

static void closeBox(HWND box)
{
    // A box with only OK knows IDOK; a Yes/No box is answered with No.
    if (GetDlgItem(box, IDOK))
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    else if (GetDlgItem(box, IDNO))
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    else
        PostMessageW(box, WM_CLOSE, 0, 0);
}

// box CAPTION MS: waits for a message box with this caption, answers its text, presses OK.
static int handleBox(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    DWORD timeout = static_cast<DWORD>(number(argv[1]));
    DWORD started = GetTickCount();
    HWND box;
    while (!(box = findMessageBox(argv[0]))) {
        if (GetTickCount() - started > timeout)
            return 1;
        Sleep(20);
    }
    wchar_t text[2048] = L"";
    EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(text));
    answer(L"%ls", text);
    closeBox(box);
    return 0;
}

// box-yes CAPTION MS: as box, but answers a Yes/No box with Yes.
static int answerBoxYes(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    DWORD timeout = static_cast<DWORD>(number(argv[1]));
    DWORD started = GetTickCount();
    HWND box;
    while (!(box = findMessageBox(argv[0]))) {
        if (GetTickCount() - started > timeout)
            return 1;
        Sleep(20);
    }
    wchar_t text[2048] = L"";
    EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(text));
    answer(L"%ls", text);
    return PostMessageW(box, WM_COMMAND, IDYES, 0) ? 0 : 1;
}

// close-boxes: closes every visible dialog box of the desktop; answers their captions.
static int closeAllBoxes(int, wchar_t**)
{
    int closed = 0;
    for (int round = 0; round < 50; ++round) {
        HWND box = findMessageBox(nullptr);
        if (!box)
            break;
        wchar_t caption[512];
        GetWindowTextW(box, caption, 512);
        answer(L"%ls", caption);
        closeBox(box);
        ++closed;
        Sleep(100);
    }
    return 0;
}

// tray-delete: removes the player's tray icon, as a restarted shell would have lost it.
// tray-exists: whether the icon is there (a NIM_MODIFY on it succeeds).
static int trayIcon(bool remove)
{
    HWND window = player();
    if (!window)
        return 1;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    return Shell_NotifyIconW(remove ? NIM_DELETE : NIM_MODIFY, &data) ? 0 : 1;
}

// taskbar-created: the broadcast of a shell that has re-created its taskbar.
static int broadcastTaskbarCreated(int, wchar_t**)
{
    UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result;
    SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}

static LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// impostor TITLE MS: a window of the player's class with another title, for MS milliseconds.
static int impostor(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = plainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = playerClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, playerClass, argv[0], 0, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    DWORD until = GetTickCount() + static_cast<DWORD>(number(argv[1]));
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(20);
    }
    DestroyWindow(window);
    return 0;
}

// window CLASS TITLE MS: waits for a top-level window; answers its rectangle and visibility.
static int windowInfo(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const wchar_t* className = argv[0][0] ? argv[0] : nullptr;
    const wchar_t* title = argv[1][0] ? argv[1] : nullptr;
    HWND window = waitForWindow(className, title, static_cast<DWORD>(number(argv[2])));
    if (!window)
        return 1;
    RECT frame;
    GetWindowRect(window, &frame);
    answer(L"%ld %ld %ld %ld visible=%d foreground=%d topmost=%d", frame.left, frame.top, frame.right, frame.bottom,
           IsWindowVisible(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0,
           (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    return 0;
}

struct DialogSearch {
    const wchar_t* text;
    HWND found;
};

static BOOL CALLBACK childWithText(HWND child, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    wchar_t text[512];
    GetWindowTextW(child, text, 512);
    if (wcscmp(text, search->text) == 0) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog whose caption, or the text of one of its controls, is the given text (the
// folder browser shows its title inside, not as its caption).
static BOOL CALLBACK dialogWithText(HWND window, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    wchar_t className[64];
    wchar_t caption[512];
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, caption, 512);
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    DialogSearch inside = {search->text, nullptr};
    if (wcscmp(caption, search->text) != 0)
        EnumChildWindows(window, childWithText, reinterpret_cast<LPARAM>(&inside));
    if (wcscmp(caption, search->text) == 0 || inside.found) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static HWND waitForDialog(const wchar_t* text, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    for (;;) {
        DialogSearch search = {text, nullptr};
        EnumWindows(dialogWithText, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - started > timeoutMs)
            return search.found;
        Sleep(20);
    }
}

struct ControlSearch {
    int id;
    HWND found;
};

static BOOL CALLBACK controlWithId(HWND child, LPARAM parameter)
{
    ControlSearch* search = reinterpret_cast<ControlSearch*>(parameter);
    if (GetDlgCtrlID(child) == search->id) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// dialog-set-text TEXT CONTROL VALUE [MS]: WM_SETTEXT to a control (searched at any depth) of
// the dialog found by its caption or by a control's text.
static int dialogSetText(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    HWND dialog = waitForDialog(argv[0], argc > 3 ? static_cast<DWORD>(number(argv[3])) : 10000);
    if (!dialog)
        return 1;
    ControlSearch search = {static_cast<int>(number(argv[1])), nullptr};
    EnumChildWindows(dialog, controlWithId, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]), SMTO_ABORTIFHUNG,
                               10000, &result) && result
               ? 0
               : 1;
}

// dialog-ok TEXT [MS] / dialog-cancel TEXT [MS]: presses OK or Cancel of that dialog and waits
// until it has acted.
static int pressDialogButton(int argc, wchar_t** argv, int button)
{
    if (argc < 1)
        return 2;
    HWND dialog = waitForDialog(argv[0], argc > 1 ? static_cast<DWORD>(number(argv[1])) : 10000);
    if (!dialog)
        return 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)), SMTO_ABORTIFHUNG, 10000, &result)
               ? 0
               : 1;
}

// dialog-gone TEXT MS: waits until no such dialog is shown.
static int dialogGone(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    DWORD timeout = static_cast<DWORD>(number(argv[1]));
    DWORD started = GetTickCount();
    while (waitForDialog(argv[0], 0)) {
        if (GetTickCount() - started > timeout)
            return 1;
        Sleep(20);
    }
    return 0;
}

static const wchar_t userShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// music-folder [PATH]: answers the user's "My Music" shell folder entry (empty when there is
// none); with PATH sets it (an empty PATH removes the entry), so a test can point the music
// folder at a folder of its own and put the old entry back afterwards.
static int musicFolder(int argc, wchar_t** argv)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, userShellFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    wchar_t old[1024] = L"";
    DWORD bytes = sizeof(old) - sizeof(wchar_t);
    DWORD type = 0;
    RegQueryValueExW(key, L"My Music", nullptr, &type, reinterpret_cast<BYTE*>(old), &bytes);
    answer(L"%ls", old);
    LONG result = ERROR_SUCCESS;
    if (argc > 0 && argv[0][0] != L'\0')
        result = RegSetValueExW(key, L"My Music", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(argv[0]),
                                static_cast<DWORD>((wcslen(argv[0]) + 1) * sizeof(wchar_t)));
    else if (argc > 0)
        RegDeleteValueW(key, L"My Music");
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
}

// double-click-time: the system's double-click time in milliseconds.
static int doubleClickTime(int, wchar_t**)
{
    answer(L"%u", GetDoubleClickTime());
    return 0;
}

struct ClassCount {
    const wchar_t* className;
    int visible;
};

static BOOL CALLBACK countVisibleOfClass(HWND window, LPARAM parameter)
{
    ClassCount* count = reinterpret_cast<ClassCount*>(parameter);
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    if (wcscmp(className, count->className) == 0 && IsWindowVisible(window))
        ++count->visible;
    return TRUE;
}

// count-windows CLASS: how many visible top-level windows of the class exist (open menus: "#32768").
static int countWindows(int argc, wchar_t** argv)
{
    if (argc < 1)
        return 2;
    ClassCount count = {argv[0], 0};
    EnumWindows(countVisibleOfClass, reinterpret_cast<LPARAM>(&count));
    answer(L"%d", count.visible);
    return 0;
}

// The control with this id of the dialog found by its caption or by a control's text.
static HWND dialogControl(const wchar_t* text, const wchar_t* id, DWORD timeoutMs)
{
    HWND dialog = waitForDialog(text, timeoutMs);
    if (!dialog)
        return nullptr;
    ControlSearch search = {static_cast<int>(number(id)), nullptr};
    EnumChildWindows(dialog, controlWithId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// dialog-send TEXT CONTROL MSG WPARAM LPARAM: SendMessage to a control of the dialog; answers
// the result (for messages that pass no pointers, such as TBM_GETPOS).
static int dialogSend(int argc, wchar_t** argv)
{
    if (argc < 5)
        return 2;
    HWND control = dialogControl(argv[0], argv[1], 10000);
    DWORD_PTR result = 0;
    if (!control || !SendMessageTimeoutW(control, static_cast<UINT>(number(argv[2])), static_cast<WPARAM>(number(argv[3])),
                                         number(argv[4]), SMTO_ABORTIFHUNG, 10000, &result))
        return 1;
    answer(L"%lld", static_cast<long long>(result));
    return 0;
}

// dialog-control-rect TEXT CONTROL: the screen rectangle of a control of the dialog.
static int dialogControlRect(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    HWND control = dialogControl(argv[0], argv[1], 10000);
    if (!control)
        return 1;
    RECT frame;
    GetWindowRect(control, &frame);
    answer(L"%ld %ld %ld %ld", frame.left, frame.top, frame.right, frame.bottom);
    return 0;
}

// dialog-choose TEXT CONTROL INDEX: selects an item of a combo box as a user would, with the
// notifications of a choice in the list (some dialogs act on the change, some on the closing).
static int dialogChoose(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    HWND combo = dialogControl(argv[0], argv[1], 10000);
    if (!combo)
        return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(number(argv[2])), 0, SMTO_ABORTIFHUNG, 10000, &result);
    if (static_cast<LPARAM>(result) != number(argv[2]))
        return 1;
    static const WORD notifications[] = {CBN_SELCHANGE, CBN_SELENDOK};
    for (WORD notification : notifications) {
        if (!SendMessageTimeoutW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), notification),
                                 reinterpret_cast<LPARAM>(combo), SMTO_ABORTIFHUNG, 10000, &result))
            return 1;
    }
    return 0;
}

static BOOL CALLBACK answerControlText(HWND child, LPARAM)
{
    wchar_t text[512];
    GetWindowTextW(child, text, 512);
    for (wchar_t* c = text; *c; ++c) {
        if (*c == L'\n')
            *c = L'|';
    }
    answer(L"%d\t%ls", static_cast<short>(GetDlgCtrlID(child)), text);
    return TRUE;
}

// dialog-texts TEXT [MS]: every control of the dialog as "ID<TAB>text", one a line (line breaks
// inside a text shown as '|').
static int dialogTexts(int argc, wchar_t** argv)
{
    if (argc < 1)
        return 2;
    HWND dialog = waitForDialog(argv[0], argc > 1 ? static_cast<DWORD>(number(argv[1])) : 10000);
    if (!dialog)
        return 1;
    EnumChildWindows(dialog, answerControlText, 0);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    int first = 1;
    if (argc > 2 && wcscmp(argv[1], L"--out") == 0) {
        output = _wfopen(argv[2], L"wb");
        first = 3;
    }
    if (argc <= first)
        return 2;
    const wchar_t* command = argv[first];
    int restCount = argc - first - 1;
    wchar_t** rest = argv + first + 1;
    int result = 2;
    if (wcscmp(command, L"send") == 0)
        result = sendToPlayer(restCount, rest);
    else if (wcscmp(command, L"post") == 0)
        result = postToPlayer(restCount, rest);
    else if (wcscmp(command, L"command") == 0)
        result = commandPlayer(restCount, rest);
    else if (wcscmp(command, L"player-state") == 0)
        result = playerState(restCount, rest);
    else if (wcscmp(command, L"wait-player") == 0)
        result = waitPlayer(restCount, rest, true);
    else if (wcscmp(command, L"wait-no-player") == 0)
        result = waitPlayer(restCount, rest, false);
    else if (wcscmp(command, L"box") == 0)
        result = handleBox(restCount, rest);
    else if (wcscmp(command, L"close-boxes") == 0)
        result = closeAllBoxes(restCount, rest);
    else if (wcscmp(command, L"tray-delete") == 0)
        result = trayIcon(true);
    else if (wcscmp(command, L"tray-exists") == 0)
        result = trayIcon(false);
    else if (wcscmp(command, L"taskbar-created") == 0)
        result = broadcastTaskbarCreated(restCount, rest);
    else if (wcscmp(command, L"impostor") == 0)
        result = impostor(restCount, rest);
    else if (wcscmp(command, L"window") == 0)
        result = windowInfo(restCount, rest);
    else if (wcscmp(command, L"double-click-time") == 0)
        result = doubleClickTime(restCount, rest);
    else if (wcscmp(command, L"count-windows") == 0)
        result = countWindows(restCount, rest);
    else if (wcscmp(command, L"dialog-set-text") == 0)
        result = dialogSetText(restCount, rest);
    else if (wcscmp(command, L"dialog-ok") == 0)
        result = pressDialogButton(restCount, rest, IDOK);
    else if (wcscmp(command, L"dialog-cancel") == 0)
        result = pressDialogButton(restCount, rest, IDCANCEL);
    else if (wcscmp(command, L"dialog-choose") == 0)
        result = dialogChoose(restCount, rest);
    else if (wcscmp(command, L"dialog-gone") == 0)
        result = dialogGone(restCount, rest);
    else if (wcscmp(command, L"music-folder") == 0)
        result = musicFolder(restCount, rest);
    else if (wcscmp(command, L"dialog-send") == 0)
        result = dialogSend(restCount, rest);
    else if (wcscmp(command, L"dialog-control-rect") == 0)
        result = dialogControlRect(restCount, rest);
    else if (wcscmp(command, L"box-yes") == 0)
        result = answerBoxYes(restCount, rest);
    else if (wcscmp(command, L"dialog-texts") == 0)
        result = dialogTexts(restCount, rest);
    if (output)
        fclose(output);
    return result;
}
