// The WAV file byte by byte, written through the system's mmio functions by
// the recorder, with the scripted device standing in for the sound card so
// that every edge (half buffers, odd counts, failed opens) happens on demand.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "audio/capture_to_file_win32.h"
#include "audio/wave_file_writer_win32.h"
#include "tests/audio/wave_scripted_device.h"
#include "base/little_endian.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

namespace {

std::string Le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// The 46-byte header for a format and data size.
std::string ExpectedHeader(TPCMFormat format, uint32_t dataSize) {
    WaveFormatEx f{};
    FillPCMFormat(f, format);
    return WaveFileHeader(f, dataSize);
}

class WaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = wine_support::MakeTempFolder("wave_");
        ASSERT_FALSE(folder.empty());
        path = folder + "capture.wav";
    }
    void TearDown() override {
        recorder.reset();
        ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }

    TWaveRecorder& MakeRecorder(TPCMFormat format, uint16_t lengthMs) {
        recorder = std::make_unique<TWaveRecorder>(MakeScriptedDevice(bench), MakeScriptedHost(bench));
        recorder->SetPCMFormat(format);
        recorder->SetBufferLength(lengthMs);
        recorder->OnDeactivate = [this](TWaveAudioIO&) {
            ++deactivations;
            wine_support::ReadFileBytes(path, fileAtDeactivate);
        };
        return *recorder;
    }

    void CaptureInSteps(uint64_t count, uint64_t step) {
        for (uint64_t done = 0; done < count; done += step) {
            bench.Capture(std::min(step, count - done));
            bench.DeliverAll();
        }
    }

    std::string Expected(uint64_t from, uint64_t count) {
        std::string s;
        for (uint64_t i = from; i < from + count; ++i) s += static_cast<char>(bench.sample(i));
        return s;
    }

    std::string File() {
        std::string bytes;
        EXPECT_TRUE(wine_support::ReadFileBytes(path, bytes)) << path;
        return bytes;
    }

    // The recorder keeps the file open without sharing while it captures; the
    // Unix side can still look at it.
    std::string FileWhileOpen() {
        const std::string copy = folder + "peek.wav";
        const std::string unixPath = wine_support::UnixPathOf(path);
        EXPECT_EQ(wine_support::RunUnixShell("cp '" + unixPath + "' '" + wine_support::UnixPathOf(copy) + "'"), 0);
        std::string bytes;
        EXPECT_TRUE(wine_support::ReadFileBytes(copy, bytes));
        ::DeleteFileA(copy.c_str());
        return bytes;
    }

    ScriptedWaveBench bench;
    std::unique_ptr<TWaveRecorder> recorder;
    std::string folder, path, fileAtDeactivate;
    int deactivations = 0;
};

TEST_F(WaveFile, HeaderHasZeroSizesWhileCapturingAndFinalSizesAtDeactivate) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Stereo16bit44100Hz, 10);  // 1764-byte buffers
    ASSERT_TRUE(r.RecordToFile(path));
    EXPECT_EQ(FileWhileOpen(), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0).substr(0, 4) + Le32(0) +
                          ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0).substr(8, 34) + Le32(0));
    bench.DeliverAll();

    CaptureInSteps(1764 + 880, 1764);  // one and a half buffers, in whole frames
    const std::string during = FileWhileOpen();
    ASSERT_EQ(during.size(), 46u + 1764u) << "the full buffer is in the file, nothing else";
    EXPECT_EQ(ReadLe32(during, 4), 0u);
    EXPECT_EQ(ReadLe32(during, 42), 0u);

    r.SetActive(false);
    bench.DeliverAll();
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(fileAtDeactivate.size(), 46u + 2644u) << "the file is complete before OnDeactivate";
    const std::string after = File();
    EXPECT_EQ(after.substr(0, 46), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 2644));
    EXPECT_EQ(ReadLe32(after, 42) % 4, 0u);
    EXPECT_EQ(after.substr(46), Expected(0, 2644));
    EXPECT_EQ(bench.calls.back(), "Close");
}

TEST_F(WaveFile, OddEightBitMonoDataGetsAPadByteCountedOnlyByRiff) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);  // 80-byte buffers
    ASSERT_TRUE(r.RecordToFile(path));
    bench.DeliverAll();
    CaptureInSteps(81, 80);
    r.SetActive(false);
    bench.DeliverAll();
    const std::string bytes = File();
    ASSERT_EQ(bytes.size(), 46u + 81u + 1u);
    EXPECT_EQ(ReadLe32(bytes, 42), 81u);
    EXPECT_EQ(ReadLe32(bytes, 4), 38u + 82u);
    EXPECT_EQ(bytes.substr(46, 81), Expected(0, 81));
    EXPECT_EQ(bytes.back(), '\0');
}

TEST_F(WaveFile, ExistingLongerFileKeepsNoTrailingBytes) {
    ASSERT_TRUE(wine_support::WriteFileBytes(path, std::string(100000, 'Z')));
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono16bit8000Hz, 10);  // 160-byte buffers
    ASSERT_TRUE(r.RecordToFile(path));
    bench.DeliverAll();
    CaptureInSteps(200, 160);
    r.SetActive(false);
    bench.DeliverAll();
    const std::string bytes = File();
    EXPECT_EQ(bytes.size(), 46u + 200u);
    EXPECT_EQ(bytes.substr(46), Expected(0, 200));
    EXPECT_EQ(bytes.substr(0, 46), ExpectedHeader(TPCMFormat::Mono16bit8000Hz, 200));
}

TEST_F(WaveFile, RefusedOpenLeavesAHeaderOnlyFileAndReleasesIt) {
    bench.failures["Open"] = 4;  // the device is taken
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Stereo16bit44100Hz, 1000);
    EXPECT_THROW(r.RecordToFile(path), EWaveAudioSysError);
    EXPECT_FALSE(r.GetActive());
    EXPECT_EQ(File(), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0));
    EXPECT_EQ(ReadLe32(File(), 4), 38u);
    EXPECT_TRUE(::DeleteFileA(path.c_str())) << "the file was left open, error " << ::GetLastError();
    EXPECT_EQ(deactivations, 0);

    bench.failures.clear();
    std::vector<uint32_t> errors;
    r.OnError = [&](TWaveAudioIO& sender) { errors.push_back(sender.LastError()); };
    bench.failures["Query"] = 32;  // format not supported
    EXPECT_FALSE(r.RecordToFile(path));
    EXPECT_EQ(errors, std::vector<uint32_t>{32});
    EXPECT_EQ(File(), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0));
}

TEST_F(WaveFile, RecordingAgainWhileClosingFinalisesThePreviousFileFirst) {
    const std::string second = folder + "second.wav";
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    ASSERT_TRUE(r.RecordToFile(path));
    bench.DeliverAll();
    CaptureInSteps(100, 80);
    r.SetActive(false);  // the close notification is still on its way
    ASSERT_TRUE(r.RecordToFile(second));
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(File().substr(0, 46), ExpectedHeader(TPCMFormat::Mono8Bit8000Hz, 100));
    EXPECT_TRUE(::DeleteFileA(path.c_str())) << "the first file is released";

    bench.DeliverAll();
    CaptureInSteps(80, 80);
    r.SetActive(false);
    bench.DeliverAll();
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(second, bytes));
    EXPECT_EQ(bytes.substr(0, 46), ExpectedHeader(TPCMFormat::Mono8Bit8000Hz, 80));
    EXPECT_EQ(bytes.substr(46), Expected(100, 80));
    ::DeleteFileA(second.c_str());
}

TEST_F(WaveFile, DestroyingTheRecorderFinalisesTheFileWithoutDeactivate) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    ASSERT_TRUE(r.RecordToFile(path));
    bench.DeliverAll();
    CaptureInSteps(120, 80);
    recorder.reset();
    EXPECT_EQ(deactivations, 0);
    EXPECT_EQ(File().substr(0, 46), ExpectedHeader(TPCMFormat::Mono8Bit8000Hz, 120));
}

TEST_F(WaveFile, FileThatCannotBeCreatedStopsBeforeTheDevice) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    const std::string missing = folder + "no such folder\\x.wav";
    try {
        r.RecordToFile(missing);
        ADD_FAILURE() << "created " << missing;
    } catch (const EStreamError& e) {
        const std::string prefix = "Cannot create file \"" + missing + "\". ";
        EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix) << e.what();
        EXPECT_GT(std::strlen(e.what()), prefix.size()) << "the system's reason follows";
    }
    EXPECT_TRUE(bench.calls.empty());
    EXPECT_FALSE(r.GetActive());
}

// A stream that refuses writes on demand.
class FlakyStream : public MemoryByteStream {
public:
    bool refuse = false;
    int writes = 0;
    int32_t Write(const void* buffer, int32_t count) override {
        ++writes;
        return refuse ? 0 : MemoryByteStream::Write(buffer, count);
    }
};

TEST_F(WaveFile, ShortWriteIsReportedAndCaptureGoesOn) {
    FlakyStream stream;
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    ASSERT_TRUE(r.RecordToStream(&stream, false));
    bench.DeliverAll();
    const int headerWrites = stream.writes;
    CaptureInSteps(80, 80);
    stream.refuse = true;
    CaptureInSteps(80, 80);
    stream.refuse = false;
    CaptureInSteps(80, 80);
    EXPECT_EQ(stream.writes - headerWrites, 3) << "one stream write per buffer";
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"Unspecified error"});
    r.SetActive(false);
    bench.DeliverAll();
    const std::string& bytes = stream.Bytes();
    EXPECT_EQ(ReadLe32(bytes, 42), 160u) << "the refused buffer is missing, the others are there";
    EXPECT_EQ(bytes.substr(46, 80), Expected(0, 80));
    EXPECT_EQ(bytes.substr(126, 80), Expected(160, 80));
}

// Writes only part of one buffer, as a full disk does.
class ShortWritingStream : public MemoryByteStream {
public:
    int32_t shortWrite = -1;  // bytes the next write takes, once
    int32_t Write(const void* buffer, int32_t count) override {
        const int32_t n = shortWrite >= 0 ? std::min(shortWrite, count) : count;
        shortWrite = -1;
        return MemoryByteStream::Write(buffer, n);
    }
};

// Takes writesLeft more writes, then refuses every one.
class ShortWritingAfter : public MemoryByteStream {
public:
    int writesLeft = INT_MAX;
    int32_t Write(const void* buffer, int32_t count) override {
        if (writesLeft == 0) return 0;
        --writesLeft;
        return MemoryByteStream::Write(buffer, count);
    }
};

TEST_F(WaveFile, PartialWriteKeepsTheFileOnFrameBoundaries) {
    ShortWritingStream stream;
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Stereo16bit8000Hz, 10);  // 320-byte buffers, 4-byte frames
    ASSERT_TRUE(r.RecordToStream(&stream, false));
    bench.DeliverAll();
    CaptureInSteps(320, 320);
    stream.shortWrite = 150;  // 37 frames and half of one
    CaptureInSteps(320, 320);
    CaptureInSteps(320, 320);
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"Unspecified error"});
    r.SetActive(false);
    bench.DeliverAll();
    const std::string& bytes = stream.Bytes();
    const uint32_t dataSize = ReadLe32(bytes, 42);
    EXPECT_EQ(dataSize, 320u + 148u + 320u);
    EXPECT_EQ(dataSize % 4, 0u);
    EXPECT_EQ(bytes.size(), 46u + dataSize) << "no stray half frame at the end";
    EXPECT_EQ(ReadLe32(bytes, 4), 38u + dataSize);
    EXPECT_EQ(bytes.substr(46, 468), Expected(0, 468));
    EXPECT_EQ(bytes.substr(46 + 468, 320), Expected(640, 320)) << "the next buffer starts on a frame";
}

// The close that cannot complete the header: OnDeactivate can take the
// failure (the recorder window shows it); one nobody takes is reported.
TEST_F(WaveFile, AHeaderThatCannotBeCompletedIsTakenAtDeactivateOrReported) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    std::string taken;
    r.OnDeactivate = [&](TWaveAudioIO&) { taken = r.TakeFileError(); };
    for (bool withTaker : {true, false}) {
        if (!withTaker) r.OnDeactivate = nullptr;
        FlakyStream stream;
        ASSERT_TRUE(r.RecordToStream(&stream, false));
        bench.DeliverAll();
        CaptureInSteps(80, 80);  // a whole buffer: only the sizes are left to write
        stream.refuse = true;
        r.SetActive(false);
        bench.DeliverAll();
        EXPECT_FALSE(r.GetActive());
    }
    const std::string message = "L'en-tête du fichier WAV n'a pas pu être complété (écriture impossible).";
    EXPECT_EQ(taken, message);
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{message}) << "reported once, when nobody took it";
}

TEST_F(WaveFile, UnwritableHeaderStillOpensAndFailsTheFirstBuffer) {
    FlakyStream stream;
    stream.refuse = true;
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    ASSERT_TRUE(r.RecordToStream(&stream, false));
    bench.DeliverAll();
    EXPECT_TRUE(r.GetActive());
    CaptureInSteps(80, 80);
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"Unspecified error"});
    r.SetActive(false);
    bench.DeliverAll();
    EXPECT_FALSE(r.GetActive());
}

class MemoryStorage : public TCustomWaveStorage {
public:
    MemoryByteStream stream;
    ByteStream* WritableStream() override { return &stream; }
    ByteStream* ReadableStream() override { return &stream; }
};

TEST_F(WaveFile, SetActiveRecordsIntoTheStockAndNeedsOne) {
    TWaveRecorder& r = MakeRecorder(TPCMFormat::Mono8Bit8000Hz, 10);
    try {
        r.SetActive(true);
        ADD_FAILURE() << "activated without a storage";
    } catch (const EWaveAudioInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Stock property is not assigned");
    }
    EXPECT_TRUE(bench.calls.empty());
    {
        MemoryStorage storage;
        r.SetStock(&storage);
        r.SetActive(true);
        bench.DeliverAll();
        CaptureInSteps(80, 80);
        r.SetActive(false);
        bench.DeliverAll();
        EXPECT_EQ(storage.stream.Bytes().substr(0, 46), ExpectedHeader(TPCMFormat::Mono8Bit8000Hz, 80));
    }
    EXPECT_EQ(r.Stock(), nullptr) << "the storage's end clears the reference";
}

TEST(StreamIOProc, MovesBytesAtTheDiskOffsetAndReportsFailures) {
    MemoryByteStream stream;
    MMIOINFO info{};
    ByteStream* p = &stream;
    std::memcpy(info.adwInfo, &p, sizeof p);
    auto call = [&](UINT msg, LPARAM p1, LPARAM p2) { return StreamIOProc(reinterpret_cast<LPSTR>(&info), msg, p1, p2); };

    info.lDiskOffset = 77;
    EXPECT_EQ(call(MMIOM_OPEN, 0, 0), 0);
    EXPECT_EQ(info.lDiskOffset, 0);
    char text[] = "abcdef";
    EXPECT_EQ(call(MMIOM_WRITE, reinterpret_cast<LPARAM>(text), 6), 6);
    EXPECT_EQ(info.lDiskOffset, 6);
    EXPECT_EQ(call(MMIOM_SEEK, -4, SEEK_CUR), 2);
    EXPECT_EQ(call(MMIOM_WRITEFLUSH, reinterpret_cast<LPARAM>("XY"), 2), 2);
    EXPECT_EQ(stream.Bytes(), "abXYef");
    EXPECT_EQ(call(MMIOM_SEEK, -1, SEEK_END), 5);
    char out[8] = {};
    EXPECT_EQ(call(MMIOM_READ, reinterpret_cast<LPARAM>(out), 8), 1);
    EXPECT_EQ(out[0], 'f');
    EXPECT_EQ(info.lDiskOffset, 6);
    EXPECT_EQ(call(MMIOM_SEEK, -1, SEEK_SET), -1) << "a seek before the start";
    EXPECT_EQ(call(MMIOM_CLOSE, 0, 0), 0);

    MMIOINFO empty{};
    EXPECT_EQ(StreamIOProc(reinterpret_cast<LPSTR>(&empty), MMIOM_OPEN, 0, 0), -1);
    EXPECT_EQ(StreamIOProc(nullptr, MMIOM_WRITE, 0, 0), -1);
}

TEST(WaveWriter, EveryBufferIsOneStreamWriteAfterTheHeader) {
    FlakyStream stream;
    WaveFormatEx format{};
    FillPCMFormat(format, TPCMFormat::Stereo16bit44100Hz);
    MMCKINFO riff{}, data{};
    UniqueMmio writer = CreateWaveWriter(&stream, format, riff, data);
    ASSERT_TRUE(writer);
    EXPECT_EQ(stream.Bytes(), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0).substr(0, 4) + Le32(0) +
                                  ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 0).substr(8, 34) + Le32(0));
    const int before = stream.writes;
    std::string block(1000, 'q');
    for (int i = 0; i < 3; ++i) ASSERT_EQ(::mmioWrite(writer.get(), block.data(), 1000), 1000);
    EXPECT_EQ(stream.writes - before, 3);
    EXPECT_EQ(CloseWaveWriter(writer.release(), riff, data), MMSYSERR_NOERROR);
    EXPECT_EQ(stream.Bytes().substr(0, 46), ExpectedHeader(TPCMFormat::Stereo16bit44100Hz, 3000));
    EXPECT_EQ(stream.Bytes().size(), 3046u);
}

// Odd data needs a pad byte as well as the two sizes: refusing the first
// write or the last, the header stays incomplete and the close says so.
TEST(WaveWriter, AHeaderThatCannotBeCompletedIsAFailedClose) {
    for (int allowed : {0, 1, 2}) {
        ShortWritingAfter stream;
        WaveFormatEx format{};
        FillPCMFormat(format, TPCMFormat::Mono8Bit8000Hz);
        MMCKINFO riff{}, data{};
        UniqueMmio writer = CreateWaveWriter(&stream, format, riff, data);
        ASSERT_TRUE(writer);
        ASSERT_EQ(::mmioWrite(writer.get(), "abc", 3), 3);
        stream.writesLeft = allowed;
        EXPECT_NE(CloseWaveWriter(writer.release(), riff, data), MMSYSERR_NOERROR) << allowed << " writes allowed";
    }
}

}  // namespace
