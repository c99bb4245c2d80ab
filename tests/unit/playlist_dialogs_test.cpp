#include <gtest/gtest.h>

#include <string>

#include "playlist/playlist_dialogs.h"

namespace {

// Parts may be longer than any fixed split buffer; a name without room for ".tsv" is not cut into another.
TEST(PlaylistFileName, NameWithoutExtensionGetsTsvAndEveryOtherNameStaysAsTyped)
{
    const std::wstring longFolder = L"C:\\" + std::wstring(400, L'd') + L".x\\";
    const std::pair<std::wstring, bool> cases[] = {
        {L"C:\\lists\\mylist", true},       {L"C:\\lists\\mylist.vpl", false}, {L"C:\\lists\\my.list", false},
        {L"C:\\my.lists\\mylist", true},    {L"C:mylist", true},               {L"C:\\lists\\mylist.", false},
        {longFolder + L"mylist", true},     {L"C:\\" + std::wstring(1016, L'n'), true},
        {L"C:\\" + std::wstring(1017, L'n'), false},
    };
    for (const auto& c : cases) {
        wchar_t path[1025];
        path[1024] = L'#';
        completePlaylistFileName(wcscpy(path, c.first.c_str()));
        EXPECT_EQ(c.first + (c.second ? L".tsv" : L""), path) << c.first.size();
        EXPECT_EQ(L'#', path[1024]) << "overrun at " << c.first.size();
    }
}

} // namespace
