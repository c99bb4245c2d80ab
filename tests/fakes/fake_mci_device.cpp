#include "tests/fakes/fake_mci_device.h"

#include <windows.h>
#include <mmsystem.h>

#include <sstream>
#include <vector>

#include "tests/fakes/fake_system_calls.h"

namespace fake {

MciDevice mciDevice;

static bool endsWith(const std::wstring& text, const std::wstring& tail)
{
    if (tail.size() > text.size())
        return false;
    std::wstring end = text.substr(text.size() - tail.size());
    return CompareStringOrdinal(end.c_str(), -1, tail.c_str(), -1, TRUE) == CSTR_EQUAL;
}

static unsigned int openFile(const std::wstring& command)
{
    size_t first = command.find(L'"');
    size_t last = first == std::wstring::npos ? first : command.find(L'"', first + 1);
    if (last == std::wstring::npos || command.substr(last) != L"\" alias sound")
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (mciDevice.open)
        return MCIERR_DUPLICATE_ALIAS;
    std::wstring path = command.substr(first + 1, last - first - 1);
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (name.find(L'.') == std::wstring::npos)
        return MCIERR_EXTENSION_NOT_FOUND;
    if (endsWith(name, L".mid") || endsWith(name, L".midi") || endsWith(name, L".rmi"))
        mciDevice.type = L"sequencer";
    else if (endsWith(name, L".wav"))
        mciDevice.type = L"waveaudio";
    else
        mciDevice.type = L"digitalvideo";
    mciDevice.open = true;
    mciDevice.path = path;
    mciDevice.mode = L"stopped";
    mciDevice.position = 0;
    mciDevice.playEnd = 0;
    return 0;
}

static void closeDevice()
{
    mciDevice.open = false;
    mciDevice.path.clear();
    mciDevice.type.clear();
    mciDevice.mode.clear();
    mciDevice.position = 0;
    mciDevice.playEnd = 0;
}

static unsigned int number(const std::vector<std::wstring>& words, size_t index)
{
    return index < words.size() ? static_cast<unsigned int>(std::wcstoul(words[index].c_str(), nullptr, 10)) : 0;
}

static unsigned int query(const std::vector<std::wstring>& words, std::wstring& reply)
{
    std::wstring item = words.size() > 2 ? words[2] : L"";
    if (words[0] == L"capability" && item == L"device" && words.size() > 3 && words[3] == L"type")
        reply = mciDevice.type;
    else if (words[0] == L"status" && item == L"mode")
        reply = mciDevice.mode;
    else if (words[0] == L"status" && item == L"length")
        reply = std::to_wstring(mciDevice.length);
    else if (words[0] == L"status" && item == L"position")
        reply = std::to_wstring(mciDevice.position);
    else
        return MCIERR_UNRECOGNIZED_COMMAND;
    return 0;
}

static unsigned int control(const std::vector<std::wstring>& words, std::wstring& reply)
{
    const std::wstring& verb = words[0];
    if (verb == L"close")
        closeDevice();
    else if (verb == L"stop")
        mciDevice.mode = L"stopped";
    else if (verb == L"play") {
        mciDevice.mode = L"playing";
        mciDevice.playEnd = words.size() > 3 && words[2] == L"to" ? number(words, 3) : 0;
    } else if (verb == L"pause") {
        if (mciDevice.type != L"sequencer" && mciDevice.mode == L"playing")
            mciDevice.mode = L"paused";
    } else if (verb == L"resume") {
        if (mciDevice.mode == L"paused")
            mciDevice.mode = L"playing";
    } else if (verb == L"seek" && words.size() > 3 && words[2] == L"to") {
        mciDevice.position = words[3] == L"start" ? 0 : number(words, 3);
        mciDevice.mode = L"stopped";
    } else if (verb == L"setaudio") {
        if (mciDevice.type == L"waveaudio" || mciDevice.type == L"sequencer")
            return MCIERR_UNRECOGNIZED_COMMAND;
    } else if (verb == L"status" || verb == L"capability")
        return query(words, reply);
    else if (verb != L"set")
        return MCIERR_UNRECOGNIZED_COMMAND;
    return 0;
}

static unsigned int answer(const std::wstring& command, std::wstring& reply)
{
    for (const auto& scripted : mciDevice.errors) {
        if (command.compare(0, scripted.first.size(), scripted.first) == 0)
            return scripted.second;
    }
    if (command.compare(0, 5, L"open ") == 0)
        return openFile(command);
    std::vector<std::wstring> words;
    std::wistringstream split(command);
    for (std::wstring word; split >> word;)
        words.push_back(word);
    if (words.size() < 2)
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (words[1] == L"all") {
        if (words[0] != L"close" && mciDevice.allRefused)
            return MCIERR_CANNOT_USE_ALL;
        if (!mciDevice.open)
            return words[0] == L"stop" || words[0] == L"close" ? 0 : MCIERR_INVALID_DEVICE_NAME;
    } else if (words[1] != L"sound" || !mciDevice.open) {
        return MCIERR_INVALID_DEVICE_NAME;
    }
    return control(words, reply);
}

void installMciDevice()
{
    mciDevice = MciDevice();
    mciHandler = [](const std::wstring& command, std::wstring& reply, HWND) { return answer(command, reply); };
}

} // namespace fake
