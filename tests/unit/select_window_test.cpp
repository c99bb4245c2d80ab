#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"
#include "ui/tray_menu.h"

namespace {

using Lines = std::vector<std::wstring>;

TEST(SelectWindow, ThousandPositionsAroundTheCurrentOneInsideListAndIds)
{
    // count, current position, first, last
    const int cases[][4] = {{0, 0, 0, 0},           {3, 2, 0, 3},           {1000, 999, 0, 1000},
                            {1001, 0, 0, 1000},     {1001, 1000, 1, 1001},  {200000, 0, 0, 1000},
                            {200000, 499, 0, 1000}, {200000, 501, 1, 1001}, {200000, 5000, 4500, 5500},
                            {200000, 63035, 62535, 63535}, {200000, 63535, 62536, 63536},
                            {200000, 150000, 62536, 63536}, {5000, -1, 0, 1000}};
    for (const auto& c : cases) {
        SelectionWindow window = selectionWindow(c[0], c[1]);
        EXPECT_EQ(c[2], window.first) << c[0] << " at " << c[1];
        EXPECT_EQ(c[3], window.last) << c[0] << " at " << c[1];
    }
}

// "label #id" with " radio" or " grayed", for the first two, the marked and the last two items.
Lines summary(HMENU menu)
{
    Lines all;
    std::wstring marked = L"no mark";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        MENUITEMINFOW item = {sizeof(item), MIIM_STRING | MIIM_ID | MIIM_STATE, 0, 0, 0, nullptr, nullptr, nullptr,
                              0, text, 64, nullptr};
        GetMenuItemInfoW(menu, i, TRUE, &item);
        all.push_back(std::wstring(text) + L" #" + std::to_wstring(item.wID) +
                      (item.fState & MFS_CHECKED ? L" radio" : L"") + (item.fState & MFS_GRAYED ? L" grayed" : L""));
        if (item.fState & MFS_CHECKED)
            marked = all.back();
    }
    if (all.size() < 4)
        return all;
    return {std::to_wstring(all.size()), all[0], all[1], marked, all[all.size() - 2], all.back()};
}

TEST(SelectWindow, SubmenuListsTheWindowWithEllipsesForWhatIsLeftOut)
{
    // Labels are "<playlist index>.mp3"; shuffled plays the playlist backwards.
    const struct { int count, shuffled, at; Lines items; } cases[] = {
        {1000, 0, 999, {L"1000", L"0.mp3 #2000", L"1.mp3 #2001", L"999.mp3 #2999 radio", L"998.mp3 #2998",
                        L"999.mp3 #2999 radio"}},
        {64000, 0, 0, {L"1001", L"0.mp3 #2000 radio", L"1.mp3 #2001", L"0.mp3 #2000 radio", L"999.mp3 #2999",
                       L"\u2026 #0 grayed"}},
        {64000, 0, 30000, {L"1002", L"\u2026 #0 grayed", L"29500.mp3 #31500", L"30000.mp3 #32000 radio",
                           L"30499.mp3 #32499", L"\u2026 #0 grayed"}},
        {64000, 1, 30000, {L"1002", L"\u2026 #0 grayed", L"34499.mp3 #31500", L"33999.mp3 #32000 radio",
                           L"33500.mp3 #32499", L"\u2026 #0 grayed"}},
        {64000, 0, 63535, {L"1002", L"\u2026 #0 grayed", L"62536.mp3 #64536", L"63535.mp3 #65535 radio",
                           L"63535.mp3 #65535 radio", L"\u2026 #0 grayed"}},
        {64000, 0, 63999, {L"1002", L"\u2026 #0 grayed", L"62536.mp3 #64536", L"no mark", L"63535.mp3 #65535",
                           L"\u2026 #0 grayed"}},
        {63536, 0, 63535, {L"1001", L"\u2026 #0 grayed", L"62536.mp3 #64536", L"63535.mp3 #65535 radio",
                           L"63534.mp3 #65534", L"63535.mp3 #65535 radio"}},
    };
    for (const auto& c : cases) {
        support::resetPlayerState();
        PlaylistEntry* entries = allocatePlaylistEntries(static_cast<size_t>(c.count) + 1);
        for (int i = 0; i < c.count; ++i)
            swprintf(entries[i].path, 1024, L"C:\\m\\%d.mp3", i);
        replacePlaylist(entries);
        std::vector<int> backwards;
        for (int i = c.shuffled ? c.count - 1 : -1; i >= 0; --i)
            backwards.push_back(i);
        support::setShuffleOrder(backwards);
        shuffle = c.shuffled;
        currentPosition = c.at;
        HMENU menu = buildSelectSubmenu();
        EXPECT_EQ(c.items, summary(menu)) << c.count << " at " << c.at;
        DestroyMenu(menu);
    }
    support::resetPlayerState();
}

} // namespace
