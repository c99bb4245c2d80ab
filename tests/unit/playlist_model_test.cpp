#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"

namespace {

struct OrderCase {
    int fullPath;
    const wchar_t* first;
    const wchar_t* second;
};

int compareTexts(const wchar_t* a, const wchar_t* b)
{
    static PlaylistEntry left, right;
    wcscpy(left.path, a);
    wcscpy(right.path, b);
    return compareEntries(&left, &right);
}

TEST(CompareEntries, OrdersByCodeUnit)
{
    const OrderCase cases[] = {
        {0, L"D:\\z\\B.mp3", L"C:\\a\\a.mp3"},          // upper case before lower case
        {0, L"C:\\x\\Z.mp3", L"C:\\x\\a.mp3"},
        {0, L"track10.mp3", L"track2.mp3"},            // no numeric ordering
        {0, L"C:\\a.mp3", L"C:\\a.mp3.wav"},           // a prefix sorts first
        {0, L"\u3042.mp3", L"\u30A2.mp3"},             // hiragana before katakana
        {0, L"\u30A2.mp3", L"\u4E00.mp3"},             // katakana before CJK ideographs
        {0, L"\u9F8D.mp3", L"\uFF21.mp3"},             // ideographs before full-width forms
        {0, L"C:/music/a.mp3", L"C:\\b.mp3"},          // forward slashes separate too
        {0, L"C:a.mp3", L"b.mp3"},                     // a bare drive is dropped
        {0, L"\\\\server\\share\\A.wav", L"C:\\a.wav"},
        {1, L"C:\\b\\a.mp3", L"C:\\c\\0.mp3"},
        {1, L"C:\\Music\\x.mp3", L"C:\\music\\x.mp3"},
        {1, L"C:\\z.mp3", L"C:\\z.mp3x"},
    };
    for (const OrderCase& c : cases) {
        sortByFullPath = c.fullPath;
        EXPECT_EQ(-1, compareTexts(c.first, c.second)) << c.first << L" / " << c.second;
        EXPECT_EQ(1, compareTexts(c.second, c.first)) << c.second << L" / " << c.first;
    }
    sortByFullPath = 0;
}

TEST(CompareEntries, SameFileNameInDifferentFoldersIsEqualByNameOnly)
{
    sortByFullPath = 0;
    EXPECT_EQ(0, compareTexts(L"C:\\one\\song.mp3", L"D:\\two\\song.mp3"));
    sortByFullPath = 1;
    EXPECT_EQ(-1, compareTexts(L"C:\\one\\song.mp3", L"D:\\two\\song.mp3"));
    sortByFullPath = 0;
}

TEST(CompareEntries, OverlongNamesAndExtensionsCompareWholeWithoutOverrun)
{
    sortByFullPath = 0;
    std::wstring longName = L"C:\\m\\" + std::wstring(900, L'n') + L".mp3";
    std::wstring longExtension = L"C:\\m\\x." + std::wstring(900, L'e');
    std::wstring longerName = L"C:\\m\\" + std::wstring(900, L'n') + L"z.mp3";
    EXPECT_EQ(-1, compareTexts(longName.c_str(), longerName.c_str()));
    EXPECT_EQ(-1, compareTexts(longExtension.c_str(), (longExtension + L"e").c_str()));
    EXPECT_EQ(0, compareTexts(longName.c_str(), (L"D:" + longName.substr(2)).c_str()));
}

TEST(SortPlaylist, SortsOnlyTheCountedEntriesAndKeepsTheTerminator)
{
    support::resetPlayerState();
    support::setPlaylist({L"C:\\b.mp3", L"C:\\c.mp3", L"C:\\a.mp3"});
    sortPlaylist(2);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\b.mp3", L"C:\\c.mp3", L"C:\\a.mp3"}), support::playlistPaths());
    sortPlaylist(3);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"}), support::playlistPaths());
    EXPECT_EQ(3, playlistCount());
    EXPECT_EQ(L'\0', playlist[3].path[0]);
}

TEST(EntryAtPosition, FollowsTheOrderInForce)
{
    support::resetPlayerState();
    EXPECT_EQ(&playlist[0], entryAtPosition(0)) << "empty list gives the terminator";
    shuffle = 1;
    EXPECT_EQ(&playlist[0], entryAtPosition(5)) << "empty list never looks into the order";

    support::setPlaylist({L"a.mp3", L"b.mp3", L"c.mp3"});
    EXPECT_EQ(&playlist[0], entryAtPosition(2)) << "shuffle on with no order yet: first entry";

    PlaylistEntry* order[4] = {&playlist[2], &playlist[0], &playlist[1], &playlist[3]};
    PlaylistEntry** saved = shuffleOrder;
    shuffleOrder = order;
    EXPECT_EQ(&playlist[2], entryAtPosition(0));
    EXPECT_EQ(&playlist[1], entryAtPosition(2));
    EXPECT_EQ(&playlist[3], entryAtPosition(3)) << "the last slot is the terminator";
    shuffleOrder = saved;

    shuffle = 0;
    EXPECT_EQ(&playlist[1], entryAtPosition(1));
    EXPECT_EQ(3, playlistCount());
    support::resetPlayerState();
}

} // namespace
