#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "playback/mci_device.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"
#include "ui/tray_menu.h"

namespace {

using Lines = std::vector<std::wstring>;

// One line per item: "text #id" plus " checked", " radio", " grayed"; "text >" for a popup,
// "---" for a separator. Popups carry no state of their own.
std::wstring describeItem(HMENU menu, int index, HMENU* submenu)
{
    wchar_t text[1100] = L"";
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = 1100;
    if (!GetMenuItemInfoW(menu, index, TRUE, &item))
        return L"<unreadable>";
    *submenu = item.hSubMenu;
    if (item.fType & MFT_SEPARATOR)
        return L"---";
    std::wstring line = text;
    if (item.hSubMenu) {
        EXPECT_EQ(0u, item.fState & (MFS_CHECKED | MFS_GRAYED)) << line;
        return line + L" >";
    }
    line += L" #" + std::to_wstring(item.wID);
    if (item.fState & MFS_CHECKED)
        line += (item.fType & MFT_RADIOCHECK) ? L" radio" : L" checked";
    if (item.fState & MFS_GRAYED)
        line += L" grayed";
    return line;
}

Lines readMenu(HMENU menu)
{
    Lines lines;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = nullptr;
        lines.push_back(describeItem(menu, i, &submenu));
    }
    return lines;
}

// The submenu of the item whose text starts with text.
HMENU submenuOf(HMENU menu, const std::wstring& text)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = nullptr;
        if (describeItem(menu, i, &submenu).rfind(text, 0) == 0 && submenu)
            return submenu;
    }
    ADD_FAILURE() << "no popup " << std::string(text.begin(), text.end());
    return nullptr;
}

// The device answers queries from a table of replies; a missing one fails as with nothing open.
void answerMci(const std::map<std::wstring, std::wstring>& replies)
{
    fake::mciHandler = [replies](const std::wstring& command, std::wstring& reply, HWND) -> unsigned int {
        auto found = replies.find(command);
        if (found == replies.end())
            return 263; // MCIERR_INVALID_DEVICE_NAME
        reply = found->second;
        return 0;
    };
}

void setShuffleOrder(const std::vector<int>& indices)
{
    HeapFree(GetProcessHeap(), 0, shuffleOrder);
    shuffleOrder = static_cast<PlaylistEntry**>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (indices.size() + 1) * sizeof(PlaylistEntry*)));
    for (size_t i = 0; i < indices.size(); ++i)
        shuffleOrder[i] = &playlist[indices[i]];
    shuffleOrder[indices.size()] = &playlist[indices.size()];
}

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        support::resetPlayerState();
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
    }
    void TearDown() override
    {
        if (menu)
            DestroyMenu(menu);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer");
        support::resetPlayerState();
    }

    Lines build()
    {
        if (menu)
            DestroyMenu(menu);
        menu = buildTrayMenu();
        return readMenu(menu);
    }
    Lines select()
    {
        if (menu)
            DestroyMenu(menu);
        menu = buildSelectSubmenu();
        return readMenu(menu);
    }

    HMENU menu = nullptr;
};

TEST_F(TrayMenu, LayoutWithEverySettingOffAndNothingOpen)
{
    Lines top = build();
    EXPECT_EQ((Lines{L"ファイル(&F) >", L"---", L"再生(&P) #1008", L"停止(&S) #1010", L"前へ(&M) #1011",
                     L"次へ(&N) #1012", L"先頭へ(&T) #1013", L"選択(&E) >", L"---", L"音量(&V) #1016",
                     L"シーク(&C) #1023", L"---", L"設定(&O) >", L"ヘルプ(&H) >", L"終了(&X) #1001"}),
              top);
    EXPECT_EQ((Lines{L"ファイルを開く(&O) #1004", L"フォルダーを開く(&F) #1005", L"複数のファイルを開いた時はソート(&S) #1017",
                     L"ソートの基準をファイル名ではなくフルパスにする(&K) #1024", L"---", L"プレイリストを開く(&L) #1006",
                     L"プレイリストを開いた時はソート(&P) #1025", L"---", L"プレイリストファイルに書き出す(&A) #1007"}),
              readMenu(submenuOf(menu, L"ファイル(&F)")));
    HMENU settings = submenuOf(menu, L"設定(&O)");
    EXPECT_EQ((Lines{L"繰り返す(&R) #1014", L"シャッフル(&U) #1015", L"曲オープン時バルーン(&B) #1018",
                     L"メッセージ表示形式(&M) >", L"自動再生ソフト登録(&J) #1022"}),
              readMenu(settings));
    EXPECT_EQ((Lines{L"メッセージボックス(&M) #1019 radio", L"バルーン(&B) #1020", L"非表示(&H) #1021"}),
              readMenu(submenuOf(settings, L"メッセージ表示形式(&M)")));
    EXPECT_EQ((Lines{L"Readme.txt(&H) #1002", L"---", L"バージョン情報(&A) #1003"}),
              readMenu(submenuOf(menu, L"ヘルプ(&H)")));
    EXPECT_TRUE(readMenu(submenuOf(menu, L"選択(&E)")).empty());
}

TEST_F(TrayMenu, SettingsShowAsCheckMarks)
{
    repeat = shuffle = balloonOnOpen = sortOnOpen = sortByFullPath = sortLoadedPlaylist = 1;
    build();
    EXPECT_EQ((Lines{L"ファイルを開く(&O) #1004", L"フォルダーを開く(&F) #1005",
                     L"複数のファイルを開いた時はソート(&S) #1017 checked",
                     L"ソートの基準をファイル名ではなくフルパスにする(&K) #1024 checked", L"---",
                     L"プレイリストを開く(&L) #1006", L"プレイリストを開いた時はソート(&P) #1025 checked", L"---",
                     L"プレイリストファイルに書き出す(&A) #1007"}),
              readMenu(submenuOf(menu, L"ファイル(&F)")));
    EXPECT_EQ((Lines{L"繰り返す(&R) #1014 checked", L"シャッフル(&U) #1015 checked",
                     L"曲オープン時バルーン(&B) #1018 checked", L"メッセージ表示形式(&M) >",
                     L"自動再生ソフト登録(&J) #1022"}),
              readMenu(submenuOf(menu, L"設定(&O)")));
}

TEST_F(TrayMenu, MessageDisplayTypeCarriesTheRadioBullet)
{
    const struct {
        int type;
        Lines items;
    } cases[] = {
        {0, {L"メッセージボックス(&M) #1019 radio", L"バルーン(&B) #1020", L"非表示(&H) #1021"}},
        {1, {L"メッセージボックス(&M) #1019", L"バルーン(&B) #1020 radio", L"非表示(&H) #1021"}},
        {2, {L"メッセージボックス(&M) #1019", L"バルーン(&B) #1020", L"非表示(&H) #1021 radio"}},
        {3, {L"メッセージボックス(&M) #1019", L"バルーン(&B) #1020", L"非表示(&H) #1021"}},
        {-1, {L"メッセージボックス(&M) #1019", L"バルーン(&B) #1020", L"非表示(&H) #1021"}},
    };
    for (const auto& c : cases) {
        messageDisplayType = c.type;
        build();
        EXPECT_EQ(c.items, readMenu(submenuOf(submenuOf(menu, L"設定(&O)"), L"メッセージ表示形式(&M)")))
            << "type " << c.type;
    }
}

TEST_F(TrayMenu, AutoplayItemIsCheckedWhileTheClassKeyExists)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, L"VelmorisPlayer", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
    build();
    EXPECT_EQ(L"自動再生ソフト登録(&J) #1022 checked", readMenu(submenuOf(menu, L"設定(&O)")).back());

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VelmorisPlayer"));
    build();
    EXPECT_EQ(L"自動再生ソフト登録(&J) #1022", readMenu(submenuOf(menu, L"設定(&O)")).back());
}

TEST_F(TrayMenu, PlayPauseAndStopFollowTheDevice)
{
    const struct {
        const char* what;
        int playing;
        std::map<std::wstring, std::wstring> replies;
        Lines items; // from the third item to "前へ(&M)"
    } cases[] = {
        {"playing MIDI", 1,
         {{L"capability sound device type", L"sequencer"}, {L"status sound mode", L"playing"}},
         {L"一時停止(&P) #1009 grayed", L"停止(&S) #1010", L"前へ(&M) #1011"}},
        {"playing wave", 1,
         {{L"capability sound device type", L"waveaudio"}, {L"status sound mode", L"playing"}},
         {L"一時停止(&P) #1009", L"停止(&S) #1010", L"前へ(&M) #1011"}},
        {"paused", 0, {{L"status sound mode", L"paused"}}, {L"再生(&P) #1008", L"停止(&S) #1010", L"前へ(&M) #1011"}},
        {"stopped", 0, {{L"status sound mode", L"stopped"}}, {L"再生(&P) #1008", L"前へ(&M) #1011"}},
        {"seeking", 0, {{L"status sound mode", L"seeking"}}, {L"再生(&P) #1008", L"前へ(&M) #1011"}},
        {"nothing open", 0, {}, {L"再生(&P) #1008", L"停止(&S) #1010", L"前へ(&M) #1011"}},
        {"playing, queries failing", 1, {}, {L"一時停止(&P) #1009", L"停止(&S) #1010", L"前へ(&M) #1011"}},
    };
    for (const auto& c : cases) {
        isPlaying = c.playing;
        answerMci(c.replies);
        fake::mciCalls.clear();
        Lines top = build();
        EXPECT_EQ(c.items, Lines(top.begin() + 2, top.begin() + 2 + static_cast<long>(c.items.size()))) << c.what;
        Lines expectedQueries = {L"status sound mode"};
        if (c.playing)
            expectedQueries.insert(expectedQueries.begin(), L"capability sound device type");
        EXPECT_EQ(expectedQueries, fake::mciCommands()) << c.what;
    }
}

TEST_F(TrayMenu, SelectionOfAnEmptyPlaylistIsEmpty)
{
    EXPECT_TRUE(select().empty());
}

TEST_F(TrayMenu, SelectionListsThePlayOrderWithTheCurrentPositionMarked)
{
    support::setPlaylist({L"C:\\Music\\a.mp3", L"C:\\Music\\b.wav", L"D:\\Other\\c"});
    currentPosition = 1;
    EXPECT_EQ((Lines{L"a.mp3 #2000", L"b.wav #2001 radio", L"c #2002"}), select());

    shuffle = 1;
    setShuffleOrder({2, 0, 1});
    currentPosition = 0;
    EXPECT_EQ((Lines{L"c #2000 radio", L"a.mp3 #2001", L"b.wav #2002"}), select());
}

TEST_F(TrayMenu, SelectionShowsOnlyFileNames)
{
    support::setPlaylist({L"C:\\One\\same.mp3", L"\\\\host\\share\\Two\\same.mp3", L"E:song.v1.ogg",
                          L"C:\\dir.x\\name", L"Z:/music/R&B.mp3"});
    currentPosition = 4;
    EXPECT_EQ((Lines{L"same.mp3 #2000", L"same.mp3 #2001", L"song.v1.ogg #2002", L"name #2003",
                     L"R&B.mp3 #2004 radio"}),
              select());
}

TEST_F(TrayMenu, ShuffleWithoutAnOrderRepeatsTheFirstEntry)
{
    support::setPlaylist({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    shuffle = 1;
    EXPECT_EQ((Lines{L"a.mp3 #2000 radio", L"a.mp3 #2001", L"a.mp3 #2002"}), select());
}

TEST_F(TrayMenu, OverlongNameAndExtensionAreCut)
{
    std::wstring name(300, L'n');
    std::wstring extension = L"." + std::wstring(299, L'e');
    support::setPlaylist({L"C:\\x\\" + name + extension, L"C:\\x\\" + std::wstring(256, L'k') + L".mp3"});
    Lines items = select();
    ASSERT_EQ(2u, items.size());
    std::wstring expected = std::wstring(255, L'n') + L"\u2026" + L"." + std::wstring(254, L'e') + L"\u2026";
    EXPECT_EQ(expected + L" #2000 radio", items[0]);
    EXPECT_EQ(std::wstring(256, L'k') + L".mp3 #2001", items[1]);
}

// A menu of the full length takes minutes to build under Wine; the bound is checked on its own.
TEST(TraySelection, ListEndsAtTheLastSixteenBitId)
{
    const int listable = IDM_SELECT_LAST - IDM_SELECT_FIRST + 1;
    const int cases[][2] = {{0, 0}, {3, 3}, {listable - 1, listable - 1}, {listable, listable},
                            {listable + 1, listable}, {1000000, listable}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], selectionLength(c[0])) << c[0];
    EXPECT_EQ(65535, IDM_SELECT_FIRST + selectionLength(1000000) - 1);
}

} // namespace
