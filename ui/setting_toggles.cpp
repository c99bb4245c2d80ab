#include "ui/setting_toggles.h"

#include "resources/resource.h"
#include "settings/settings.h"

static const SettingToggle settingToggles[] = {
    {IDM_SORT_ON_OPEN, L"複数のファイルを開いた時はソート(&S)", &sortOnOpen},
    {IDM_SORT_BY_FULL_PATH, L"ソートの基準をファイル名ではなくフルパスにする(&K)", &sortByFullPath},
    {IDM_SORT_LOADED_PLAYLIST, L"プレイリストを開いた時はソート(&P)", &sortLoadedPlaylist},
    {IDM_REPEAT, L"繰り返す(&R)", &repeat},
    {IDM_SHUFFLE, L"シャッフル(&U)", &shuffle},
    {IDM_BALLOON_ON_OPEN, L"曲オープン時バルーン(&B)", &balloonOnOpen},
};

const SettingToggle* findSettingToggle(unsigned int id)
{
    for (const SettingToggle& toggle : settingToggles) {
        if (toggle.id == id)
            return &toggle;
    }
    return nullptr;
}
