#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

class SettingsFile : public support::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        path = settingsFilePath;
    }

    void writeIni(const std::string& text) { support::writeFileBytes(path, text); }

    std::wstring path;
};

TEST_F(SettingsFile, FirstSaveWithDefaultsWritesEveryKeyInOrder)
{
    readSettings();
    saveSettings();
    EXPECT_EQ(support::readFileBytes(path),
              "[OPTION]\r\nREPEAT=0\r\nSHUFFLE=0\r\nBALLOON=0\r\nMSG_DISPLAY_TYPE=0\r\nSORT=0\r\n"
              "FULL_PATH=0\r\nSORT_LIST=0\r\nVOLUME=1000\r\n");
    EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(SettingsFile, MissingFileGivesTheDefaults)
{
    repeat = shuffle = balloonOnOpen = sortOnOpen = sortByFullPath = sortLoadedPlaylist = 1;
    messageDisplayType = 2;
    volume = 5;
    readSettings();
    EXPECT_EQ(0, repeat + shuffle + balloonOnOpen + sortOnOpen + sortByFullPath + sortLoadedPlaylist);
    EXPECT_EQ(0, messageDisplayType);
    EXPECT_EQ(1000, volume);
}

struct ReadCase {
    const char* line;
    int* setting;
    int expected;
};

TEST_F(SettingsFile, ValuesAreReadAsTheProfileReaderSeesThem)
{
    const ReadCase cases[] = {
        {"MSG_DISPLAY_TYPE=7", &messageDisplayType, 0},
        {"MSG_DISPLAY_TYPE=-1", &messageDisplayType, 0},
        {"MSG_DISPLAY_TYPE=2", &messageDisplayType, 2},
        {"MSG_DISPLAY_TYPE=1", &messageDisplayType, 1},
        {"VOLUME=5000", &volume, 5000},
        {"VOLUME=0", &volume, 0},
        {"REPEAT=1", &repeat, 1},
        {"SHUFFLE=12abc", &shuffle, 12},
        {"BALLOON=abc", &balloonOnOpen, 0},
        {"SORT=1", &sortOnOpen, 1},
        {"FULL_PATH=1", &sortByFullPath, 1},
        {"SORT_LIST=1", &sortLoadedPlaylist, 1},
    };
    for (const ReadCase& c : cases) {
        writeIni(std::string("[OPTION]\r\n") + c.line + "\r\n");
        readSettings();
        EXPECT_EQ(c.expected, *c.setting) << c.line;
    }
}

TEST_F(SettingsFile, OutOfRangeDisplayTypeIsWrittenBackAsZeroAndVolumeKept)
{
    writeIni("[OPTION]\r\nMSG_DISPLAY_TYPE=7\r\nVOLUME=5000\r\n");
    readSettings();
    saveSettings();
    std::string text = support::readFileBytes(path);
    EXPECT_NE(std::string::npos, text.find("MSG_DISPLAY_TYPE=0\r\n"));
    EXPECT_NE(std::string::npos, text.find("VOLUME=5000\r\n"));
}

TEST_F(SettingsFile, ChangedSettingsSurviveASaveAndReload)
{
    repeat = 1;
    sortByFullPath = 1;
    messageDisplayType = 2;
    volume = 250;
    saveSettings();
    repeat = sortByFullPath = messageDisplayType = 0;
    volume = 1000;
    readSettings();
    EXPECT_EQ(1, repeat);
    EXPECT_EQ(1, sortByFullPath);
    EXPECT_EQ(2, messageDisplayType);
    EXPECT_EQ(250, volume);
}

TEST_F(SettingsFile, UnwritableFileGivesExactlyOneReport)
{
    // Tests run as root, where read-only folders do not stop a write: a folder in the file's
    // place does.
    CreateDirectoryW(path.c_str(), nullptr);
    saveSettings();
    std::vector<fake::MessageBoxCall> boxes = fake::waitForMessageBoxes(1);
    Sleep(100);
    boxes = fake::messageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"設定ファイルの書き込みに失敗しました。\n\n" + path, boxes[0].text);
    EXPECT_EQ(L"エラー - Velmoris Player", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes[0].style);
}

TEST(SettingsPaths, FileNamesAreFormedFromProgramFolderAndLogonName)
{
    loadSettings();
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expectedFolder(module);
    expectedFolder.erase(expectedFolder.find_last_of(L'\\') + 1);
    wchar_t user[256];
    DWORD userLength = 256;
    GetUserNameW(user, &userLength);

    EXPECT_EQ(expectedFolder, programDirectory);
    EXPECT_EQ(expectedFolder + user + L" Velmoris Player.ini", settingsFilePath);
    EXPECT_EQ(expectedFolder + user + L" playlist.tsv", currentPlaylistFilePath);
    support::resetPlayerState();
}

} // namespace
