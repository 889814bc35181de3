// Processing: where the samples are taken from, chunking, progress, events,
// and what every failure leaves behind.
#include <gtest/gtest.h>

#include "tests/audio/mp3_test_doubles.h"

namespace {

// samplesPerCall 8 and block align 4: 32-byte chunks.
constexpr std::size_t kChunk = 32;

struct Encoded {
    std::string output;
    CallLog log;
};

Encoded EncodeOne(const std::string& input, TMP3CoderMode mode = TMP3CoderMode::STEREO) {
    CoderBench bench;
    bench.files.files["in.wav"] = input;
    bench.coder.SetMode(mode);
    bench.coder.InputFiles() = {"in.wav"};
    bench.coder.OutputFiles() = {"out.mp3"};
    bench.coder.Process();
    EXPECT_EQ(bench.files.openFiles, 0);
    EXPECT_EQ(bench.encoder.openStreams, 0);
    return {bench.files.files["out.mp3"], bench.log};
}

TEST(MP3CoderInput, CaptureHeaderAndCanonicalHeaderGiveTheSameMp3) {
    const std::string pcm = StereoRamp(10 * kChunk + 12);
    const std::string fromCapture = EncodeOne(MakeWav(pcm, 18)).output;
    const std::string fromCanonical = EncodeOne(MakeWav(pcm, 16)).output;
    EXPECT_EQ(fromCapture, fromCanonical);
    EXPECT_EQ(fromCapture, pcm + kFlushedFrames) << "every sample, from the first of the data chunk";
}

TEST(MP3CoderInput, FirstSampleOfTheDataChunkReachesTheEncoderLeftChannelFirst) {
    CoderBench bench;
    bench.OnePair(MakeWav(PcmBytes({1000, -1000, 2000, -2000})));
    bench.coder.Process();
    EXPECT_EQ(bench.encoder.firstSamples, (std::vector<std::int16_t>{1000, -1000, 2000, -2000}));
}

TEST(MP3CoderInput, AFileThatIsNotWaveIsEncodedWholeHeaderIncluded) {
    std::string notWave = MakeWav(StereoRamp(100));
    notWave.replace(8, 4, "wave");  // the form type must match exactly
    EXPECT_EQ(EncodeOne(notWave).output, notWave + kFlushedFrames);
    const std::string raw = StereoRamp(3 * kChunk + 5);
    EXPECT_EQ(EncodeOne(raw).output, raw.substr(0, raw.size() - 1) + kFlushedFrames)
        << "an odd last byte is no whole sample";
}

TEST(MP3CoderInput, InputShorterThanAHeaderIsRawPcm) {
    const std::string shortWave = MakeWav("").substr(0, 40);
    ASSERT_EQ(shortWave.substr(8, 4), "WAVE");
    EXPECT_EQ(EncodeOne(shortWave).output, shortWave + kFlushedFrames);
    EXPECT_EQ(EncodeOne("").output, kFlushedFrames);
}

TEST(MP3CoderInput, WaveWithoutSamplesWritesOnlyTheFlushedFrames) {
    Encoded empty = EncodeOne(MakeWav(""));
    EXPECT_EQ(empty.output, kFlushedFrames);
    EXPECT_EQ(std::count(empty.log.begin(), empty.log.end(), "pump"), 0);

    // A header cut off inside its data chunk header: no samples, nothing read past the end.
    EXPECT_EQ(EncodeOne(MakeWav("").substr(0, 44)).output, kFlushedFrames);
}

TEST(MP3CoderInput, SamplesRunToTheEndOfTheFileWhateverTheDataSizeSays) {
    // A capture cut short leaves data size 0 in the header.
    std::string wav = MakeWav(StereoRamp(2 * kChunk));
    wav.replace(42, 4, Le32(0));
    EXPECT_EQ(EncodeOne(wav).output, StereoRamp(2 * kChunk) + kFlushedFrames);
}

TEST(MP3CoderInput, OtherChunksBeforeTheDataAreSkipped) {
    const std::string pcm = StereoRamp(kChunk);
    std::string wav = MakeWav(pcm, 16);
    const std::string list = "LIST" + Le32(3) + "abc" + '\0';  // odd size, padded
    wav.insert(36, list);
    EXPECT_EQ(EncodeOne(wav).output, pcm + kFlushedFrames);
}

struct ChunkCase {
    const char* name;
    std::string input;
    TMP3CoderMode mode;
    std::uint32_t samplesPerCall;  // per encoder call for a full chunk
};

void PrintTo(const ChunkCase& c, std::ostream* os) { *os << c.name; }

class MP3CoderChunks : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(MP3CoderChunks, FollowTheBlockAlignOrTheMode) {
    const ChunkCase& c = GetParam();
    CoderBench bench;
    bench.files.files["in"] = c.input;
    bench.coder.SetMode(c.mode);
    bench.coder.InputFiles() = {"in"};
    bench.coder.OutputFiles() = {"out"};
    bench.coder.Process();
    ASSERT_FALSE(bench.encoder.sampleCounts.empty());
    EXPECT_EQ(bench.encoder.sampleCounts.front(), c.samplesPerCall) << c.name;
}

// The fake reports 8 samples per call.
INSTANTIATE_TEST_SUITE_P(
    Sizes, MP3CoderChunks,
    ::testing::Values(ChunkCase{"stereo WAV, align 4", MakeWav(StereoRamp(200)), TMP3CoderMode::STEREO, 16},
                      ChunkCase{"mono WAV, align 2", MakeWav(StereoRamp(200), 18, 1, 2), TMP3CoderMode::MONO, 8},
                      ChunkCase{"raw stereo", StereoRamp(200), TMP3CoderMode::STEREO, 8},
                      ChunkCase{"raw joint stereo", StereoRamp(200), TMP3CoderMode::JSTEREO, 8},
                      ChunkCase{"raw mono", StereoRamp(200), TMP3CoderMode::MONO, 4}));

// The room given to the encoder for each call: its worst case for the samples
// really passed (1.25 × the samples of one channel + 7200; the fake fails a
// call with less), and never less than it asked for at the start.
struct RoomCase {
    const char* name;
    std::string input;
    TMP3CoderMode mode;
    std::uint32_t samplesPerCall;  // as the library reports them, with the room it asks for
    std::uint32_t reportedRoom;
    std::uint32_t room;
};

void PrintTo(const RoomCase& c, std::ostream* os) { *os << c.name; }

class MP3CoderOutputRoom : public ::testing::TestWithParam<RoomCase> {};

TEST_P(MP3CoderOutputRoom, CoversTheLibrarysWorstCaseForTheSamplesPassed) {
    const RoomCase& c = GetParam();
    CoderBench bench;
    bench.encoder.samplesPerCall = c.samplesPerCall;
    bench.encoder.outputBufferSize = c.reportedRoom;
    bench.coder.SetMode(c.mode);
    bench.OnePair(c.input);
    bench.coder.Process();
    ASSERT_FALSE(bench.encoder.outputSizes.empty());
    EXPECT_EQ(bench.encoder.outputSizes.front(), c.room) << c.name;
}

// The library's own figures: 1152 samples a channel, room for them, 2304
// samples per call in stereo (one chunk of a stereo WAV then holds 4608).
INSTANTIATE_TEST_SUITE_P(
    Sizes, MP3CoderOutputRoom,
    ::testing::Values(
        RoomCase{"stereo WAV: twice the reported samples", MakeWav(StereoRamp(2 * 9216)), TMP3CoderMode::STEREO,
                 2304, 8640, 10080},
        RoomCase{"mono WAV in stereo mode", MakeWav(StereoRamp(9216), 18, 1, 2), TMP3CoderMode::STEREO, 2304, 8640,
                 8640},
        RoomCase{"raw mono: the reported room is more", StereoRamp(4608), TMP3CoderMode::MONO, 1152, 8640, 8640}));

TEST(MP3CoderChunks, AChunkOf65536BytesOrMoreIsRefusedNotWrapped) {
    CoderBench bench;
    bench.encoder.samplesPerCall = 16384;  // × block align 4 = 65536
    bench.encoder.outputBufferSize = 70000;
    bench.OnePair(MakeWav(StereoRamp(100)));
    EXPECT_EQ(bench.ProcessError(), "Invalid chunk size 65536");
    EXPECT_TRUE(bench.encoder.sampleCounts.empty());
    EXPECT_EQ(bench.files.openFiles, 0);
    EXPECT_EQ(bench.encoder.openStreams, 0);

    bench.encoder.samplesPerCall = 16383;
    bench.coder.Process();
    EXPECT_EQ(bench.encoder.sampleCounts, (std::vector<std::uint32_t>{50}));
}

TEST(MP3CoderChunks, AWaveWithoutBlockAlignIsRefusedRatherThanLoopingForever) {
    std::string wav = MakeWav(StereoRamp(64));
    wav.replace(32, 2, Le16(0));
    CoderBench bench;
    bench.OnePair(wav);
    EXPECT_EQ(bench.ProcessError(), "Invalid chunk size 0");
    EXPECT_EQ(bench.files.openFiles, 0);
}

std::vector<int> ProgressOf(std::size_t dataSize) {
    CoderBench bench;
    std::vector<int> seen;
    bench.OnePair(MakeWav(StereoRamp(dataSize)));
    bench.coder.OnProgress = [&](TMP3Coder&, std::uint16_t percent) { seen.push_back(percent); };
    bench.coder.Process();
    return seen;
}

TEST(MP3CoderProgress, TruncatesTowardZeroAndEndsAtAHundred) {
    EXPECT_EQ(ProgressOf(10 * kChunk + kChunk / 2), (std::vector<int>{9, 19, 28, 38, 47, 57, 66, 76, 85, 95, 100}));
    EXPECT_EQ(ProgressOf(4 * kChunk), (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(ProgressOf(3 * kChunk), (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(ProgressOf(1), (std::vector<int>{100}));
}

TEST(MP3CoderProgress, PendingMessagesRunAfterEveryChunk) {
    CoderBench bench;
    bench.OnePair(MakeWav(StereoRamp(2 * kChunk + 4)));
    bench.coder.OnProgress = [&](TMP3Coder&, std::uint16_t p) { bench.log.push_back("progress " + std::to_string(p)); };
    bench.coder.Process();
    const CallLog expected = {"init",        "open in.wav", "create out.mp3", "encode 16",  "progress 47", "pump",
                              "encode 16",   "progress 94", "pump",           "encode 2",   "progress 100", "pump",
                              "flush",       "close in.wav", "close out.mp3", "close stream"};
    EXPECT_EQ(bench.log, expected) << ::testing::PrintToString(bench.log);
}

TEST(MP3CoderEvents, FireAroundEachPairInOrder) {
    CoderBench bench;
    bench.files.files["a.wav"] = MakeWav(StereoRamp(kChunk));
    bench.files.files["b.wav"] = StereoRamp(kChunk);
    bench.coder.InputFiles() = {"a.wav", "b.wav"};
    bench.coder.OutputFiles() = {"a.mp3", "b.mp3"};
    bench.coder.OnBeginProcess = [&](TMP3Coder& sender) {
        EXPECT_EQ(&sender, &bench.coder);
        bench.log.push_back("begin process");
    };
    bench.coder.OnBeginFile = [&](TMP3Coder&, std::uint16_t num, const std::string& name) {
        bench.log.push_back("begin file " + std::to_string(num) + " " + name);
    };
    bench.coder.OnEndFile = [&](TMP3Coder&, std::uint16_t num, const std::string& name) {
        EXPECT_EQ(bench.files.openFiles, 0) << "the files are closed before the pair is reported done";
        bench.log.push_back("end file " + std::to_string(num) + " " + name);
    };
    bench.coder.OnEndProcess = [&](TMP3Coder&) { bench.log.push_back("end process"); };
    bench.coder.Process();

    const CallLog expected = {"begin process", "init", "begin file 0 a.wav", "open a.wav", "create a.mp3",
                              "encode 16", "pump", "flush", "close a.wav", "close a.mp3", "close stream",
                              "end file 0 a.mp3", "init", "begin file 1 b.wav", "open b.wav", "create b.mp3",
                              "encode 8", "pump", "encode 8", "pump", "flush", "close b.wav", "close b.mp3",
                              "close stream", "end file 1 b.mp3", "end process"};
    EXPECT_EQ(bench.log, expected) << ::testing::PrintToString(bench.log);
    EXPECT_EQ(bench.coder.InputFiles().size(), 2u) << "the lists stay as they were";
}

TEST(MP3CoderEvents, AnEmptyListOnlyBeginsAndEnds) {
    CoderBench bench;
    bench.coder.OnBeginProcess = [&](TMP3Coder&) { bench.log.push_back("begin process"); };
    bench.coder.OnEndProcess = [&](TMP3Coder&) { bench.log.push_back("end process"); };
    bench.coder.Process();
    EXPECT_EQ(bench.log, (CallLog{"begin process", "end process"}));
}

// Each failure inside the chunk loop: the message, what is left in the output,
// and that everything was released with no end event and no further pair.
struct FailureCase {
    const char* name;
    void (*arrange)(CoderBench&);
    const char* message;
    std::string outputLeft;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class MP3CoderFailures : public ::testing::TestWithParam<FailureCase> {};

const std::string kPcm = StereoRamp(3 * kChunk);

TEST_P(MP3CoderFailures, CleanUpThenRaise) {
    const FailureCase& c = GetParam();
    CoderBench bench;
    bench.files.files["a.wav"] = MakeWav(kPcm);
    bench.files.files["b.wav"] = MakeWav(kPcm);
    bench.coder.InputFiles() = {"a.wav", "b.wav"};
    bench.coder.OutputFiles() = {"a.mp3", "b.mp3"};
    bool ended = false;
    bench.coder.OnEndFile = [&](TMP3Coder&, std::uint16_t, const std::string&) { ended = true; };
    bench.coder.OnEndProcess = [&](TMP3Coder&) { ended = true; };
    c.arrange(bench);

    EXPECT_EQ(bench.ProcessError(), c.message) << c.name;
    EXPECT_EQ(bench.files.openFiles, 0) << c.name << ": files left open";
    EXPECT_EQ(bench.encoder.openStreams, 0) << c.name << ": stream left open";
    EXPECT_EQ(bench.encoder.closedStreams, 1) << c.name;
    EXPECT_EQ(bench.files.files["a.mp3"], c.outputLeft) << c.name;
    EXPECT_FALSE(ended) << c.name;
    EXPECT_EQ(bench.files.files.count("b.mp3"), 0u) << c.name << ": the next pair was started";
    EXPECT_EQ(bench.log.back(), "close stream") << c.name << ": cleanup is the last thing done";
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MP3CoderFailures,
    ::testing::Values(
        FailureCase{"short read", [](CoderBench& b) { b.files.readableBytes = 46 + kChunk + 10; }, "Read Error",
                    kPcm.substr(0, kChunk)},
        FailureCase{"encoder refuses a chunk",
                    [](CoderBench& b) {
                        b.encoder.failingEncodeCall = 2;
                        b.encoder.encodeFailure = 5;
                    },
                    "beEncodeChunk failed 5", kPcm.substr(0, kChunk)},
        FailureCase{"large encoder code",
                    [](CoderBench& b) {
                        b.encoder.failingEncodeCall = 1;
                        b.encoder.encodeFailure = 4294967295u;
                    },
                    "beEncodeChunk failed 4294967295", ""},
        FailureCase{"short write of a chunk", [](CoderBench& b) { b.files.writableBytes = kChunk + 7; }, "Write Error",
                    kPcm.substr(0, kChunk + 7)},
        FailureCase{"short write of the flushed frames",
                    [](CoderBench& b) { b.files.writableBytes = kPcm.size() + 2; }, "Write error",
                    kPcm + kFlushedFrames.substr(0, 2)},
        FailureCase{"encoder counts past its buffer", [](CoderBench& b) { b.encoder.overcountingEncodeCall = 2; },
                    "beEncodeChunk output too large 7211", kPcm.substr(0, kChunk)},
        FailureCase{"flush counts past the buffer", [](CoderBench& b) { b.encoder.overcountingFlush = true; },
                    "beDeinitStream output too large 7211", kPcm}));

TEST(MP3CoderFailures, AFailedStreamStartStopsBeforeAnythingIsOpenedOrUsed) {
    CoderBench bench;
    bench.encoder.initResult = 2;
    bench.files.files["a.wav"] = MakeWav(kPcm);
    bench.coder.InputFiles() = {"a.wav"};
    bench.coder.OutputFiles() = {"a.mp3"};
    bool fileBegun = false;
    bench.coder.OnBeginFile = [&](TMP3Coder&, std::uint16_t, const std::string&) { fileBegun = true; };
    EXPECT_EQ(bench.ProcessError(), "beInitStream failed 2");
    EXPECT_EQ(bench.log, (CallLog{"init"})) << ::testing::PrintToString(bench.log);
    EXPECT_FALSE(fileBegun);
    EXPECT_EQ(bench.files.files.count("a.mp3"), 0u);
}

TEST(MP3CoderFailures, AMissingInputReleasesTheStreamAndCreatesNothing) {
    CoderBench bench;
    bench.coder.InputFiles() = {"C:\\gone.wav"};
    bench.coder.OutputFiles() = {"out.mp3"};
    try {
        bench.coder.Process();
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file \"C:\\gone.wav\". The system cannot find the file specified.");
    }
    EXPECT_EQ(bench.encoder.openStreams, 0);
    EXPECT_EQ(bench.files.files.count("out.mp3"), 0u);
}

TEST(MP3CoderFailures, AnOutputThatCannotBeCreatedClosesTheInputAndTheStream) {
    CoderBench bench;
    bench.files.files["in.wav"] = MakeWav(kPcm);
    bench.files.uncreatable.insert("C:\\locked.mp3");
    bench.coder.InputFiles() = {"in.wav"};
    bench.coder.OutputFiles() = {"C:\\locked.mp3"};
    bool ended = false;
    bench.coder.OnEndProcess = [&](TMP3Coder&) { ended = true; };
    try {
        bench.coder.Process();
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file \"C:\\locked.mp3\". Access is denied.");
    }
    EXPECT_EQ(bench.files.openFiles, 0);
    EXPECT_EQ(bench.encoder.openStreams, 0);
    EXPECT_TRUE(bench.encoder.sampleCounts.empty());
    EXPECT_FALSE(ended);
}

TEST(MP3CoderFailures, AnInputWithoutAnOutputNameIsAListIndexError) {
    CoderBench bench;
    bench.files.files["a.wav"] = MakeWav(kPcm);
    bench.files.files["b.wav"] = MakeWav(kPcm);
    bench.coder.InputFiles() = {"a.wav", "b.wav"};
    bench.coder.OutputFiles() = {"a.mp3"};
    EXPECT_THROW(bench.coder.Process(), std::out_of_range);
    EXPECT_EQ(bench.files.files["a.mp3"], kPcm + kFlushedFrames) << "the first pair was done";
    EXPECT_EQ(bench.files.openFiles, 0);
    EXPECT_EQ(bench.encoder.openStreams, 0);
}

TEST(MP3CoderFailures, AnEventHandlerThatThrowsStillLeavesNothingOpen) {
    CoderBench bench;
    bench.files.files["a.wav"] = MakeWav(kPcm);
    bench.coder.InputFiles() = {"a.wav"};
    bench.coder.OutputFiles() = {"a.mp3"};
    bench.coder.OnProgress = [](TMP3Coder&, std::uint16_t) { throw std::runtime_error("handler"); };
    EXPECT_THROW(bench.coder.Process(), std::runtime_error);
    EXPECT_EQ(bench.files.openFiles, 0);
    EXPECT_EQ(bench.encoder.openStreams, 0);
}

}  // namespace
