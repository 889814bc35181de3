// The coder with LAME_ENC.DLL under Wine: a 10 s 1000 Hz stereo recording
// encoded to MP3 and decoded back by Debian's lame.
#include <windows.h>
#include <xmmintrin.h>

#include <cmath>
#include <numbers>
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "audio/mp3_coder_win32.h"
#include "base/little_endian.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr double kSeconds = 10.0;
constexpr double kToneHz = 1000.0;

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string Le16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// The capture's layout: a 46-byte header with an 18-byte fmt chunk.
std::string ToneWav(double seconds, double hz) {
    const auto frames = static_cast<std::uint32_t>(seconds * kRate);
    std::string pcm;
    pcm.reserve(frames * 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto s = static_cast<std::int16_t>(std::lround(12000 * std::sin(2 * std::numbers::pi * hz * i / kRate)));
        pcm += Le16(static_cast<std::uint16_t>(s));
        pcm += Le16(static_cast<std::uint16_t>(s));
    }
    const std::string fmt = Le16(1) + Le16(2) + Le32(kRate) + Le32(kRate * 4) + Le16(4) + Le16(16) + Le16(0);
    const std::string body = "WAVE" + std::string("fmt ") + Le32(18) + fmt + "data" + Le32(static_cast<std::uint32_t>(pcm.size())) + pcm;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

struct DecodedTone {
    double seconds = 0;
    double hz = 0;
};

// Reads lame's decoded WAV (canonical 44-byte header, 16-bit) and measures the
// left channel's tone by its rising zero crossings, away from the first and
// last half second where the codec's delay and padding sit.
DecodedTone Measure(const std::string& wav) {
    DecodedTone tone;
    if (wav.size() < 44 || wav.compare(8, 4, "WAVE") != 0) return tone;
    const unsigned channels = ReadLe16(wav, 22);
    const std::uint32_t rate = ReadLe32(wav, 24);
    const std::size_t frames = (wav.size() - 44) / (2 * channels);
    tone.seconds = static_cast<double>(frames) / rate;
    const auto sample = [&](std::size_t frame) { return static_cast<std::int16_t>(ReadLe16(wav, 44 + frame * 2 * channels)); };
    std::size_t first = 0, last = 0, crossings = 0;
    const std::size_t margin = rate / 2;
    for (std::size_t f = margin; f + margin < frames; ++f) {
        if (sample(f - 1) < 0 && sample(f) >= 0) {
            if (crossings == 0) first = f;
            last = f;
            ++crossings;
        }
    }
    if (crossings > 1) tone.hz = (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
    return tone;
}

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; }

class MP3CoderWithLame : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.empty()); }
    wine_support::ScratchFolder scratch_{"mp3_"};
    const std::string folder_ = scratch_.Path();
};

TEST_F(MP3CoderWithLame, ReportsTheLibraryVersion) {
    TMP3Coder coder{WindowsMP3CoderServices()};
    const TCoderVersion& v = coder.CoderVersion();
    EXPECT_EQ(v.MajorVersion(), 3) << "encoder engine";
    EXPECT_EQ(v.MinorVersion(), 100);
    EXPECT_GE(v.DLLMajorVersion(), 1);
}

TEST_F(MP3CoderWithLame, EncodesTenSecondsOfToneThatDecodesBackToTheSameTone) {
    const std::string wavPath = folder_ + "TempFlumen.wav";
    const std::string mp3Path = folder_ + "tone.mp3";
    ASSERT_TRUE(wine_support::WriteFileBytes(wavPath, ToneWav(kSeconds, kToneHz)));

    TMP3Coder coder{WindowsMP3CoderServices()};
    coder.InputFiles().push_back(wavPath);
    coder.OutputFiles().push_back(mp3Path);
    int lastPercent = -1, reports = 0;
    // The encoder's floating-point mode must not leak into the program's code.
    const unsigned floatingPointMode = _mm_getcsr();
    coder.OnProgress = [&](TMP3Coder&, std::uint16_t percent) {
        EXPECT_EQ(_mm_getcsr(), floatingPointMode);
        EXPECT_GE(percent, lastPercent);
        lastPercent = percent;
        ++reports;
    };
    // A timer's messages are handled while the file is encoded.
    timerTicks = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, CountTick);
    coder.Process();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(_mm_getcsr(), floatingPointMode);
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(reports, 192) << "10 s of stereo in chunks of 2304 frames";
    EXPECT_GT(timerTicks, 0) << "no message was processed while encoding";

    std::string mp3;
    ASSERT_TRUE(wine_support::ReadFileBytes(mp3Path, mp3));
    ASSERT_GT(mp3.size(), 4u);
    // First frame: MPEG-1 layer III with CRC (protection bit clear), 128 kbit/s, 44.1 kHz, stereo.
    EXPECT_EQ(static_cast<std::uint8_t>(mp3[0]), 0xFF);
    EXPECT_EQ(static_cast<std::uint8_t>(mp3[1]), 0xFA) << "MPEG-1 layer III, CRC on";
    EXPECT_EQ(static_cast<std::uint8_t>(mp3[2]) & 0xFC, 0x90) << "128 kbit/s at 44.1 kHz";
    EXPECT_EQ(static_cast<std::uint8_t>(mp3[3]) >> 6, 0) << "stereo";
    EXPECT_NEAR(mp3.size(), 128000 / 8 * kSeconds, 128000 / 8 * 0.2);

    const std::string decodedPath = folder_ + "decoded.wav";
    ASSERT_EQ(wine_support::RunUnixShell("lame --quiet --decode '" + wine_support::UnixPathOf(mp3Path) + "' '" +
                                         wine_support::UnixPathOf(decodedPath) + "'"),
              0);
    std::string decoded;
    ASSERT_TRUE(wine_support::ReadFileBytes(decodedPath, decoded));
    const DecodedTone tone = Measure(decoded);
    std::printf("MP3 %zu bytes, decoded %.3f s, tone %.2f Hz\n", mp3.size(), tone.seconds, tone.hz);
    EXPECT_NEAR(tone.seconds, kSeconds, 0.1);
    EXPECT_NEAR(tone.hz, kToneHz, kToneHz * 0.01);
}

TEST_F(MP3CoderWithLame, MissingInputRaisesTheSystemsReason) {
    TMP3Coder coder{WindowsMP3CoderServices()};
    const std::string missing = folder_ + "absent.wav";
    coder.InputFiles().push_back(missing);
    coder.OutputFiles().push_back(folder_ + "absent.mp3");
    try {
        coder.Process();
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        const std::string prefix = "Cannot open file \"" + missing + "\". ";
        const std::string message = e.what();
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_GT(message.size(), prefix.size()) << "the system's reason is missing";
    }
    EXPECT_EQ(::GetFileAttributesA((folder_ + "absent.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MP3CoderWithLame, OutputInAMissingFolderRaisesCannotCreate) {
    const std::string wavPath = folder_ + "short.wav";
    ASSERT_TRUE(wine_support::WriteFileBytes(wavPath, ToneWav(0.5, kToneHz)));
    TMP3Coder coder{WindowsMP3CoderServices()};
    coder.InputFiles().push_back(wavPath);
    const std::string target = folder_ + "no such folder\\out.mp3";
    coder.OutputFiles().push_back(target);
    try {
        coder.Process();
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + target + "\". ", 0), 0u) << e.what();
    }
    // The input was closed again: it can be deleted.
    EXPECT_TRUE(::DeleteFileA(wavPath.c_str())) << ::GetLastError();
}

TEST_F(MP3CoderWithLame, SameSamplesWithEitherHeaderGiveIdenticalMp3) {
    std::string capture = ToneWav(1.0, 440.0);
    std::string canonical = capture;
    canonical.erase(36, 2);                     // the extra-size field
    canonical.replace(16, 4, Le32(16));         // fmt chunk size
    canonical.replace(4, 4, Le32(static_cast<std::uint32_t>(canonical.size() - 8)));
    ASSERT_TRUE(wine_support::WriteFileBytes(folder_ + "a.wav", capture));
    ASSERT_TRUE(wine_support::WriteFileBytes(folder_ + "b.wav", canonical));

    TMP3Coder coder{WindowsMP3CoderServices()};
    coder.SetInputFiles({folder_ + "a.wav", folder_ + "b.wav"});
    coder.Process();
    std::string a, b;
    ASSERT_TRUE(wine_support::ReadFileBytes(folder_ + "a.mp3", a));
    ASSERT_TRUE(wine_support::ReadFileBytes(folder_ + "b.mp3", b));
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << "sizes " << a.size() << " and " << b.size();
}

}  // namespace
