#include "settings/settings.h"

#include <windows.h>

#include "app/report.h"
#include "app/wide_text.h"

int repeat;
int shuffle;
int balloonOnOpen;
int messageDisplayType;
int sortOnOpen;
int sortByFullPath;
int sortLoadedPlaylist;
int volume = 1000;

wchar_t programDirectory[1024];
wchar_t settingsFilePath[1024];
wchar_t currentPlaylistFilePath[1024];

static const wchar_t optionSection[] = L"OPTION";

bool getProgramDirectory()
{
    wchar_t modulePath[MAX_PATH + 1];
    DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return false;
    const wchar_t* name = fileNamePart(modulePath);
    modulePath[name - modulePath] = L'\0';
    copyText(programDirectory, 1024, modulePath);
    return true;
}

static int readSetting(const wchar_t* key, int fallback)
{
    return static_cast<int>(GetPrivateProfileIntW(optionSection, key, fallback, settingsFilePath));
}

void loadSettings()
{
    getProgramDirectory();
    wchar_t userName[1024] = L"";
    DWORD userNameLength = 1024;
    GetUserNameW(userName, &userNameLength);
    formatText(settingsFilePath, 1024, L"%ls%ls Velmoris Player.ini", programDirectory, userName);
    formatText(currentPlaylistFilePath, 1024, L"%ls%ls playlist.tsv", programDirectory, userName);
    readSettings();
}

void readSettings()
{
    repeat = readSetting(L"REPEAT", 0);
    shuffle = readSetting(L"SHUFFLE", 0);
    balloonOnOpen = readSetting(L"BALLOON", 0);
    messageDisplayType = readSetting(L"MSG_DISPLAY_TYPE", 0);
    if (messageDisplayType < 0 || messageDisplayType > 2)
        messageDisplayType = 0;
    sortOnOpen = readSetting(L"SORT", 0);
    sortByFullPath = readSetting(L"FULL_PATH", 0);
    sortLoadedPlaylist = readSetting(L"SORT_LIST", 0);
    volume = readSetting(L"VOLUME", 1000);
}

static BOOL writeSetting(const wchar_t* key, int value)
{
    wchar_t text[1024];
    formatText(text, 1024, L"%d", value);
    return WritePrivateProfileStringW(optionSection, key, text, settingsFilePath);
}

void saveSettings()
{
    if (!writeSetting(L"REPEAT", repeat)) {
        wchar_t message[1024];
        formatText(message, 1024, L"設定ファイルの書き込みに失敗しました。\n\n%ls", settingsFilePath);
        reportMessage(nullptr, message, L"エラー");
        return;
    }
    writeSetting(L"SHUFFLE", shuffle);
    writeSetting(L"BALLOON", balloonOnOpen);
    writeSetting(L"MSG_DISPLAY_TYPE", messageDisplayType);
    writeSetting(L"SORT", sortOnOpen);
    writeSetting(L"FULL_PATH", sortByFullPath);
    writeSetting(L"SORT_LIST", sortLoadedPlaylist);
    writeSetting(L"VOLUME", volume);
}
