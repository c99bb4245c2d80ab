// Random and mutated playlist files: the reader must keep every invariant of the playlist.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "tests/unit/test_support.h"

namespace {

// Units that steer the reader into its corners: separators, line ends, Ctrl-Z, signs, digits of
// several scripts, surrogates and NUL.
const wchar_t interestingUnits[] = {L'\t', L'\n', L'\r', 0x1A,   L'-',   L'+',   L' ',   L'0',   L'9',   L'a',
                                    L'\\', L':',  0,     0xFF10, 0xFF19, 0x0660, 0x1810, 0xD800, 0xDC00, 0x3042};

std::string randomBytes(std::mt19937& random, size_t maxSize)
{
    static const char* const marks[] = {"", "\xFF\xFE", "\xEF\xBB\xBF", "\xFE\xFF"};
    std::string bytes = marks[random() % 4];
    size_t size = random() % maxSize;
    for (size_t i = 0; i < size; ++i)
        bytes += static_cast<char>(random() % 4 == 0 ? "\t\n\r\x1A"[random() % 4] : random() % 256);
    return bytes;
}

// A well-formed file of lines up to 1500 units, then a few bytes flipped, dropped or added.
std::string mutatedPlaylist(std::mt19937& random)
{
    std::wstring text;
    for (int line = static_cast<int>(random() % 8); line > 0; --line) {
        size_t length = random() % 3 == 0 ? random() % 1500 : random() % 40;
        for (size_t i = 0; i < length; ++i) {
            text += random() % 3 == 0 ? interestingUnits[random() % (sizeof(interestingUnits) / sizeof(wchar_t))]
                                      : static_cast<wchar_t>(L'a' + random() % 26);
        }
        text += L"\t" + std::to_wstring(random()) + L"\t-" + std::to_wstring(random()) + L"\r\n";
    }
    std::string bytes = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    for (int change = static_cast<int>(random() % 6); change > 0 && !bytes.empty(); --change) {
        size_t at = random() % bytes.size();
        switch (random() % 3) {
        case 0: bytes[at] = static_cast<char>(random() % 256); break;
        case 1: bytes.erase(at, 1 + random() % 3); break;
        default: bytes.insert(at, 1, static_cast<char>(random() % 256)); break;
        }
    }
    return bytes;
}

TEST(PlaylistFuzz, RandomAndMutatedFilesKeepThePlaylistWellFormed)
{
    support::resetPlayerState();
    std::wstring folder = support::makeTempFolder(L"fuzz");
    std::wstring path = folder + L"\\fuzz.tsv";
    std::mt19937 random(20240607);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = round % 2 == 0 ? randomBytes(random, 3000) : mutatedPlaylist(random);
        support::writeFileBytes(path, bytes);
        bool read = readPlaylistFile(path.c_str());
        bool bigEndian = bytes.compare(0, 2, "\xFE\xFF") == 0;
        ASSERT_EQ(!bigEndian, read) << "round " << round;
        size_t capacity = HeapSize(GetProcessHeap(), 0, playlist) / sizeof(PlaylistEntry);
        size_t count = 0;
        for (; count < capacity && playlist[count].path[0] != L'\0'; ++count) {
            ASSERT_LT(wcsnlen(playlist[count].path, 1024), 1024u) << "round " << round << " entry " << count;
            ASSERT_LE(playlist[count].start, 2147483647u) << "round " << round;
            ASSERT_LE(playlist[count].end, 2147483647u) << "round " << round;
        }
        ASSERT_LT(count, capacity) << "no terminator inside the array, round " << round;
    }
    support::removeTree(folder);
    support::resetPlayerState();
}

} // namespace
