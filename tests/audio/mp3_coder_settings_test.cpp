// The coder's settings, the configuration record the encoder receives, the
// version record and the derived output names.
#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "tests/audio/mp3_test_doubles.h"

namespace {

std::uint32_t RecordValue(const MP3ConfigRecord& record, std::size_t offset) { return ReadLe32(record.data() + offset); }

TEST(MP3CoderSettings, StartWithTheEncodingDefaults) {
    CoderBench bench;
    const TMP3Coder& c = bench.coder;
    EXPECT_EQ(c.SampleRate(), 44100u);
    EXPECT_EQ(c.Bitrate(), 128u);
    EXPECT_EQ(c.MaxBitrate(), 320u);
    EXPECT_EQ(c.Quality(), MPEG_QUALITY::NORMAL_QUALITY);
    EXPECT_EQ(c.Mode(), TMP3CoderMode::STEREO);
    EXPECT_FALSE(c.Private());
    EXPECT_TRUE(c.CRC());
    EXPECT_FALSE(c.Copyright());
    EXPECT_FALSE(c.Original());
    EXPECT_FALSE(c.WriteVBRHeader());
    EXPECT_FALSE(c.EnableVBR());
    EXPECT_EQ(c.VBRQuality(), 4);
    EXPECT_TRUE(c.InputFiles().empty());
    EXPECT_TRUE(c.OutputFiles().empty());
    EXPECT_EQ(c.DefaultExt(), ".mp3");
    EXPECT_EQ(c.Mp3FileName(), "");
}

TEST(MP3CoderSettings, EnablingVbrAlsoWritesItsHeaderButNotTheOtherWayRound) {
    CoderBench bench;
    bench.coder.SetEnableVBR(true);
    EXPECT_TRUE(bench.coder.EnableVBR());
    EXPECT_TRUE(bench.coder.WriteVBRHeader());
    bench.coder.SetEnableVBR(false);
    EXPECT_FALSE(bench.coder.WriteVBRHeader());

    bench.coder.SetWriteVBRHeader(true);
    EXPECT_TRUE(bench.coder.WriteVBRHeader());
    EXPECT_FALSE(bench.coder.EnableVBR());
}

TEST(MP3CoderSettings, AssignCopiesEveryEncodingSettingAndNothingElse) {
    CoderBench source, target;
    TMP3Coder& s = source.coder;
    s.SetSampleRate(32000);
    s.SetBitrate(96);
    s.SetMaxBitrate(192);
    s.SetQuality(MPEG_QUALITY::VOICE_QUALITY);
    s.SetMode(TMP3CoderMode::MONO);
    s.SetPrivate(true);
    s.SetCRC(false);
    s.SetCopyright(true);
    s.SetOriginal(true);
    s.SetEnableVBR(true);
    s.SetVBRQuality(7);
    s.SetDefaultExt(".xyz");
    s.SetInputFiles({"a.wav"});

    target.coder.AssignSettings(s);
    EXPECT_EQ(target.coder.ConfigRecord(), s.ConfigRecord());
    EXPECT_EQ(target.coder.DefaultExt(), ".mp3");
    EXPECT_TRUE(target.coder.InputFiles().empty());
}

// Every byte the encoder reads, offset by offset, for settings that differ
// from the defaults; 32-bit booleans go out with all bits set.
TEST(MP3CoderConfigRecord, CarriesEachSettingAtItsOffsetAndZeroElsewhere) {
    CoderBench bench;
    TMP3Coder& c = bench.coder;
    c.SetSampleRate(48000);
    c.SetBitrate(160);
    c.SetMaxBitrate(256);
    c.SetQuality(MPEG_QUALITY::HIGH_QUALITY);
    c.SetMode(TMP3CoderMode::JSTEREO);
    c.SetPrivate(true);
    c.SetCRC(false);
    c.SetCopyright(true);
    c.SetOriginal(false);
    c.SetEnableVBR(true);
    c.SetVBRQuality(-2);

    const std::map<std::size_t, std::uint32_t> expected = {
        {0, 256},   {4, 1},   {8, 331},          {12, 48000}, {16, 0},  {20, 1},  {24, 160},
        {28, 256},  {32, 2},  {36, 1},           {40, 0},     {44, 0},  {48, 0xFFFFFFFF},
        {52, 0},    {56, 0xFFFFFFFF}, {60, 0},   {64, 0xFFFFFFFF}, {68, 0xFFFFFFFF}, {72, 0xFFFFFFFE},
    };
    const MP3ConfigRecord record = c.ConfigRecord();
    ASSERT_EQ(record.size(), 331u);
    for (const auto& [offset, value] : expected)
        EXPECT_EQ(RecordValue(record, offset), value) << "offset " << offset;
    for (std::size_t i = 76; i < record.size(); ++i) EXPECT_EQ(record[i], 0) << "offset " << i;
}

TEST(MP3CoderConfigRecord, IsWhatTheEncoderReceivesForEachFile) {
    CoderBench bench;
    bench.OnePair(MakeWav(StereoRamp(64)));
    bench.coder.SetBitrate(64);
    bench.coder.Process();
    EXPECT_EQ(bench.encoder.lastConfig, bench.coder.ConfigRecord());
}

TEST(MP3CoderVersion, IsReadOnceAtConstructionAndPublishesTheFirstFourBytes) {
    CoderBench bench;
    EXPECT_EQ(bench.encoder.versionCalls, 1);
    const TCoderVersion& v = bench.coder.CoderVersion();
    EXPECT_EQ(v.DLLMajorVersion(), 0xA0);
    EXPECT_EQ(v.DLLMinorVersion(), 0xA1);
    EXPECT_EQ(v.MajorVersion(), 0xA2);
    EXPECT_EQ(v.MinorVersion(), 0xA3);

    bench.coder.Process();
    EXPECT_EQ(bench.encoder.versionCalls, 1) << "processing does not ask again";
}

struct DerivedNameCase {
    const char* input;
    const char* ext;
    const char* output;
};

void PrintTo(const DerivedNameCase& c, std::ostream* os) { *os << c.input << " -> " << c.output; }

class MP3CoderOutputNames : public ::testing::TestWithParam<DerivedNameCase> {};

TEST_P(MP3CoderOutputNames, ReplaceOrAppendTheExtension) {
    const DerivedNameCase& c = GetParam();
    CoderBench bench;
    bench.coder.SetDefaultExt(c.ext);
    bench.coder.SetInputFiles({c.input});
    ASSERT_EQ(bench.coder.OutputFiles().size(), 1u);
    EXPECT_EQ(bench.coder.OutputFiles()[0], c.output);
}

INSTANTIATE_TEST_SUITE_P(Names, MP3CoderOutputNames,
                         ::testing::Values(DerivedNameCase{"C:\\Rec\\take.wav", ".mp3", "C:\\Rec\\take.mp3"},
                                           DerivedNameCase{"C:\\Rec\\take", ".mp3", "C:\\Rec\\take.mp3"},
                                           DerivedNameCase{"C:\\Rec.v2\\take", ".mp3", "C:\\Rec.v2\\take.mp3"},
                                           DerivedNameCase{"C:\\Rec\\a.b.wav", ".mp3", "C:\\Rec\\a.b.mp3"},
                                           DerivedNameCase{"C:\\Rec\\take.WAV", ".out", "C:\\Rec\\take.out"},
                                           DerivedNameCase{"take.", ".mp3", "take.mp3"},
                                           DerivedNameCase{"D:take", ".mp3", "D:take.mp3"}));

TEST(MP3CoderLists, AssigningInputsReplacesTheOutputsInOrder) {
    CoderBench bench;
    bench.coder.OutputFiles() = {"stale.mp3", "older.mp3", "oldest.mp3"};
    bench.coder.SetInputFiles({"C:\\a\\one.wav", "C:\\b\\two.wav"});
    EXPECT_EQ(bench.coder.InputFiles(), (std::vector<std::string>{"C:\\a\\one.wav", "C:\\b\\two.wav"}));
    EXPECT_EQ(bench.coder.OutputFiles(), (std::vector<std::string>{"C:\\a\\one.mp3", "C:\\b\\two.mp3"}));
}

TEST(MP3CoderLists, AddingDirectlyDerivesNothing) {
    CoderBench bench;
    bench.coder.InputFiles().push_back("C:\\Temp\\TempFlumen.wav");
    EXPECT_TRUE(bench.coder.OutputFiles().empty());
    bench.coder.OutputFiles().push_back("C:\\Music\\title.mp3");
    EXPECT_EQ(bench.coder.OutputFiles(), (std::vector<std::string>{"C:\\Music\\title.mp3"}));
    bench.coder.SetOutputFiles({"x.mp3"});
    EXPECT_EQ(bench.coder.InputFiles().size(), 1u) << "setting outputs leaves the inputs";
}

}  // namespace
