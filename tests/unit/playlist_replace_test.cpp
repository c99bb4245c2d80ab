#include <gtest/gtest.h>

#include <windows.h>

#include <numeric>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "tests/fakes/fake_system_calls.h"
#include "tests/unit/test_support.h"

namespace {

class PlaylistReplace : public support::FolderTest {};

// A rename refused for a moment is tried again for about a second; one that cannot happen, or
// fails for another reason, gives way to writing the file in place. The list arrives whole and no
// temporary file stays behind, in every case.
TEST_F(PlaylistReplace, RefusedRenameIsRetriedThenTheFileIsWrittenInPlace)
{
    struct Case {
        const char* label;
        std::vector<DWORD> errors;
        size_t renames;
    } cases[] = {
        {"taken at once", {}, 1},
        {"busy three times", {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}, 4},
        {"busy throughout", std::vector<DWORD>(100, ERROR_SHARING_VIOLATION), 40},
        {"other failure", {ERROR_NOT_SAME_DEVICE}, 1},
    };
    const std::wstring path = folder + L"\\list.tsv";
    for (const Case& c : cases) {
        support::writeFileBytes(path, support::utf16File(L"C:\\old.mp3\t0\t0\r\n"));
        support::setPlaylist({L"C:\\new.mp3"});
        fake::moveFileErrors = c.errors;
        fake::moveFileCalls.clear();
        fake::sleeps.clear();
        EXPECT_TRUE(writePlaylistFile(path.c_str())) << c.label;
        EXPECT_EQ(support::utf16File(L"C:\\new.mp3\t0\t0\r\n"), support::readFileBytes(path)) << c.label;
        EXPECT_EQ(c.renames, fake::moveFileCalls.size()) << c.label;
        EXPECT_EQ(c.renames - 1, fake::sleeps.size()) << c.label;
        DWORD waited = std::accumulate(fake::sleeps.begin(), fake::sleeps.end(), DWORD{0});
        EXPECT_LE(waited, 1000u) << c.label;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << c.label;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
    EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
