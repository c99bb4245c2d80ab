#include "tests/fakes/fake_system_calls.h"

#include <mutex>

#include "base/system_calls.h"
#include "playlist/file_dialog.h"

namespace fake {

std::vector<MciCall> mciCalls;
MciHandler mciHandler;
std::vector<NotifyCall> notifyCalls;
BOOL notifyResult = TRUE;
bool realMessageBoxes;
DWORD tickCount;
std::vector<HotKey> hotKeys;
UINT refusedHotKey;
std::vector<std::pair<std::wstring, std::wstring>> shortNames;
std::vector<DWORD> moveFileErrors;
std::vector<std::wstring> moveFileCalls;
std::vector<DWORD> sleeps;
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
    hotKeys.clear();
    refusedHotKey = 0;
    shortNames.clear();
    moveFileErrors.clear();
    moveFileCalls.clear();
    sleeps.clear();
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

BOOL systemRegisterHotKey(HWND window, int id, UINT modifiers, UINT key)
{
    if (key == fake::refusedHotKey)
        return FALSE;
    fake::hotKeys.push_back({window, id, modifiers, key});
    return TRUE;
}

BOOL systemUnregisterHotKey(HWND window, int id)
{
    for (auto held = fake::hotKeys.begin(); held != fake::hotKeys.end(); ++held) {
        if (held->window == window && held->id == id) {
            fake::hotKeys.erase(held);
            return TRUE;
        }
    }
    return FALSE;
}

DWORD systemShortPathName(const wchar_t* longPath, wchar_t* shortPath, DWORD units)
{
    for (const auto& name : fake::shortNames) {
        if (name.first == longPath && name.second.size() < units) {
            name.second.copy(shortPath, name.second.size());
            shortPath[name.second.size()] = L'\0';
            return static_cast<DWORD>(name.second.size());
        }
    }
    return 0;
}

BOOL systemMoveFileEx(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    size_t call = fake::moveFileCalls.size();
    fake::moveFileCalls.push_back(std::wstring(from) + L" -> " + to);
    if (call < fake::moveFileErrors.size() && fake::moveFileErrors[call] != 0) {
        SetLastError(fake::moveFileErrors[call]);
        return FALSE;
    }
    return MoveFileExW(from, to, flags);
}

void systemSleep(DWORD milliseconds)
{
    fake::sleeps.push_back(milliseconds);
}

bool runFileDialog(FileDialogKind, HWND, const wchar_t*, int*, wchar_t* file, DWORD fileUnits, const wchar_t* title, DWORD)
{
    fake::fileDialogTitles.push_back(title);
    size_t units = fake::fileDialogSelection.size() < fileUnits ? fake::fileDialogSelection.size() : 0;
    fake::fileDialogSelection.copy(file, units);
    file[units] = L'\0';
    return units != 0;
}
