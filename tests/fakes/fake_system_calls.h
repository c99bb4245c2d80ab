// Recording fake of the player's system seam (app/system_calls.h) for the unit tests.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
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
