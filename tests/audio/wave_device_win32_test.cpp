// The recorder against the system's wave input device: the bench's sound
// server offers a capture source (the monitor of its null sink "radio"), so
// what is played into the sink is what gets recorded.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/wave_device_win32.h"
#include "audio/capture_to_file_win32.h"
#include "tests/audio/wave_scripted_device.h"
#include "base/little_endian.h"
#include "tests/support/bench_sound_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "win/handles_win32.h"
#include "win/window_win32.h"

namespace {

class RealDevice : public ::testing::Test {
protected:
    void SetUp() override {
        if (::waveInGetNumDevs() == 0) GTEST_SKIP() << "no capture device (the bench's sound server is not running)";
        ASSERT_FALSE(folder.empty());
    }
    wine_support::ScratchFolder scratch{"capture_"};
    const std::string folder = scratch.Path();
};

TEST_F(RealDevice, ToneRecordedForThreeSecondsIsAThousandHertz) {
    wine_support::PlayingTone tone(8, 1000);
    ASSERT_TRUE(tone.Started());

    const std::string path = folder + "Flumen.wav";
    TWaveRecorder recorder;
    recorder.SetPCMFormat(TPCMFormat::Stereo16bit44100Hz);
    int activations = 0, deactivations = 0;
    recorder.OnActivate = [&](TWaveAudioIO&) { ++activations; };
    recorder.OnDeactivate = [&](TWaveAudioIO&) { ++deactivations; };
    ASSERT_TRUE(recorder.RecordToFile(path));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return activations == 1; }, 5000)) << "no open notification";
    // Three seconds of the device's time: under Wine the sound server takes
    // about a second to deliver the first samples.
    ASSERT_TRUE(wine_support::PumpUntil([&] { return recorder.GetPosition() >= 3000; }, 10000))
        << "captured only " << recorder.GetPosition() << " ms";
    recorder.SetActive(false);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return deactivations == 1; }, 5000)) << "no close notification";
    EXPECT_FALSE(recorder.GetActive());

    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    ASSERT_GE(bytes.size(), 46u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(ReadLe32(bytes, 16), 18u);
    EXPECT_EQ(ReadLe16(bytes, 20), 1);
    EXPECT_EQ(ReadLe16(bytes, 22), 2);
    EXPECT_EQ(ReadLe32(bytes, 24), 44100u);
    EXPECT_EQ(ReadLe32(bytes, 28), 176400u);
    EXPECT_EQ(ReadLe16(bytes, 32), 4);
    EXPECT_EQ(ReadLe16(bytes, 34), 16);
    EXPECT_EQ(ReadLe16(bytes, 36), 0);
    EXPECT_EQ(bytes.substr(38, 4), "data");
    const uint32_t dataSize = ReadLe32(bytes, 42);
    EXPECT_EQ(dataSize % 4, 0u);
    EXPECT_EQ(bytes.size(), 46u + dataSize);
    EXPECT_EQ(ReadLe32(bytes, 4), 38u + dataSize);
    EXPECT_NEAR(static_cast<double>(dataSize), 3.0 * 176400, 176400.0) << "within one buffer of three seconds";
    EXPECT_NEAR(wine_support::MeasureTone(bytes).hz, 1000.0, 10.0);
}

TEST_F(RealDevice, NewRecordingStartedFromOnDeactivateRunsOnAFreshWindow) {
    MemoryByteStream first, second;
    TWaveRecorder recorder;
    recorder.SetBufferLength(100);
    int activations = 0, deactivations = 0;
    recorder.OnActivate = [&](TWaveAudioIO&) { ++activations; };
    // Runs inside the first callback window's own message handler.
    recorder.OnDeactivate = [&](TWaveAudioIO& sender) {
        if (++deactivations == 1) static_cast<TWaveRecorder&>(sender).RecordToStream(&second, false);
    };
    ASSERT_TRUE(recorder.RecordToStream(&first, false));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return recorder.GetPosition() >= 200; }, 10000));
    recorder.SetActive(false);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return activations == 2; }, 5000)) << "the second open never came";
    EXPECT_TRUE(recorder.GetActive());
    ASSERT_TRUE(wine_support::PumpUntil([&] { return recorder.GetPosition() >= 200; }, 10000));
    recorder.SetActive(false);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return deactivations == 2; }, 5000));
    EXPECT_GT(ReadLe32(first.Bytes(), 42), 0u);
    EXPECT_GT(ReadLe32(second.Bytes(), 42), 0u);
}

std::atomic<int> threadActivations{0}, threadDeactivations{0};
std::atomic<DWORD> callbackThread{0};

TEST_F(RealDevice, ThreadModeCapturesInTheCallbackThreadAndCloses) {
    MemoryByteStream stream, again;  // outlive the recorder, which writes to them until it goes
    {
        TWaveRecorder recorder;
        recorder.SetPCMFormat(TPCMFormat::Stereo16bit44100Hz);
        recorder.SetBufferLength(100);
        recorder.SetAsync(true);
        threadActivations = threadDeactivations = 0;
        recorder.OnActivate = [](TWaveAudioIO&) {
            callbackThread = ::GetCurrentThreadId();
            ++threadActivations;
        };
        recorder.OnDeactivate = [](TWaveAudioIO&) { ++threadDeactivations; };
        ASSERT_TRUE(recorder.RecordToStream(&stream, false));
        ASSERT_TRUE(wine_support::PumpUntil([] { return threadActivations == 1; }, 5000));
        EXPECT_NE(callbackThread.load(), ::GetCurrentThreadId());
        ASSERT_TRUE(wine_support::PumpUntil([&] { return recorder.GetPosition() >= 1000; }, 10000));
        recorder.SetActive(false);
        ASSERT_TRUE(wine_support::PumpUntil([] { return threadDeactivations == 1; }, 5000));

        // A second recording on the same component starts a new callback thread.
        ASSERT_TRUE(recorder.RecordToStream(&again, false));
        ASSERT_TRUE(wine_support::PumpUntil([] { return threadActivations == 2; }, 5000));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return recorder.GetPosition() >= 300; }, 10000));
    }  // destroyed while capturing: waits for the close, no OnDeactivate
    EXPECT_EQ(threadDeactivations, 1);
    const std::string& bytes = stream.Bytes();
    ASSERT_GE(bytes.size(), 46u);
    const uint32_t dataSize = ReadLe32(bytes, 42);
    EXPECT_GT(dataSize, 100000u);
    EXPECT_EQ(dataSize % 4, 0u);
    EXPECT_EQ(bytes.size(), 46u + dataSize);
}

std::vector<std::string> reported;
void RecordReport() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        reported.push_back(e.what());
    }
}

// A stream that refuses every sample write (the header goes through).
class FullDisk : public MemoryByteStream {
public:
    std::atomic<bool> full{false};
    int32_t Write(const void* buffer, int32_t count) override { return full ? 0 : MemoryByteStream::Write(buffer, count); }
};

TEST_F(RealDevice, FailedWriteInANotificationGoesToTheErrorHandlerAndCaptureGoesOn) {
    reported.clear();
    const DeviceExceptionHandler previous = SetDeviceExceptionHandler(&RecordReport);
    FullDisk stream;
    {
        TWaveRecorder recorder;
        recorder.SetPCMFormat(TPCMFormat::Mono16bit22050Hz);
        recorder.SetBufferLength(100);
        std::atomic<int> buffers{0};
        recorder.OnLevel = [&](TWaveAudioIO&, int32_t) { ++buffers; };
        ASSERT_TRUE(recorder.RecordToStream(&stream, false));
        stream.full = true;
        ASSERT_TRUE(wine_support::PumpUntil([&] { return buffers >= 3; }, 10000));
        stream.full = false;
        ASSERT_TRUE(wine_support::PumpUntil([&] { return buffers >= 5; }, 5000)) << "capture stopped";
    }
    SetDeviceExceptionHandler(previous);
    ASSERT_GE(reported.size(), 1u);
    std::string text;
    char buffer[256] = {};
    if (::waveInGetErrorTextA(MMSYSERR_ERROR, buffer, sizeof buffer) == MMSYSERR_NOERROR) text = buffer;
    EXPECT_EQ(reported[0], text);
    EXPECT_GT(ReadLe32(stream.Bytes(), 42), 0u) << "later buffers were written";
}

std::atomic<DWORD> reportThread{0};
std::atomic<int> reportCount{0};
void RecordReportThread() noexcept {
    reportThread = ::GetCurrentThreadId();
    ++reportCount;
}

TEST_F(RealDevice, ThreadModeFailuresReachTheOwnersThreadAndTheDeviceStillCloses) {
    const DeviceExceptionHandler previous = SetDeviceExceptionHandler(&RecordReportThread);
    reportThread = 0;
    reportCount = 0;
    FullDisk stream;
    {
        TWaveRecorder recorder;
        recorder.SetPCMFormat(TPCMFormat::Mono16bit22050Hz);
        recorder.SetBufferLength(100);
        recorder.SetAsync(true);
        std::atomic<int> deactivations{0};
        recorder.OnDeactivate = [&](TWaveAudioIO&) { ++deactivations; };
        ASSERT_TRUE(recorder.RecordToStream(&stream, false));
        stream.full = true;
        // The failures are handled by this thread's messages, so pump them.
        ASSERT_TRUE(wine_support::PumpUntil([] { return reportCount >= 2; }, 10000)) << "no failure reported here";
        EXPECT_EQ(reportThread.load(), ::GetCurrentThreadId());
        recorder.SetActive(false);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return deactivations == 1; }, 5000)) << "the device did not close";
    }
    SetDeviceExceptionHandler(previous);
}

// The program root goes after its message loop has taken WM_QUIT: a device
// that never reports its close must not hold up the end. The scripted device
// keeps its notifications to itself, so the real window or thread never hears
// of the close. A pending WM_QUIT neither cuts the wait short nor is lost.
TEST(DeviceWaits, ACloseNeverReportedEndsTheWaitAtItsLimitAndIsReported) {
    struct Row {
        const char* name;
        bool async;
        bool quitPending;
    };
    const DeviceExceptionHandler previous = SetDeviceExceptionHandler(&RecordReport);
    for (Row row : {Row{"window mode", false, false}, Row{"window mode, WM_QUIT pending", false, true},
                    Row{"thread mode", true, false}}) {
        reported.clear();
        ScriptedWaveBench bench;
        MemoryByteStream stream;
        ULONGLONG start = 0;
        {
            TWaveRecorder recorder(MakeScriptedDevice(bench), MakeWaveCallbackHost());
            recorder.SetAsync(row.async);
            ASSERT_TRUE(recorder.RecordToStream(&stream, false)) << row.name;
            if (row.quitPending) ::PostQuitMessage(5);
            start = ::GetTickCount64();
        }
        const ULONGLONG waited = ::GetTickCount64() - start;
        EXPECT_GE(waited + 50, kDeviceWaitLimitMs) << row.name;
        EXPECT_LT(waited, kDeviceWaitLimitMs + 3000) << row.name;
        EXPECT_EQ(reported, std::vector<std::string>{kDeviceDidNotCloseMessage}) << row.name;
        EXPECT_EQ(ReadLe32(stream.Bytes(), 4), 38u) << row.name << ": the file is finalised all the same";
        MSG msg;
        EXPECT_EQ(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, row.quitPending) << row.name;
    }
    SetDeviceExceptionHandler(previous);
}

TEST_F(RealDevice, QueriesDescribeTheDefaultInput) {
    TWaveRecorder recorder;
    EXPECT_GE(recorder.GetNumDevs(), 1u);
    EXPECT_FALSE(recorder.GetDeviceName().empty());
    const TPCMFormatSet formats = recorder.GetDeviceFormats();
    EXPECT_TRUE(formats.Contains(TPCMFormat::Mono8Bit8000Hz));
    EXPECT_FALSE(formats.Contains(TPCMFormat::Stereo16bit48000Hz));
    EXPECT_TRUE(recorder.IsPCMFormatSupported(TPCMFormat::Stereo16bit44100Hz));
    EXPECT_FALSE(recorder.GetErrorText(MMSYSERR_NOMEM).empty());
    EXPECT_EQ(recorder.GetErrorText(0xBAD), "");
    EXPECT_EQ(recorder.GetPosition(), 0u);
}

}  // namespace
