// Random and mutated playlist files: the reader must keep every invariant of the playlist.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "tests/unit/test_support.h"

namespace {

// Random bytes behind one of the marks, many of them separators and line ends.
std::string randomBytes(std::mt19937& random)
{
    static const char* const marks[] = {"", "\xFF\xFE", "\xEF\xBB\xBF", "\xFE\xFF"};
    std::string bytes = marks[random() % 4];
    for (size_t size = random() % 3000; size > 0; --size)
        bytes += static_cast<char>(random() % 4 == 0 ? "\t\n\r\x1A"[random() % 4] : random() % 256);
    return bytes;
}

// Lines up to 1500 units of separators, line ends, Ctrl-Z, signs, digits of several scripts,
// surrogates, NUL and letters, then a few bytes replaced, dropped or added.
std::string mutatedPlaylist(std::mt19937& random)
{
    const std::wstring units = std::wstring(L"\t\n\r\x1A-+ 09a\\:\uFF10\uFF19\u0660\u1810\xD800\xDC00\u3042") + L'\0';
    std::wstring text;
    for (int line = static_cast<int>(random() % 8); line > 0; --line) {
        for (size_t i = 0, length = random() % 3 == 0 ? random() % 1500 : random() % 40; i < length; ++i)
            text += random() % 3 == 0 ? units[random() % units.size()] : static_cast<wchar_t>(L'a' + random() % 26);
        text += L"\t" + std::to_wstring(random()) + L"\t-" + std::to_wstring(random()) + L"\r\n";
    }
    std::string bytes = support::utf16File(text);
    for (int change = static_cast<int>(random() % 6); change > 0 && !bytes.empty(); --change)
        bytes.replace(random() % bytes.size(), random() % 4, random() % 3, static_cast<char>(random()));
    return bytes;
}

TEST(PlaylistFuzz, RandomAndMutatedFilesKeepThePlaylistWellFormed)
{
    support::resetPlayerState();
    std::wstring folder = support::makeTempFolder(L"fuzz"), path = folder + L"\\fuzz.tsv";
    std::mt19937 random(20240607);
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE(round);
        std::string bytes = round % 2 == 0 ? randomBytes(random) : mutatedPlaylist(random);
        support::writeFileBytes(path, bytes);
        ASSERT_EQ(bytes.compare(0, 2, "\xFE\xFF") != 0, readPlaylistFile(path.c_str()));
        size_t capacity = HeapSize(GetProcessHeap(), 0, playlist) / sizeof(PlaylistEntry), count = 0;
        for (; count < capacity && playlist[count].path[0] != L'\0'; ++count) {
            ASSERT_LT(wcsnlen(playlist[count].path, 1024), 1024u) << "entry " << count;
            ASSERT_LE(std::max(playlist[count].start, playlist[count].end), 2147483647u) << "entry " << count;
        }
        ASSERT_LT(count, capacity) << "no terminator inside the array";
    }
    support::removeTree(folder);
    support::resetPlayerState();
}

} // namespace
