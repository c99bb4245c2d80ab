#include "base/window_class.h"

#include "resources/resource.h"

bool registerPlayerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PLAYER), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    windowClass.hCursor = static_cast<HCURSOR>(
        LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

// The per-window and per-DPI functions came with Windows 10 1607: looked up at run time.
static FARPROC user32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

// What a program that declares DPI awareness sees on Vista and 7: one DPI for every monitor.
static unsigned int systemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned int>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

unsigned int windowDpi(HWND window)
{
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    DpiForWindow forWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(user32Function("GetDpiForWindow")));
    unsigned int dpi = forWindow ? forWindow(window) : 0;
    return dpi != 0 ? dpi : systemDpi();
}

int scaleToDpi(int pixels, unsigned int dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// Without GetSystemMetricsForDpi the metrics are those of the system DPI.
int smallIconSize(unsigned int dpi)
{
    typedef int(WINAPI * MetricsForDpi)(int, UINT);
    MetricsForDpi forDpi =
        reinterpret_cast<MetricsForDpi>(reinterpret_cast<void*>(user32Function("GetSystemMetricsForDpi")));
    if (forDpi)
        return forDpi(SM_CXSMICON, dpi);
    return MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi), static_cast<int>(systemDpi()));
}

HICON loadSmallIcon(HINSTANCE instance, int id, unsigned int dpi)
{
    int size = smallIconSize(dpi);
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
