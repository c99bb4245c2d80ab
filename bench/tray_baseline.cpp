// The least a tray program can do: one hidden window, one tray icon, then exit. The start-up
// benchmark measures it beside the player.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"VELMORIS_TRAY_BASELINE";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"baseline", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpyW(data.szTip, L"baseline");
    BOOL added = Shell_NotifyIconW(NIM_ADD, &data);
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyWindow(window);
    return added ? 0 : 1;
}
