#include "recorder/recording_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Countdown, RunsFromOneMinuteToTheSixtiethTickWhichStops) {
    std::string minutes = "01", seconds = "00";
    std::vector<std::string> shown;
    int ticks = 0;
    for (; ticks < 100; ++ticks) {
        CountdownStep step = NextCountdownStep(minutes, seconds);
        if (step.stop) break;
        minutes = step.minutes;
        seconds = step.seconds;
        shown.push_back(minutes + ":" + seconds);
    }
    EXPECT_EQ(ticks + 1, 60) << "the tick that stops is the sixtieth";
    ASSERT_EQ(shown.size(), 59u);
    for (size_t i = 0; i < shown.size(); ++i) {
        const int left = 59 - static_cast<int>(i);
        const std::string expected = std::string("00:") + (left < 10 ? "0" : "") + std::to_string(left);
        EXPECT_EQ(shown[i], expected) << "after tick " << i + 1;
    }
    // A tick that comes late, after the stop, never rolls over to a negative minute.
    EXPECT_TRUE(NextCountdownStep("00", "00").stop);
}

TEST(TargetKind, AnMp3ExtensionInAnyCaseIsEncoded) {
    struct Row {
        const char* path;
        TargetKind kind;
    };
    const Row rows[] = {
        {"x.mp3", TargetKind::Mp3},
        {"C:\\Enregistrements\\Flumen.mp3", TargetKind::Mp3},
        {"x.MP3", TargetKind::Mp3},
        {"C:\\Enregistrements\\Titre.mP3", TargetKind::Mp3},
        {"x.wav", TargetKind::Wav},
        {"x.WAV", TargetKind::Wav},
        {"x.mp4", TargetKind::Wav},
        {"x", TargetKind::Wav},
        {"C:\\a.mp3\\x", TargetKind::Wav},  // a dot in a folder name is no extension
        {"x.mp3.wav", TargetKind::Wav},
    };
    for (const Row& row : rows) EXPECT_EQ(KindOfTarget(row.path), row.kind) << row.path;
}

TEST(FileTypeChange, RewritesTheExtensionOfTheProposedName) {
    struct Row {
        const char* name;
        int fileType;
        const char* expected;
    };
    const Row rows[] = {
        {"Flumen", kWaveFileType, "Flumen.wav"},
        {"Flumen.wav", kMp3FileType, "Flumen.mp3"},
        {"Flumen.mp3", kWaveFileType, "Flumen.wav"},
        {"Flumen.MP3", kWaveFileType, "Flumen.wav"},     // an upper-case extension is replaced too
        {"Flumen.WAV", kMp3FileType, "Flumen.mp3"},
        {"Flumen", kMp3FileType, "Flumen.mp3"},
        {"", kMp3FileType, ".mp3"},
        {"", kWaveFileType, ".wav"},
        {"a.b.txt", kWaveFileType, "a.b.wav"},          // only the last extension goes
        {"C:\\x.y\\Flumen", kMp3FileType, "C:\\x.y\\Flumen.mp3"},
        {"Flumen.wav", 3, "Flumen.wav"},                 // a type the dialog does not have
    };
    for (const Row& row : rows)
        EXPECT_EQ(NameForFileType(row.name, row.fileType), row.expected) << row.name << " type " << row.fileType;
}

TEST(TemporaryCapture, TempVariableThenTheSystemsFolderThenNothing) {
    const std::string longest(255, 'T');
    const std::string tooLong(256, 'T');
    struct Row {
        std::optional<std::string> temp;
        std::string system;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"C:\\Temp", "C:\\Sys\\", "C:\\Temp\\TempFlumen.wav"},
        {"C:\\Temp\\", "C:\\Sys\\", "C:\\Temp\\TempFlumen.wav"},
        {longest, "C:\\Sys\\", longest + "\\TempFlumen.wav"},
        {tooLong, "C:\\Sys\\", "C:\\Sys\\TempFlumen.wav"},
        {"", "C:\\Sys\\", "C:\\Sys\\TempFlumen.wav"},
        {std::nullopt, "C:\\Sys\\", "C:\\Sys\\TempFlumen.wav"},
        {std::nullopt, "", std::nullopt},
        {tooLong, "", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TemporaryCapturePath(row.temp, row.system), row.expected)
            << "TEMP " << row.temp.value_or("(unset)").substr(0, 20) << " system " << row.system;
}

}  // namespace
