#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"

namespace {

int compareTexts(const std::wstring& a, const std::wstring& b)
{
    static PlaylistEntry left, right;
    wcscpy(left.path, a.c_str());
    wcscpy(right.path, b.c_str());
    return compareEntries(&left, &right);
}

// By code unit of the file name, or of the full path; order -1: first sorts first, 0: equal.
TEST(CompareEntries, OrdersByCodeUnit)
{
    const std::wstring name = L"C:\\m\\" + std::wstring(900, L'n'), extension = L"C:\\m\\x." + std::wstring(900, L'e');
    const struct { int fullPath; std::wstring first, second; int order; } cases[] = {
        {0, L"D:\\z\\B.mp3", L"C:\\a\\a.mp3", -1},          // upper case before lower case
        {0, L"C:\\x\\Z.mp3", L"C:\\x\\a.mp3", -1},
        {0, L"track10.mp3", L"track2.mp3", -1},             // no numeric ordering
        {0, L"C:\\a.mp3", L"C:\\a.mp3.wav", -1},            // a prefix sorts first
        {0, L"\u3042.mp3", L"\u30A2.mp3", -1},              // hiragana before katakana
        {0, L"\u30A2.mp3", L"\u4E00.mp3", -1},              // katakana before CJK ideographs
        {0, L"\u9F8D.mp3", L"\uFF21.mp3", -1},              // ideographs before full-width forms
        {0, L"C:/music/a.mp3", L"C:\\b.mp3", -1},           // forward slashes separate too
        {0, L"C:a.mp3", L"b.mp3", -1},                      // a bare drive is dropped
        {0, L"\\\\server\\share\\A.wav", L"C:\\a.wav", -1},
        {0, L"C:\\one\\song.mp3", L"D:\\two\\song.mp3", 0},
        {0, name + L".mp3", name + L"z.mp3", -1},           // overlong names compare whole
        {0, extension, extension + L"e", -1},
        {0, name + L".mp3", L"D:" + name.substr(2) + L".mp3", 0},
        {1, L"C:\\one\\song.mp3", L"D:\\two\\song.mp3", -1},
        {1, L"C:\\b\\a.mp3", L"C:\\c\\0.mp3", -1},
        {1, L"C:\\Music\\x.mp3", L"C:\\music\\x.mp3", -1},
        {1, L"C:\\z.mp3", L"C:\\z.mp3x", -1},
    };
    for (const auto& c : cases) {
        sortByFullPath = c.fullPath;
        EXPECT_EQ(c.order, compareTexts(c.first, c.second)) << c.first << L" / " << c.second;
        EXPECT_EQ(-c.order, compareTexts(c.second, c.first)) << c.second << L" / " << c.first;
    }
    sortByFullPath = 0;
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
    shuffle = 1;
    EXPECT_EQ(&playlist[0], entryAtPosition(5)) << "an empty list never looks into the order";
    support::setPlaylist({L"a.mp3", L"b.mp3", L"c.mp3"});
    EXPECT_EQ(&playlist[0], entryAtPosition(2)) << "no order built yet: the first entry";
    support::setShuffleOrder({2, 0, 1});
    EXPECT_EQ((std::vector<PlaylistEntry*>{&playlist[2], &playlist[1], &playlist[3]}),
              (std::vector<PlaylistEntry*>{entryAtPosition(0), entryAtPosition(2), entryAtPosition(3)}));
    shuffle = 0;
    EXPECT_EQ(&playlist[1], entryAtPosition(1));
    EXPECT_EQ(3, playlistCount());
    support::resetPlayerState();
}

} // namespace
