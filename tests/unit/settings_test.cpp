#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

using SettingsFile = support::FolderTest;

std::vector<int> allSettings()
{
    return {repeat, shuffle, balloonOnOpen, messageDisplayType, sortOnOpen, sortByFullPath, sortLoadedPlaylist, volume};
}

TEST_F(SettingsFile, FirstSaveWritesEveryKeyInOrderAndEachValueComesBack)
{
    readSettings();
    saveSettings();
    EXPECT_EQ(support::readFileBytes(settingsFilePath),
              "[OPTION]\r\nREPEAT=0\r\nSHUFFLE=0\r\nBALLOON=0\r\nMSG_DISPLAY_TYPE=0\r\nSORT=0\r\n"
              "FULL_PATH=0\r\nSORT_LIST=0\r\nVOLUME=1000\r\n");
    repeat = 3, shuffle = 4, balloonOnOpen = 5, messageDisplayType = 2, sortOnOpen = 6, sortByFullPath = 7;
    sortLoadedPlaylist = 8, volume = 250;
    const std::vector<int> saved = allSettings();
    saveSettings();
    support::resetPlayerState();
    readSettings();
    EXPECT_EQ(saved, allSettings());
    EXPECT_TRUE(fake::messageBoxes().empty());
}

// As the profile reader sees them: a missing key gives its default, a display type out of range 0.
TEST_F(SettingsFile, ValuesAreReadAsTheProfileReaderSeesThem)
{
    const struct { const char* line; int* setting; int expected; } cases[] = {
        {"", &volume, 1000},                     {"MSG_DISPLAY_TYPE=3", &messageDisplayType, 0},
        {"MSG_DISPLAY_TYPE=-1", &messageDisplayType, 0}, {"MSG_DISPLAY_TYPE=2", &messageDisplayType, 2},
        {"VOLUME=5000", &volume, 5000},          {"VOLUME=0", &volume, 0},
        {"REPEAT=1", &repeat, 1},                {"SHUFFLE=12abc", &shuffle, 12},
        {"BALLOON=abc", &balloonOnOpen, 0},      {"SORT=1", &sortOnOpen, 1},
        {"FULL_PATH=1", &sortByFullPath, 1},     {"SORT_LIST=1", &sortLoadedPlaylist, 1},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        *c.setting = 9;
        support::writeFileBytes(settingsFilePath, std::string("[OPTION]\r\n") + c.line + "\r\n");
        readSettings();
        EXPECT_EQ(c.expected, *c.setting) << c.line;
    }
}

TEST_F(SettingsFile, UnwritableFileGivesExactlyOneReport)
{
    // Tests run as root, where read-only folders do not stop a write: a folder in the file's
    // place does.
    CreateDirectoryW(settingsFilePath, nullptr);
    saveSettings();
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(1);
    Sleep(100);
    boxes = fake::messageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"設定ファイルの書き込みに失敗しました。\n\n" + std::wstring(settingsFilePath), boxes[0].text);
    EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
}

} // namespace
