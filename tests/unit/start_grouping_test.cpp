#include <gtest/gtest.h>

#include "playlist/start_grouping.h"

namespace {

TEST(StartGrouping, OnlyAudioFilesWithinTheWindowOfTheLastAudioFilesWriteJoinIt)
{
    const unsigned long long written = 1000000000, file = 777;
    const StartMarker files = {written, file, START_AUDIO_FILES};
    struct Case {
        const char* label;
        int kind;
        StartMarker previous;
        unsigned long long startedAt;
        unsigned long long fileNow;
        bool joins;
    } cases[] = {
        {"began while the previous one wrote", START_AUDIO_FILES, files, written - 20000000, file, true},
        {"at the end of the window", START_AUDIO_FILES, files, written + startGroupingWindow, file, true},
        {"past the window", START_AUDIO_FILES, files, written + startGroupingWindow + 1, file, false},
        {"a folder", START_FOLDER, files, written, file, false},
        {"a playlist file", START_PLAYLIST_FILE, files, written, file, false},
        {"after a folder", START_AUDIO_FILES, {written, file, START_FOLDER}, written, file, false},
        {"after a playlist file", START_AUDIO_FILES, {written, file, START_PLAYLIST_FILE}, written, file, false},
        {"file written since by another", START_AUDIO_FILES, files, written, file + 1, false},
        {"no previous start", START_AUDIO_FILES, {0, 0, START_NOTHING}, 5, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.joins, joinsPreviousStart(c.kind, c.previous, c.startedAt, c.fileNow)) << c.label;
}

} // namespace
