// Recording fake of the player's system seam (base/system_calls.h) for the unit tests.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct MciCall {
    std::wstring command;
    HWND notifyWindow;
};

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAW data; // a copy of the whole record as handed over
};

struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT style;
    DWORD threadId;
};

// Answers one MCI command: returns the MCI error and may fill reply. The default answers 0
// with an empty reply.
using MciHandler = std::function<unsigned int(const std::wstring& command, std::wstring& reply, HWND notifyWindow)>;

extern std::vector<MciCall> mciCalls;
extern MciHandler mciHandler;

extern std::vector<NotifyCall> notifyCalls;
extern BOOL notifyResult;

// When set, message boxes are real (and the caller's thread blocks until one is closed).
extern bool realMessageBoxes;

extern DWORD tickCount;

struct HotKey {
    HWND window;
    int id;
    UINT modifiers;
    UINT key;
};

// The hot keys held now: registered and not unregistered since.
extern std::vector<HotKey> hotKeys;
// A key whose registration fails, as when another program holds it; 0: none.
extern UINT refusedHotKey;

// Short names by long name; a name not listed has none (GetShortPathNameW answers 0).
extern std::vector<std::pair<std::wstring, std::wstring>> shortNames;

// Errors of the next MoveFileExW calls, in order (0 lets a call through to the real one);
// calls past the list are real. Each call's source and target are recorded.
extern std::vector<DWORD> moveFileErrors;
extern std::vector<std::wstring> moveFileCalls;
// Milliseconds of each Sleep, which returns at once.
extern std::vector<DWORD> sleeps;

// The common file dialogs: each opening's title is recorded; the answer is fileDialogSelection
// (with its terminators), or a cancel while it is empty.
extern std::vector<std::wstring> fileDialogTitles;
extern std::wstring fileDialogSelection;

// Clears every record and restores the defaults above.
void reset();

// Thread-safe copies of the message boxes shown so far (they may come from worker threads).
std::vector<MessageBoxCall> messageBoxes();
// Waits up to timeoutMs for at least count message boxes; returns what was recorded.
std::vector<MessageBoxCall> waitForMessageBoxes(size_t count, DWORD timeoutMs = 5000);

// Only the commands, in order.
std::vector<std::wstring> mciCommands();

} // namespace fake
