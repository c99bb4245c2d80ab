#include "playlist/start_grouping.h"

#include <windows.h>

#include "settings/settings.h"

StartMarker* startMarker;

bool joinsPreviousStart(StartKind kind, const StartMarker& previous, unsigned long long startedAt,
                        unsigned long long fileWriteTime)
{
    return kind == START_AUDIO_FILES && previous.kind == START_AUDIO_FILES && previous.fileWriteTime != 0 &&
           previous.fileWriteTime == fileWriteTime && startedAt <= previous.writtenAt + startGroupingWindow;
}

static unsigned long long asNumber(FILETIME time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

static unsigned long long currentFileWriteTime()
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(currentPlaylistFilePath, GetFileExInfoStandard, &attributes))
        return 0;
    return asNumber(attributes.ftLastWriteTime);
}

// A start waiting for its turn began when the shell launched it, not when its turn came.
static unsigned long long processStartTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return ~0ULL;
    return asNumber(created);
}

bool joinsPreviousStartNow(StartKind kind)
{
    return startMarker && joinsPreviousStart(kind, *startMarker, processStartTime(), currentFileWriteTime());
}

void rememberStartWrite(StartKind kind)
{
    if (!startMarker)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    startMarker->writtenAt = asNumber(now);
    startMarker->fileWriteTime = currentFileWriteTime();
    startMarker->kind = kind;
}
