#include "tests/fakes/fake_system_calls.h"

#include <mutex>

#include "app/system_calls.h"
#include "playlist/file_dialog.h"

namespace fake {

std::vector<MciCall> mciCalls;
MciHandler mciHandler;
std::vector<NotifyCall> notifyCalls;
BOOL notifyResult = TRUE;
bool realMessageBoxes;
DWORD tickCount;
std::vector<std::wstring> fileDialogTitles;
std::wstring fileDialogSelection;

static std::mutex messageBoxMutex;
static std::vector<MessageBoxCall> recordedMessageBoxes;

void reset()
{
    mciCalls.clear();
    mciHandler = nullptr;
    notifyCalls.clear();
    notifyResult = TRUE;
    realMessageBoxes = false;
    tickCount = 0;
    fileDialogTitles.clear();
    fileDialogSelection.clear();
    std::lock_guard<std::mutex> lock(messageBoxMutex);
    recordedMessageBoxes.clear();
}

std::vector<MessageBoxCall> messageBoxes()
{
    std::lock_guard<std::mutex> lock(messageBoxMutex);
    return recordedMessageBoxes;
}

std::vector<MessageBoxCall> waitForMessageBoxes(size_t count, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    for (;;) {
        std::vector<MessageBoxCall> boxes = messageBoxes();
        if (boxes.size() >= count || GetTickCount() - started > timeoutMs)
            return boxes;
        Sleep(10);
    }
}

std::vector<std::wstring> mciCommands()
{
    std::vector<std::wstring> commands;
    for (const MciCall& call : mciCalls)
        commands.push_back(call.command);
    return commands;
}

} // namespace fake

unsigned int systemMciSendString(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow)
{
    fake::mciCalls.push_back({command, notifyWindow});
    std::wstring answer;
    unsigned int error = fake::mciHandler ? fake::mciHandler(command, answer, notifyWindow) : 0;
    if (reply && replyLength > 0) {
        size_t units = answer.size() < replyLength - 1 ? answer.size() : replyLength - 1;
        answer.copy(reply, units);
        reply[units] = L'\0';
    }
    return error;
}

BOOL systemShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data)
{
    fake::notifyCalls.push_back({message, *data});
    return fake::notifyResult;
}

int systemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned int style)
{
    {
        std::lock_guard<std::mutex> lock(fake::messageBoxMutex);
        fake::recordedMessageBoxes.push_back({owner, text, caption, style, GetCurrentThreadId()});
    }
    return fake::realMessageBoxes ? MessageBoxW(owner, text, caption, style) : IDOK;
}

DWORD systemTickCount()
{
    return fake::tickCount;
}

bool runFileDialog(FileDialogKind, HWND, const wchar_t*, int*, wchar_t* file, DWORD fileUnits, const wchar_t* title, DWORD)
{
    fake::fileDialogTitles.push_back(title);
    size_t units = fake::fileDialogSelection.size() < fileUnits ? fake::fileDialogSelection.size() : 0;
    fake::fileDialogSelection.copy(file, units);
    file[units] = L'\0';
    return units != 0;
}
