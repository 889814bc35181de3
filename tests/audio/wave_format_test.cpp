#include "audio/wave_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {
PcmWaveFormat PcmOf(TPCMFormat format) {
    WaveFormatEx record{};
    FillPCMFormat(record, format);
    return {record.formatTag, record.channels, record.samplesPerSec, record.avgBytesPerSec, record.blockAlign,
            record.bitsPerSample};
}
}  // namespace

TEST(PCMFormat, EveryNamedFormatFollowsTheRateAndKindRule) {
    struct Row {
        TPCMFormat format;
        uint16_t channels, bits;
        uint32_t rate;
    };
    const Row rows[] = {
        {TPCMFormat::Mono8Bit8000Hz, 1, 8, 8000},       {TPCMFormat::Stereo8bit8000Hz, 2, 8, 8000},
        {TPCMFormat::Mono16bit8000Hz, 1, 16, 8000},     {TPCMFormat::Stereo16bit8000Hz, 2, 16, 8000},
        {TPCMFormat::Mono8bit11025Hz, 1, 8, 11025},     {TPCMFormat::Stereo16bit11025Hz, 2, 16, 11025},
        {TPCMFormat::Stereo8bit22050Hz, 2, 8, 22050},   {TPCMFormat::Mono16bit22050Hz, 1, 16, 22050},
        {TPCMFormat::Mono8bit44100Hz, 1, 8, 44100},     {TPCMFormat::Stereo16bit44100Hz, 2, 16, 44100},
        {TPCMFormat::Stereo8bit48000Hz, 2, 8, 48000},   {TPCMFormat::Stereo16bit48000Hz, 2, 16, 48000},
    };
    for (const Row& row : rows) {
        WaveFormatEx record;
        std::memset(&record, 0x55, sizeof record);
        FillPCMFormat(record, row.format);
        SCOPED_TRACE(static_cast<int>(row.format));
        EXPECT_EQ(record.formatTag, 1);
        EXPECT_EQ(record.channels, row.channels);
        EXPECT_EQ(record.bitsPerSample, row.bits);
        EXPECT_EQ(record.samplesPerSec, row.rate);
        EXPECT_EQ(record.blockAlign, row.channels * row.bits / 8);
        EXPECT_EQ(record.avgBytesPerSec, row.rate * row.channels * row.bits / 8);
        EXPECT_EQ(record.extraSize, 0);
    }
    EXPECT_EQ(static_cast<int>(TPCMFormat::Stereo16bit44100Hz), 16);
    EXPECT_EQ(static_cast<int>(TPCMFormat::Stereo16bit48000Hz), 20);
}

TEST(PCMFormat, NoneLeavesTheRecordUntouched) {
    WaveFormatEx record;
    std::memset(&record, 0x55, sizeof record);
    FillPCMFormat(record, TPCMFormat::nonePCM);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) EXPECT_EQ(bytes[i], 0x55) << "byte " << i;
}

TEST(WaveBufferSize, IsWholeBlocksOfTheBufferLength) {
    struct Row {
        TPCMFormat format;
        uint16_t ms;
        uint32_t bytes;
    };
    const Row rows[] = {
        {TPCMFormat::Stereo16bit44100Hz, 1000, 176400},
        {TPCMFormat::Stereo16bit11025Hz, 10, 444},  // 441 rounded up to whole 4-byte frames
        {TPCMFormat::Mono8Bit8000Hz, 10, 80},
        {TPCMFormat::Mono16bit11025Hz, 10, 222},    // 220.5 rounds to 221, then up to 222
        {TPCMFormat::Stereo16bit48000Hz, 65535, 12582720},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WaveBufferSize(row.ms, PcmOf(row.format)), row.bytes)
            << static_cast<int>(row.format) << " at " << row.ms << " ms";
}

TEST(ScaleRounded, RoundsHalfAwayFromZeroAndRefusesZeroDivisor) {
    EXPECT_EQ(ScaleRounded(10, 44100, 1000), 441);
    EXPECT_EQ(ScaleRounded(1, 3, 2), 2);
    EXPECT_EQ(ScaleRounded(-1, 3, 2), -2);
    EXPECT_EQ(ScaleRounded(1, 1, 3), 0);
    EXPECT_EQ(ScaleRounded(2000000000, 3, 3), 2000000000);  // needs the 64-bit intermediate
    EXPECT_EQ(ScaleRounded(5, 5, 0), -1);
}

TEST(PeakLevel, EightBitSamplesAreUnsignedAroundTheMiddle) {
    struct Row {
        std::vector<uint8_t> samples;
        int32_t level;
    };
    const Row rows[] = {
        {{}, 0},
        {{0, 10, 127}, 0},        // everything below the middle is silence for the meter
        {{128}, 0},
        {{0, 255, 128}, 100},
        {{191}, 49},              // (191 - 128) * 100 / 127, truncated
        {{100, 192, 150}, 50},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PeakLevel(row.samples.data(), static_cast<uint32_t>(row.samples.size()), 8), row.level)
            << "first of " << row.samples.size() << " samples";
}

TEST(PeakLevel, SixteenBitCountsOnlyPositiveSamples) {
    auto bytes = [](std::vector<int16_t> samples) {
        std::vector<uint8_t> out;
        for (int16_t s : samples) {
            out.push_back(static_cast<uint8_t>(s & 0xFF));
            out.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        }
        return out;
    };
    struct Row {
        std::vector<int16_t> samples;
        int32_t level;
    };
    const Row rows[] = {
        {{}, 0},
        {{-32768, -1}, 0},
        {{32767}, 100},
        {{-32768, 16383, 100}, 49},
        {{256, -30000, 3276}, 9},
    };
    for (const Row& row : rows) {
        auto b = bytes(row.samples);
        EXPECT_EQ(PeakLevel(b.data(), static_cast<uint32_t>(b.size()), 16), row.level)
            << row.samples.size() << " samples";
    }
    const uint8_t any[4] = {1, 2, 3, 4};
    EXPECT_EQ(PeakLevel(any, 4, 24), -1);
    EXPECT_EQ(PeakLevel(any, 0, 32), -1);
}

TEST(MMTimeToMilliseconds, ConvertsEachUnit) {
    const PcmWaveFormat cd = PcmOf(TPCMFormat::Stereo16bit44100Hz);
    const PcmWaveFormat none{};
    auto time = [](uint32_t type, uint32_t value) {
        WaveTime t{};
        t.type = type;
        t.u.ms = value;
        return t;
    };
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeMs, 1234), cd), 1234u);
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeSamples, 44100), cd), 1000u);
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeSamples, 22), cd), 0u);   // 0.498 ms rounds down
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeSamples, 23), cd), 1u);   // 0.52 ms rounds up
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeSamples, 44100), none), 0u);
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeBytes, 352800), cd), 2000u);
    EXPECT_EQ(MMTimeToMilliseconds(time(kTimeBytes, 352800), none), 0u);
    EXPECT_EQ(MMTimeToMilliseconds(time(16 /* MIDI */, 5), cd), 0u);
    EXPECT_EQ(MMTimeToMilliseconds(time(32 /* ticks */, 5), cd), 0u);

    WaveTime smpte{};
    smpte.type = kTimeSmpte;
    smpte.u.smpte = {1, 2, 3, 24, 25, 0, {0, 0}};
    EXPECT_EQ(MMTimeToMilliseconds(smpte, cd), 3600000u + 120000u + 3000u) << "frames are ignored";
}

TEST(DeviceFormats, EightKilohertzAlwaysOthersByFlagNeverFortyEight) {
    const TPCMFormatSet bare = PCMFormatsFromCapabilityFlags(0);
    EXPECT_EQ(bare.Count(), 4u);
    for (int v = 1; v <= 4; ++v) EXPECT_TRUE(bare.Contains(static_cast<TPCMFormat>(v))) << v;

    struct Row {
        uint32_t flag;
        TPCMFormat adds;
    };
    const Row rows[] = {
        {0x001, TPCMFormat::Mono8bit11025Hz},  {0x002, TPCMFormat::Stereo8bit11025Hz},
        {0x004, TPCMFormat::Mono16bit11025Hz}, {0x008, TPCMFormat::Stereo16bit11025Hz},
        {0x010, TPCMFormat::Mono8bit22050Hz},  {0x020, TPCMFormat::Stereo8bit22050Hz},
        {0x040, TPCMFormat::Mono16bit22050Hz}, {0x080, TPCMFormat::Stereo16bit22050Hz},
        {0x100, TPCMFormat::Mono8bit44100Hz},  {0x200, TPCMFormat::Stereo8bit44100Hz},
        {0x400, TPCMFormat::Mono16bit44100Hz}, {0x800, TPCMFormat::Stereo16bit44100Hz},
    };
    for (const Row& row : rows) {
        const TPCMFormatSet set = PCMFormatsFromCapabilityFlags(row.flag);
        EXPECT_EQ(set.Count(), 5u) << "flag " << row.flag;
        EXPECT_TRUE(set.Contains(row.adds)) << "flag " << row.flag;
    }
    const TPCMFormatSet all = PCMFormatsFromCapabilityFlags(0xFFFFFFFF);
    EXPECT_EQ(all.Count(), 16u);
    for (int v = 17; v <= 20; ++v) EXPECT_FALSE(all.Contains(static_cast<TPCMFormat>(v))) << v;
    EXPECT_FALSE(all.Contains(TPCMFormat::nonePCM));
}

TEST(WaveFileHeader, LaysOutTheFortySixBytesBeforeTheSamples) {
    struct Row {
        TPCMFormat format;
        uint32_t dataSize;
        std::string expected;
    };
    using namespace std::string_literals;
    const Row rows[] = {
        {TPCMFormat::Stereo16bit44100Hz, 2644,
         "RIFF\x7A\x0A\0\0WAVEfmt \x12\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0\0\0data\x54\x0A\0\0"s},
        {TPCMFormat::Mono8Bit8000Hz, 3,  // odd data: the RIFF size counts the pad byte, the data size does not
         "RIFF\x2A\0\0\0WAVEfmt \x12\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0\0\0data\x03\0\0\0"s},
        {TPCMFormat::Stereo16bit44100Hz, 0xFFFFFFFE,  // the 32-bit RIFF size wraps as the writer's does
         "RIFF\x24\0\0\0WAVEfmt \x12\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0\0\0data\xFE\xFF\xFF\xFF"s},
    };
    for (const Row& row : rows) {
        WaveFormatEx format{};
        FillPCMFormat(format, row.format);
        const std::string header = WaveFileHeader(format, row.dataSize);
        ASSERT_EQ(header.size(), kWaveHeaderSize);
        EXPECT_EQ(header, row.expected) << "format " << static_cast<int>(row.format) << " data " << row.dataSize;
    }
}
