#include "settings/settings.h"

#include <limits.h>
#include <windows.h>

#include "base/report.h"
#include "base/player_globals.h"
#include "base/wide_text.h"

int repeat;
int shuffle;
int balloonOnOpen;
int sortOnOpen;
int sortByFullPath;
int sortLoadedPlaylist;
int volume = 1000;

wchar_t programDirectory[TEXT_BUFFER_UNITS];
wchar_t settingsFilePath[TEXT_BUFFER_UNITS];
wchar_t currentPlaylistFilePath[TEXT_BUFFER_UNITS];

static const wchar_t optionSection[] = L"OPTION";

static bool getProgramDirectory()
{
    wchar_t modulePath[MAX_PATH + 1];
    DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return false;
    const wchar_t* name = fileNamePart(modulePath);
    modulePath[name - modulePath] = L'\0';
    copyText(programDirectory, TEXT_BUFFER_UNITS, modulePath);
    return true;
}

// One row per key, in the order of the file. A value read outside lowest..highest becomes the
// fallback; only the message display style has such a range.
struct SettingKey {
    const wchar_t* key;
    int* value;
    int fallback;
    int lowest;
    int highest;
};

static const SettingKey settingKeys[] = {
    {L"REPEAT", &repeat, 0, INT_MIN, INT_MAX},
    {L"SHUFFLE", &shuffle, 0, INT_MIN, INT_MAX},
    {L"BALLOON", &balloonOnOpen, 0, INT_MIN, INT_MAX},
    {L"MSG_DISPLAY_TYPE", &messageDisplayType, 0, 0, 2},
    {L"SORT", &sortOnOpen, 0, INT_MIN, INT_MAX},
    {L"FULL_PATH", &sortByFullPath, 0, INT_MIN, INT_MAX},
    {L"SORT_LIST", &sortLoadedPlaylist, 0, INT_MIN, INT_MAX},
    {L"VOLUME", &volume, 1000, INT_MIN, INT_MAX},
};

void loadSettings()
{
    getProgramDirectory();
    wchar_t userName[TEXT_BUFFER_UNITS] = L"";
    DWORD userNameLength = TEXT_BUFFER_UNITS;
    GetUserNameW(userName, &userNameLength);
    formatText(settingsFilePath, TEXT_BUFFER_UNITS, L"%ls%ls %ls.ini", programDirectory, userName, programTitle);
    formatText(currentPlaylistFilePath, TEXT_BUFFER_UNITS, L"%ls%ls playlist.tsv", programDirectory, userName);
    readSettings();
}

void readSettings()
{
    for (const SettingKey& setting : settingKeys) {
        int value =
            static_cast<int>(GetPrivateProfileIntW(optionSection, setting.key, setting.fallback, settingsFilePath));
        *setting.value = value < setting.lowest || value > setting.highest ? setting.fallback : value;
    }
}

static BOOL writeSetting(const SettingKey& setting)
{
    wchar_t text[TEXT_BUFFER_UNITS];
    formatText(text, TEXT_BUFFER_UNITS, L"%d", *setting.value);
    return WritePrivateProfileStringW(optionSection, setting.key, text, settingsFilePath);
}

// A file that takes the first key takes the others: only that write is checked, and a failure
// stops the save with one report.
void saveSettings()
{
    if (!writeSetting(settingKeys[0])) {
        wchar_t message[TEXT_BUFFER_UNITS];
        formatText(message, TEXT_BUFFER_UNITS, L"設定ファイルの書き込みに失敗しました。\n\n%ls", settingsFilePath);
        reportMessage(nullptr, message, L"エラー");
        return;
    }
    for (size_t i = 1; i < sizeof settingKeys / sizeof settingKeys[0]; ++i)
        writeSetting(settingKeys[i]);
}
