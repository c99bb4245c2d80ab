// Recording fake of base/system_calls.h for the unit tests, with a model of the MCI device.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace fake {

struct MciCall { std::wstring command; HWND notifyWindow; };
struct NotifyCall { DWORD message; NOTIFYICONDATAW data; HICON picture; }; // picture: the shell's copy of data.hIcon
struct MessageBoxCall { std::wstring text, caption; UINT style; DWORD threadId; bool witnessed; };

// The one device "sound": "open \"path\" alias sound" opens it stopped at 0, as a "sequencer" for .mid/.rmi
// (which "pause" leaves playing), "waveaudio" for .wav (both refuse "setaudio"), else "digitalvideo"; a name
// without extension fails. play/pause/resume/stop/seek change the mode, close closes. While closed only
// "stop all" and "close all" succeed. Replies: mode, device type, length and position.
struct MciDevice {
    bool open = false;
    std::wstring type, mode;
    unsigned int position = 0, length = 180000;
    bool allRefused = false; // as Wine: every "all" command but "close all" fails
    std::map<std::wstring, unsigned int> errors; // a command starting with a key fails with its value
};

// Every value below is set anew by reset().
inline MciDevice mci;
inline std::vector<MciCall> mciCalls;
inline std::vector<NotifyCall> notifyCalls;
inline BOOL notifyResult;
inline std::vector<std::wstring> shellOpened; // files and addresses opened, nothing started
inline DWORD tickCount;
inline bool (*boxWitness)(); // asked while each message box shows; its answer is the box's "witnessed"
struct HotKey { HWND window; int id; UINT modifiers, key; };
inline std::vector<HotKey> hotKeys; // held now
inline UINT refusedHotKey;
inline std::vector<std::pair<std::wstring, std::wstring>> shortNames; // long, short
// Errors of the next MoveFileExW and CreateFileW calls, taken off the front (0: the real call); later calls are real.
inline std::vector<DWORD> moveFileErrors, createFileErrors;
inline std::vector<DWORD> sleeps; // Sleep returns at once
// Each file dialog is counted; it answers fileDialogSelection, or a cancel while that is empty.
inline size_t fileDialogCount;
inline std::wstring fileDialogSelection;
// Each tray menu is counted; the item id chosen in it arrives as the real menu sends it (0: none).
inline size_t menuCount;
inline UINT menuChoice;
// Shell_NotifyIconGetRect's answer: E_NOTIMPL, as Wine gives, unless a test says otherwise.
inline HRESULT iconRectResult;
inline RECT iconRect;

void reset();
// Sets each value to its value-initialised state (zero, empty).
template <typename... Values> void clear(Values&... values) { std::tie(values...) = std::tuple<Values...>(); }
std::vector<MessageBoxCall> messageBoxes(); // they may come from other threads
std::vector<std::wstring> mciCommands();

} // namespace fake
