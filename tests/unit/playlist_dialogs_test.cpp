#include <gtest/gtest.h>

#include <string>

#include "playlist/playlist_dialogs.h"

namespace {

TEST(PlaylistFileName, NameWithoutExtensionGetsTsvAndEveryOtherNameStaysAsTyped)
{
    const std::wstring longDirectory = L"C:\\" + std::wstring(400, L'd') + L".x\\";
    const struct {
        std::wstring typed;
        std::wstring used;
    } cases[] = {
        {L"C:\\lists\\mylist", L"C:\\lists\\mylist.tsv"},
        {L"C:\\lists\\mylist.vpl", L"C:\\lists\\mylist.vpl"},
        {L"C:\\lists\\my.list", L"C:\\lists\\my.list"},
        {L"C:\\my.lists\\mylist", L"C:\\my.lists\\mylist.tsv"},
        {L"C:mylist", L"C:mylist.tsv"},
        {L"C:\\lists\\mylist.", L"C:\\lists\\mylist."},
        // Parts longer than any fixed split buffer.
        {longDirectory + L"mylist", longDirectory + L"mylist.tsv"},
        {L"C:\\" + std::wstring(600, L'n'), L"C:\\" + std::wstring(600, L'n') + L".tsv"},
        {L"C:\\" + std::wstring(1016, L'n'), L"C:\\" + std::wstring(1016, L'n') + L".tsv"},
        // No room for the extension: the name is kept rather than cut into another one.
        {L"C:\\" + std::wstring(1017, L'n'), L"C:\\" + std::wstring(1017, L'n')},
    };
    for (const auto& c : cases) {
        wchar_t path[1026];
        path[1024] = path[1025] = L'#';
        wcscpy(path, c.typed.c_str());
        completePlaylistFileName(path);
        EXPECT_EQ(c.used, path) << c.typed.size();
        EXPECT_EQ(L'#', path[1024]) << "overrun at " << c.typed.size();
    }
}

} // namespace
