#include "base/report.h"

#include <string.h>
#include <wchar.h>

#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/wide_text.h"

int messageDisplayType;
bool (*showReportBalloon)(const wchar_t* text, const wchar_t* caption);

// Boxes on their own threads not yet dismissed.
static volatile LONG openBoxes;

struct MessageBoxRequest {
    HWND owner;
    wchar_t* text;
    wchar_t* caption;
    UINT style;
};

static DWORD WINAPI messageBoxThread(void* parameter)
{
    MessageBoxRequest* request = static_cast<MessageBoxRequest*>(parameter);
    systemMessageBox(request->owner, request->text, request->caption, request->style);
    HANDLE heap = GetProcessHeap();
    HeapFree(heap, 0, request->text);
    HeapFree(heap, 0, request->caption);
    HeapFree(heap, 0, request);
    InterlockedDecrement(&openBoxes);
    return 0;
}

// The box runs on its own thread, which owns the request: playback and the menu go on meanwhile.
static void showMessageBoxAsync(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    HANDLE heap = GetProcessHeap();
    MessageBoxRequest* request =
        static_cast<MessageBoxRequest*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(MessageBoxRequest)));
    size_t textUnits = wcslen(text) + 1;
    size_t captionUnits = wcslen(caption) + 64;
    wchar_t* textCopy = static_cast<wchar_t*>(HeapAlloc(heap, 0, textUnits * sizeof(wchar_t)));
    wchar_t* captionText = static_cast<wchar_t*>(HeapAlloc(heap, 0, captionUnits * sizeof(wchar_t)));
    if (!request || !textCopy || !captionText) {
        HeapFree(heap, 0, request);
        HeapFree(heap, 0, textCopy);
        HeapFree(heap, 0, captionText);
        return;
    }
    memcpy(textCopy, text, textUnits * sizeof(wchar_t));
    formatText(captionText, captionUnits, L"%ls - %ls", caption, programTitle);
    request->owner = owner;
    request->text = textCopy;
    request->caption = captionText;
    request->style = MB_OK | MB_ICONERROR;
    InterlockedIncrement(&openBoxes);
    HANDLE thread = CreateThread(nullptr, 0, messageBoxThread, request, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        messageBoxThread(request);
}

void reportMessage(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    if (messageDisplayType == MESSAGE_HIDDEN)
        return;
    if (messageDisplayType == MESSAGE_BALLOON && showReportBalloon && showReportBalloon(text, caption))
        return;
    showMessageBoxAsync(owner, text, caption);
}

void showMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)
{
    if (messageDisplayType == MESSAGE_HIDDEN)
        return;
    wchar_t captionText[TEXT_BUFFER_UNITS];
    formatText(captionText, TEXT_BUFFER_UNITS, L"%ls - %ls", caption, programTitle);
    systemMessageBox(owner, text, captionText, style);
}

void showErrorMessage(HWND owner, const wchar_t* text)
{
    showMessage(owner, text, L"エラー", MB_OK | MB_ICONERROR);
}

int askUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)
{
    return systemMessageBox(owner, text, caption, style);
}

// A box is seldom open and the user takes seconds to read it: a tenth of a second is soon enough.
void waitForReportsDismissed()
{
    while (InterlockedCompareExchange(&openBoxes, 0, 0) != 0)
        Sleep(100);
}
