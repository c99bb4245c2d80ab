#include "tests/fakes/fake_system_calls.h"

#include <mmsystem.h>

#include <mutex>
#include <sstream>

#include "base/system_calls.h"

namespace fake {

MciDevice mci;
std::vector<MciCall> mciCalls;
std::vector<NotifyCall> notifyCalls;
BOOL notifyResult;
DWORD tickCount;
bool (*boxWitness)();
std::vector<HotKey> hotKeys;
UINT refusedHotKey;
std::vector<std::pair<std::wstring, std::wstring>> shortNames;
std::vector<DWORD> moveFileErrors, createFileErrors;
size_t moveFileCount, createFileCount;
std::vector<DWORD> sleeps;
size_t fileDialogCount;
std::wstring fileDialogSelection;
size_t menuCount;
HRESULT iconRectResult;
RECT iconRect;
UINT menuChoice;

static std::mutex boxMutex;
static std::vector<MessageBoxCall> boxes;

void reset()
{
    mci = MciDevice();
    mciCalls.clear(), notifyCalls.clear(), hotKeys.clear(), shortNames.clear(), moveFileErrors.clear(), createFileErrors.clear();
    sleeps.clear();
    boxWitness = nullptr;
    notifyResult = TRUE, tickCount = 0, refusedHotKey = 0, moveFileCount = 0, createFileCount = 0, fileDialogCount = 0;
    fileDialogSelection.clear();
    menuCount = 0, menuChoice = 0, iconRectResult = E_NOTIMPL;
    std::lock_guard<std::mutex> lock(boxMutex);
    boxes.clear();
}

std::vector<MessageBoxCall> messageBoxes()
{
    std::lock_guard<std::mutex> lock(boxMutex);
    return boxes;
}

std::vector<MessageBoxCall> waitForMessageBoxes(size_t count, DWORD timeoutMs)
{
    for (DWORD started = GetTickCount(); messageBoxes().size() < count && GetTickCount() - started < timeoutMs;)
        Sleep(10);
    return messageBoxes();
}

std::vector<std::wstring> mciCommands()
{
    std::vector<std::wstring> commands;
    for (const MciCall& call : mciCalls)
        commands.push_back(call.command);
    return commands;
}

static unsigned int openFile(const std::wstring& command)
{
    size_t first = command.find(L'"'), last = command.find(L'"', first + 1);
    if (first == std::wstring::npos || last == std::wstring::npos || command.substr(last) != L"\" alias sound")
        return MCIERR_UNRECOGNIZED_COMMAND;
    std::wstring path = command.substr(first + 1, last - first - 1);
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return MCIERR_EXTENSION_NOT_FOUND;
    std::wstring extension = name.substr(dot);
    CharLowerW(extension.data());
    mci.type = extension == L".mid" || extension == L".rmi" ? L"sequencer" : extension == L".wav" ? L"waveaudio" : L"digitalvideo";
    mci.open = true, mci.mode = L"stopped", mci.position = 0;
    return 0;
}

static unsigned int answer(const std::wstring& command, std::wstring& reply)
{
    for (const auto& scripted : mci.errors)
        if (command.compare(0, scripted.first.size(), scripted.first) == 0)
            return scripted.second;
    if (command.compare(0, 5, L"open ") == 0)
        return mci.open ? MCIERR_DUPLICATE_ALIAS : openFile(command);
    std::vector<std::wstring> w;
    std::wistringstream split(command);
    for (std::wstring word; split >> word;)
        w.push_back(word);
    w.resize(5);
    const std::wstring& verb = w[0];
    if (w[1] == L"all" && verb != L"close" && mci.allRefused)
        return MCIERR_CANNOT_USE_ALL;
    if (!mci.open)
        return w[1] == L"all" && (verb == L"stop" || verb == L"close") ? 0 : MCIERR_INVALID_DEVICE_NAME;
    if (w[1] != L"all" && w[1] != L"sound")
        return MCIERR_INVALID_DEVICE_NAME;
    if (verb == L"close")
        mci.open = false, mci.type.clear(), mci.mode.clear(), mci.position = 0;
    else if (verb == L"stop")
        mci.mode = L"stopped";
    else if (verb == L"seek" && w[2] == L"to")
        mci.mode = L"stopped", mci.position = w[3] == L"start" ? 0 : wcstoul(w[3].c_str(), nullptr, 10);
    else if (verb == L"play" || (verb == L"resume" && mci.mode == L"paused"))
        mci.mode = L"playing";
    else if (verb == L"pause" && mci.type != L"sequencer" && mci.mode == L"playing")
        mci.mode = L"paused";
    else if (verb == L"setaudio" && mci.type != L"digitalvideo")
        return MCIERR_UNRECOGNIZED_COMMAND;
    else if (verb == L"status" || verb == L"capability") {
        const std::wstring item = w[2] + w[3];
        reply = item == L"mode" ? mci.mode : item == L"devicetype" ? mci.type : item == L"length" ? std::to_wstring(mci.length)
              : item == L"position" ? std::to_wstring(mci.position) : L"?";
        return reply == L"?" ? MCIERR_UNRECOGNIZED_COMMAND : 0;
    } else if (verb != L"set" && verb != L"pause" && verb != L"resume" && verb != L"setaudio")
        return MCIERR_UNRECOGNIZED_COMMAND;
    return 0;
}

} // namespace fake

unsigned int systemMciSendString(const wchar_t* command, wchar_t* reply, unsigned int replyLength, HWND notifyWindow)
{
    fake::mciCalls.push_back({command, notifyWindow});
    std::wstring answer;
    unsigned int error = fake::answer(command, answer);
    if (reply && replyLength > 0)
        reply[answer.copy(reply, replyLength - 1)] = L'\0';
    return error;
}

BOOL systemShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data)
{
    fake::notifyCalls.push_back({message, *data});
    return fake::notifyResult;
}

int systemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned int style)
{
    bool witnessed = fake::boxWitness && fake::boxWitness();
    std::lock_guard<std::mutex> lock(fake::boxMutex);
    fake::boxes.push_back({owner, text, caption, style, GetCurrentThreadId(), witnessed});
    return IDOK;
}

DWORD systemTickCount() { return fake::tickCount; }

BOOL systemRegisterHotKey(HWND window, int id, UINT modifiers, UINT key)
{
    if (key == fake::refusedHotKey)
        return FALSE;
    fake::hotKeys.push_back({window, id, modifiers, key});
    return TRUE;
}

BOOL systemUnregisterHotKey(HWND window, int id)
{
    for (auto held = fake::hotKeys.begin(); held != fake::hotKeys.end(); ++held)
        if (held->window == window && held->id == id)
            return fake::hotKeys.erase(held), TRUE;
    return FALSE;
}

DWORD systemShortPathName(const wchar_t* longPath, wchar_t* shortPath, DWORD units)
{
    for (const auto& name : fake::shortNames)
        if (name.first == longPath && name.second.size() < units)
            return shortPath[name.second.copy(shortPath, units)] = L'\0', static_cast<DWORD>(name.second.size());
    return 0;
}

// The error scripted for this call of a function, or 0 for the real call.
static DWORD scriptedError(const std::vector<DWORD>& errors, size_t* count)
{
    size_t call = (*count)++;
    DWORD error = call < errors.size() ? errors[call] : 0;
    SetLastError(error);
    return error;
}

HANDLE systemCreateFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition)
{
    if (scriptedError(fake::createFileErrors, &fake::createFileCount))
        return INVALID_HANDLE_VALUE;
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL systemMoveFileEx(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    return scriptedError(fake::moveFileErrors, &fake::moveFileCount) ? FALSE : MoveFileExW(from, to, flags);
}

void systemSleep(DWORD milliseconds) { fake::sleeps.push_back(milliseconds); }

bool systemFileDialog(FileDialogKind, HWND, const wchar_t*, int*, wchar_t* file, DWORD fileUnits, const wchar_t*, DWORD)
{
    ++fake::fileDialogCount;
    size_t units = fake::fileDialogSelection.size() < fileUnits ? fake::fileDialogSelection.size() : 0;
    file[fake::fileDialogSelection.copy(file, units)] = L'\0';
    return units != 0;
}

BOOL systemTrackPopupMenu(HMENU, UINT, int, int, HWND owner)
{
    ++fake::menuCount;
    return fake::menuChoice ? PostMessageW(owner, WM_COMMAND, fake::menuChoice, 0) : FALSE;
}

HRESULT systemNotifyIconRect(HWND, UINT, RECT* rect)
{
    *rect = fake::iconRect;
    return fake::iconRectResult;
}
