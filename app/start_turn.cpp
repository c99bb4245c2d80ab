#include "app/start_turn.h"

#include "base/player_globals.h"
#include "base/wide_text.h"
#include "playlist/start_grouping.h"
#include "settings/settings.h"

HANDLE startTurn;

static const DWORD turnWaitMilliseconds = 10000;

// Object names hold no backslash after "Local\" and only MAX_PATH units: the settings file's
// path, which names the program folder and the user, goes in as a hash. The folder's case does
// not matter to the file system, so not here either.
static unsigned long long hashOfFolderAndUser()
{
    wchar_t text[TEXT_BUFFER_UNITS];
    copyText(text, TEXT_BUFFER_UNITS, settingsFilePath);
    CharUpperW(text);
    unsigned long long hash = 14695981039346656037ULL;
    for (const wchar_t* c = text; *c; ++c)
        hash = (hash ^ static_cast<unsigned short>(*c)) * 1099511628211ULL;
    return hash;
}

static void objectName(wchar_t* name, const wchar_t* what, unsigned long long hash)
{
    formatText(name, MAX_PATH, L"Local\\%ls %ls %08lx%08lx", programTitle, what, static_cast<unsigned long>(hash >> 32),
               static_cast<unsigned long>(hash & 0xFFFFFFFF));
}

// The marker lives as long as some start or the running player keeps it open: the player holds
// it for its whole life, so the starts that come while it runs all see the same one.
static void openStartMarker(unsigned long long hash)
{
    wchar_t name[MAX_PATH];
    objectName(name, L"marker", hash);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(StartMarker), name);
    if (!mapping)
        return;
    startMarker = static_cast<StartMarker*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(StartMarker)));
}

HANDLE takeStartTurn()
{
    unsigned long long hash = hashOfFolderAndUser();
    wchar_t name[MAX_PATH];
    objectName(name, L"start", hash);
    HANDLE turn = CreateMutexW(nullptr, FALSE, name);
    if (!turn)
        return nullptr;
    // An abandoned turn (a start that crashed) is a turn all the same.
    DWORD waited = WaitForSingleObject(turn, turnWaitMilliseconds);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(turn);
        return nullptr;
    }
    openStartMarker(hash);
    return turn;
}

void endStartTurn(HANDLE* turn)
{
    if (!*turn)
        return;
    ReleaseMutex(*turn);
    CloseHandle(*turn);
    *turn = nullptr;
}
