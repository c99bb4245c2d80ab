#include "tests/fakes/fake_system_calls.h"

#include <mmsystem.h>

#include <algorithm>
#include <mutex>
#include <sstream>

#include "base/system_calls.h"

namespace fake {

static std::mutex boxMutex;
static std::vector<MessageBoxCall> boxes;

void reset()
{
    for (const NotifyCall& call : notifyCalls)
        DestroyIcon(call.picture);
    clear(mci, mciCalls, notifyCalls, tickCount, boxWitness, hotKeys, refusedHotKey, shortNames, moveFileErrors,
          createFileErrors, sleeps, fileDialogCount, fileDialogSelection, menuCount, menuChoice, shellOpened);
    notifyResult = TRUE;
    iconRectResult = E_NOTIMPL;
    std::lock_guard<std::mutex> lock(boxMutex);
    boxes.clear();
}

std::vector<MessageBoxCall> messageBoxes()
{
    std::lock_guard<std::mutex> lock(boxMutex);
    return boxes;
}

std::vector<std::wstring> mciCommands()
{
    std::vector<std::wstring> commands(mciCalls.size());
    std::transform(mciCalls.begin(), mciCalls.end(), commands.begin(), [](const MciCall& c) { return c.command; });
    return commands;
}

static unsigned int openFile(const std::wstring& command)
{
    const size_t first = command.find(L'"');
    const size_t last = command.find(L'"', first + 1);
    if (first == std::wstring::npos || last == std::wstring::npos || command.substr(last) != L"\" alias sound")
        return MCIERR_UNRECOGNIZED_COMMAND;
    const std::wstring path = command.substr(first + 1, last - first - 1);
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    if (name.rfind(L'.') == std::wstring::npos)
        return MCIERR_EXTENSION_NOT_FOUND;
    std::wstring extension = name.substr(name.rfind(L'.'));
    CharLowerW(extension.data());
    const bool midi = extension == L".mid" || extension == L".rmi";
    mci = {true, midi ? L"sequencer" : extension == L".wav" ? L"waveaudio" : L"digitalvideo", L"stopped", 0,
           mci.length, mci.allRefused, mci.errors};
    return 0;
}

static unsigned int answer(const std::wstring& command, std::wstring& reply)
{
    for (const auto& [start, error] : mci.errors)
        if (command.compare(0, start.size(), start) == 0)
            return error;
    if (command.compare(0, 5, L"open ") == 0)
        return mci.open ? MCIERR_DUPLICATE_ALIAS : openFile(command);
    std::wstring verb, device, word, value; // "seek sound to 1000", "status sound device type"
    std::wistringstream(command) >> verb >> device >> word >> value;
    const bool all = device == L"all";
    if (all && verb != L"close" && mci.allRefused)
        return MCIERR_CANNOT_USE_ALL;
    if (!mci.open)
        return all && (verb == L"stop" || verb == L"close") ? 0 : MCIERR_INVALID_DEVICE_NAME;
    if (!all && device != L"sound")
        return MCIERR_INVALID_DEVICE_NAME;
    const std::map<std::wstring, std::wstring> replies = {{L"mode", mci.mode}, {L"devicetype", mci.type},
        {L"length", std::to_wstring(mci.length)}, {L"position", std::to_wstring(mci.position)}};
    if ((verb == L"status" || verb == L"capability") && replies.count(word + value))
        reply = replies.at(word + value);
    else if (verb == L"close")
        mci = {false, L"", L"", 0, mci.length, mci.allRefused, mci.errors};
    else if (verb == L"stop" || (verb == L"seek" && word == L"to"))
        mci.mode = L"stopped";
    else if (verb == L"play" || (verb == L"resume" && mci.mode == L"paused"))
        mci.mode = L"playing";
    else if (verb == L"pause" && mci.type != L"sequencer" && mci.mode == L"playing")
        mci.mode = L"paused";
    else if (verb == L"setaudio" ? mci.type != L"digitalvideo" :
                                   verb != L"set" && verb != L"pause" && verb != L"resume")
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (verb == L"seek")
        mci.position = value == L"start" ? 0 : wcstoul(value.c_str(), nullptr, 10);
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
    fake::notifyCalls.push_back({message, *data, data->hIcon ? CopyIcon(data->hIcon) : nullptr});
    return fake::notifyResult;
}

void systemShellOpen(HWND, const wchar_t* target)
{
    fake::shellOpened.push_back(target);
}

int systemMessageBox(HWND, const wchar_t* text, const wchar_t* caption, unsigned int style)
{
    bool witnessed = fake::boxWitness && fake::boxWitness();
    std::lock_guard<std::mutex> lock(fake::boxMutex);
    fake::boxes.push_back({text, caption, style, GetCurrentThreadId(), witnessed});
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
    auto held = [&](const fake::HotKey& key) { return key.window == window && key.id == id; };
    const size_t before = fake::hotKeys.size();
    fake::hotKeys.erase(std::remove_if(fake::hotKeys.begin(), fake::hotKeys.end(), held), fake::hotKeys.end());
    return fake::hotKeys.size() < before;
}

DWORD systemShortPathName(const wchar_t* longPath, wchar_t* shortPath, DWORD units)
{
    for (const auto& [name, shortName] : fake::shortNames)
        if (name == longPath && shortName.size() < units)
            return static_cast<DWORD>(wcslen(wcscpy(shortPath, shortName.c_str())));
    return 0;
}

// The error scripted for this call of a function, taken off the front, or 0 for the real call.
static DWORD scriptedError(std::vector<DWORD>& errors)
{
    const DWORD error = errors.empty() ? 0 : errors.front();
    errors.erase(errors.begin(), errors.begin() + (errors.empty() ? 0 : 1));
    SetLastError(error);
    return error;
}

HANDLE systemCreateFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition)
{
    if (scriptedError(fake::createFileErrors))
        return INVALID_HANDLE_VALUE;
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL systemMoveFileEx(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    return scriptedError(fake::moveFileErrors) ? FALSE : MoveFileExW(from, to, flags);
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
