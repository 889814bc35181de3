#include "recorder/song_file_name.h"

#include <gtest/gtest.h>

namespace {
TEST(SongFileName, KeepsWhatAFileNameCanHold) {
    struct Row {
        std::string song;
        std::string name;
    } rows[] = {
        {"Nina Simone - Feeling Good", "Nina Simone - Feeling Good"},
        {"AC/DC: Live? \"Yes\" <1991> | *", "AC_DC_ Live_ _Yes_ _1991_ _ _"},
        {"a\\b", "a_b"},
        {"  trailing dots...  ", "trailing dots"},
        {"Beyonc\xE9 - D\xE9j\xE0 vu", "Beyonc\xE9 - D\xE9j\xE0 vu"},
        {"con", "_con"},
        {"LPT1.mp3", "_LPT1.mp3"},
        {"COM10", "COM10"},
        {"...", ""},
        {"", ""},
        {std::string(150, 'x'), std::string(kMaxSongFileNameLength, 'x')},
        {std::string(99, 'x') + " y", std::string(99, 'x')},
    };
    for (const Row& row : rows) EXPECT_EQ(SongFileName(row.song), row.name) << row.song;
}

TEST(ProposedSongPath, TakesTheFolderAndTypeOfTheLastChoice) {
    struct Row {
        const char* lastPath;
        const char* song;
        const char* proposed;
    } rows[] = {
        {"Flumen", "A - B", "A - B.mp3"},
        {"C:\\Musique\\essai.WAV", "A - B", "C:\\Musique\\A - B.wav"},
        {"C:\\Musique\\essai.mp3", "A/B", "C:\\Musique\\A_B.mp3"},
        {"C:\\Mes.docs\\essai", "A - B", "C:\\Mes.docs\\A - B.mp3"},
        {"C:\\Musique\\essai.mp3", "", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(ProposedSongPath(row.lastPath, row.song), row.proposed) << row.lastPath;
}
}  // namespace
