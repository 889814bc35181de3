// The capture engine against the scripted device: the buffer cycle, the open /
// close order, misuse and failures, with notifications delivered the way the
// system delivers them (posted, then handled when the thread pumps).
#include "audio/wave_audio_in.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/audio/wave_scripted_device.h"

namespace {

// A capture component that records what it is handed and exposes the
// protected open/close for the misuse checks.
class ProbeIn : public TWaveAudioIn {
public:
    explicit ProbeIn(ScriptedWaveBench& bench) : TWaveAudioIn(MakeScriptedDevice(bench), MakeScriptedHost(bench)) {}
    ~ProbeIn() override { ShutDown(); }

    struct Chunk {
        const void* block;
        std::string bytes;
    };
    std::vector<Chunk> chunks;
    std::vector<void*> kept;
    bool keepBlocks = false;
    std::string throwFromProcessData;

    using TWaveAudioIn::InternalClose;
    using TWaveAudioIn::InternalOpen;

protected:
    void ProcessData(void* buffer, uint32_t size, bool& freeIt) override {
        chunks.push_back({buffer, std::string(static_cast<const char*>(buffer), size)});
        if (!throwFromProcessData.empty()) throw std::runtime_error(throwFromProcessData);
        if (keepBlocks) {
            freeIt = false;
            kept.push_back(buffer);
        }
    }
};

class Capture : public ::testing::Test {
protected:
    ScriptedWaveBench bench;
    std::vector<std::string> events;

    std::unique_ptr<ProbeIn> MakeIn(TPCMFormat format = TPCMFormat::Mono8Bit8000Hz, uint16_t lengthMs = 10) {
        auto in = std::make_unique<ProbeIn>(bench);
        in->SetPCMFormat(format);
        in->SetBufferLength(lengthMs);  // 80 bytes per buffer at 8 kHz 8-bit mono
        in->OnActivate = [this](TWaveAudioIO&) { events.push_back("activate"); };
        in->OnDeactivate = [this](TWaveAudioIO&) { events.push_back("deactivate"); };
        in->OnPause = [this](TWaveAudioIO&) { events.push_back("pause"); };
        in->OnResume = [this](TWaveAudioIO&) { events.push_back("resume"); };
        return in;
    }

    std::string Expected(uint64_t from, uint64_t count) {
        std::string s;
        for (uint64_t i = from; i < from + count; ++i) s += static_cast<char>(bench.sample(i));
        return s;
    }

    // The device fills count bytes while the thread keeps handling its
    // notifications, so no buffer is ever missing from the queue.
    void CaptureInSteps(uint64_t count, uint64_t step = 80) {
        for (uint64_t done = 0; done < count; done += step) {
            bench.Capture(std::min(step, count - done));
            bench.DeliverAll();
        }
    }

    size_t CountCalls(const std::string& name) { return std::count(bench.calls.begin(), bench.calls.end(), name); }
};

TEST_F(Capture, BufferLengthBelowTenReadsBackTen) {
    auto in = MakeIn();
    for (uint16_t value : {5, 0, 9}) {
        in->SetBufferLength(value);
        EXPECT_EQ(in->BufferLength(), 10) << "set " << value;
    }
    in->SetBufferLength(11);
    EXPECT_EQ(in->BufferLength(), 11);
    in->SetBufferCount(0);
    EXPECT_EQ(in->BufferCount(), 0);
}

TEST_F(Capture, DefaultsAfterCreation) {
    ProbeIn in(bench);
    EXPECT_EQ(in.PCMFormat(), TPCMFormat::Mono16bit8000Hz);
    EXPECT_EQ(in.BufferLength(), 1000);
    EXPECT_EQ(in.BufferCount(), 2);
    EXPECT_FALSE(in.Async());
    EXPECT_FALSE(in.GetActive());
    EXPECT_FALSE(in.GetPaused());
}

TEST_F(Capture, OpensQueuesActivatesThenStartsAndProcessesEveryFullBuffer) {
    auto in = MakeIn();
    in->SetActive(true);
    EXPECT_TRUE(in->GetActive());
    EXPECT_TRUE(events.empty()) << "OnActivate waits for the device's open notification";
    bench.DeliverAll();
    const std::vector<std::string> opening = {"Query", "Open", "Prepare", "AddBuffer", "Prepare", "AddBuffer", "Start"};
    EXPECT_EQ(bench.calls, opening);
    EXPECT_EQ(events, std::vector<std::string>{"activate"});
    EXPECT_EQ(in->ActiveBufferCount(), 2);

    CaptureInSteps(80 * 3 + 20);
    ASSERT_EQ(in->chunks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(in->chunks[i].bytes, Expected(80 * i, 80)) << "buffer " << i;
    // The same two blocks go round: no new allocation per buffer.
    EXPECT_EQ(in->chunks[0].block, in->chunks[2].block);
    EXPECT_NE(in->chunks[0].block, in->chunks[1].block);
    EXPECT_EQ(in->ActiveBufferCount(), 2);
    EXPECT_EQ(bench.queued.size(), 2u);
}

TEST_F(Capture, StopWithAHalfFullBufferProcessesItAndNotTheEmptyOne) {
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(80 + 30);
    bench.DeliverAll();
    in->SetActive(false);
    EXPECT_TRUE(in->GetActive()) << "active until the device reports it closed";
    bench.DeliverAll();

    ASSERT_EQ(in->chunks.size(), 2u);
    EXPECT_EQ(in->chunks[1].bytes, Expected(80, 30));
    EXPECT_FALSE(in->GetActive());
    EXPECT_EQ(in->ActiveBufferCount(), 0);
    EXPECT_EQ(CountCalls("Close"), 1u);
    EXPECT_EQ(events, (std::vector<std::string>{"activate", "deactivate"}));
    EXPECT_FALSE(bench.targetAlive);
}

TEST_F(Capture, BufferCountZeroOpensAndActivatesWithoutBuffers) {
    auto in = MakeIn();
    in->SetBufferCount(0);
    in->SetActive(true);
    bench.DeliverAll();
    EXPECT_EQ(events, std::vector<std::string>{"activate"});
    EXPECT_EQ(in->ActiveBufferCount(), 0);
    EXPECT_EQ(CountCalls("AddBuffer"), 0u);
    bench.Capture(1000);
    in->SetActive(false);
    bench.DeliverAll();
    EXPECT_TRUE(in->chunks.empty());
    EXPECT_EQ(CountCalls("Close"), 1u) << "with no buffer out, the close follows the reset at once";
    EXPECT_FALSE(in->GetActive());
}

TEST_F(Capture, SetActiveToTheCurrentStateDoesNothing) {
    auto in = MakeIn();
    EXPECT_NO_THROW(in->SetActive(false));
    EXPECT_TRUE(bench.calls.empty());
    in->SetActive(true);
    EXPECT_NO_THROW(in->SetActive(true));
    EXPECT_EQ(CountCalls("Open"), 1u);
    bench.DeliverAll();

    in->SetActive(false);
    EXPECT_NO_THROW(in->SetActive(false)) << "the second stop returns at once while closing";
    EXPECT_EQ(CountCalls("Reset"), 1u);
    bench.DeliverAll();
    EXPECT_FALSE(in->GetActive());
}

TEST_F(Capture, MisuseRaisesTheFixedMessages) {
    auto in = MakeIn();
    try {
        in->InternalClose();
        ADD_FAILURE() << "closing an inactive device raised nothing";
    } catch (const EWaveAudioInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Device is aleardy close");
    }
    in->SetActive(true);
    try {
        in->InternalOpen();
        ADD_FAILURE() << "opening an active device raised nothing";
    } catch (const EWaveAudioInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Device is aleardy open");
    }
    EXPECT_EQ(CountCalls("Open"), 1u);
    bench.DeliverAll();
}

TEST_F(Capture, FormatIsFixedWhileTheDeviceIsOpen) {
    auto in = MakeIn(TPCMFormat::Stereo16bit44100Hz, 1000);
    in->SetActive(true);
    EXPECT_NO_THROW(in->SetPCMFormat(TPCMFormat::Stereo16bit44100Hz)) << "the current value is always accepted";
    try {
        in->SetPCMFormat(TPCMFormat::Mono8Bit8000Hz);
        ADD_FAILURE() << "format changed while open";
    } catch (const EWaveAudioInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Audio format cannot be changed while device is open");
    }
    EXPECT_EQ(in->PCMFormat(), TPCMFormat::Stereo16bit44100Hz);
    EXPECT_EQ(in->BufferSize(), 176400u);
    in->SetActive(false);
    bench.DeliverAll();
    EXPECT_NO_THROW(in->SetPCMFormat(TPCMFormat::Mono8Bit8000Hz));
}

TEST_F(Capture, DestroyingACapturingComponentWaitsForTheCloseWithoutDeactivate) {
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(100);
    bench.DeliverAll();
    in.reset();
    EXPECT_EQ(CountCalls("Reset"), 1u);
    EXPECT_EQ(CountCalls("Close"), 1u);
    EXPECT_FALSE(bench.open);
    EXPECT_TRUE(bench.posted.empty()) << "the close notification was handled before the component went";
    EXPECT_EQ(events, std::vector<std::string>{"activate"});
}

TEST_F(Capture, NoFormatAndNoFormatHandlerFailsWithInvalidParameter) {
    auto in = MakeIn(TPCMFormat::nonePCM);
    try {
        in->SetActive(true);
        ADD_FAILURE() << "opened without a format";
    } catch (const EWaveAudioSysError& e) {
        EXPECT_STREQ(e.what(), "Invalid parameter");
    }
    EXPECT_EQ(in->LastError(), 11u);
    EXPECT_FALSE(in->GetActive());
    EXPECT_TRUE(bench.calls.empty()) << "the device was never asked";

    int errors = 0;
    in->OnError = [&](TWaveAudioIO&) { ++errors; };
    EXPECT_NO_THROW(in->SetActive(true));
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(in->GetActive());
}

TEST_F(Capture, FormatHandlerSuppliesTheRecordForNone) {
    auto in = MakeIn(TPCMFormat::nonePCM);
    in->OnFormat = [](TWaveAudioIO&, WaveFormatEx*& record, bool& freeIt) {
        record = static_cast<WaveFormatEx*>(std::malloc(sizeof(WaveFormatEx)));
        FillPCMFormat(*record, TPCMFormat::Stereo16bit22050Hz);
        freeIt = true;
    };
    in->SetActive(true);
    EXPECT_EQ(in->WaveFormat().samplesPerSec, 22050u);
    EXPECT_EQ(in->WaveFormat().channels, 2);
    bench.DeliverAll();
    in->SetActive(false);
    bench.DeliverAll();
}

TEST_F(Capture, DeviceRefusalsReachTheCallerAndLeaveNoTarget) {
    struct Row {
        const char* call;
        uint32_t targets;  // callback targets made before the failure
    };
    for (Row row : {Row{"Query", 0u}, Row{"Open", 1u}}) {
        ScriptedWaveBench local;
        local.failures[row.call] = kMmSysNoMem;
        ProbeIn in(local);
        try {
            in.SetActive(true);
            ADD_FAILURE() << row.call << " refused, yet nothing raised";
        } catch (const EWaveAudioSysError& e) {
            EXPECT_STREQ(e.what(), "Out of memory") << row.call;
        }
        EXPECT_EQ(in.LastError(), kMmSysNoMem) << row.call;
        EXPECT_FALSE(in.GetActive()) << row.call;
        EXPECT_FALSE(local.targetAlive) << row.call;
        EXPECT_EQ(local.targetsCreated, row.targets) << row.call;
    }
}

TEST_F(Capture, ErrorHandlerTurnsARefusedOpenIntoAFalseResult) {
    bench.failures["Open"] = kMmSysError;
    auto in = MakeIn();
    std::vector<uint32_t> codes;
    in->OnError = [&](TWaveAudioIO& sender) { codes.push_back(sender.LastError()); };
    EXPECT_FALSE(in->InternalOpen());
    EXPECT_EQ(codes, std::vector<uint32_t>{kMmSysError});
    EXPECT_FALSE(in->GetActive());
}

TEST_F(Capture, ExceptionInProcessDataIsReportedAndCaptureGoesOn) {
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    in->throwFromProcessData = "disk full";
    bench.Capture(80);
    bench.DeliverAll();
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"disk full"});
    EXPECT_EQ(in->ActiveBufferCount(), 2) << "the failed buffer's header goes back to the device";
    EXPECT_EQ(bench.queued.size(), 2u);

    // More failures than buffers must not starve the capture.
    CaptureInSteps(80 * 3);
    EXPECT_EQ(bench.reportedExceptions.size(), 4u);
    in->throwFromProcessData.clear();
    CaptureInSteps(80);
    ASSERT_EQ(in->chunks.size(), 5u);
    EXPECT_EQ(in->chunks[4].bytes, Expected(80 * 4, 80));
}

TEST_F(Capture, ExceptionInTheLastBufferDoesNotKeepTheDeviceOpen) {
    auto in = MakeIn();
    in->SetBufferCount(1);
    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(10);
    in->throwFromProcessData = "write failed";
    in->SetActive(false);
    bench.DeliverAll();
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"write failed"});
    EXPECT_EQ(CountCalls("Close"), 1u);
    EXPECT_FALSE(in->GetActive());
    EXPECT_EQ(events.back(), "deactivate");
}

// A device that fails on the way to its close: whatever it refuses, the
// refusal is reported once, the component ends inactive with no buffer left
// and its close handled, and a new capture can start.
TEST(StopFailures, TheComponentEndsInactiveAndCanCaptureAgain) {
    struct Row {
        const char* name;
        const char* refused;
        uint16_t bufferCount;
        uint64_t filledAfterStop;  // bytes the device still captures once asked to stop
    };
    for (Row row : {Row{"reset refused, buffers queued", "Reset", 2, 160}, Row{"reset refused, none out", "Reset", 0, 0},
                    Row{"close refused after the last buffer", "Close", 2, 0},
                    Row{"close refused, none out", "Close", 0, 0}}) {
        ScriptedWaveBench bench;
        ProbeIn in(bench);
        in.SetPCMFormat(TPCMFormat::Mono8Bit8000Hz);
        in.SetBufferLength(10);
        in.SetBufferCount(row.bufferCount);
        int deactivations = 0;
        in.OnDeactivate = [&](TWaveAudioIO&) { ++deactivations; };
        in.SetActive(true);
        bench.DeliverAll();

        bench.failures[row.refused] = kMmSysError;
        std::vector<std::string> reported;
        try {
            in.SetActive(false);
        } catch (const EWaveAudioSysError& e) {
            reported.push_back(e.what());
        }
        bench.Capture(row.filledAfterStop);
        bench.DeliverAll();
        reported.insert(reported.end(), bench.reportedExceptions.begin(), bench.reportedExceptions.end());
        EXPECT_EQ(reported, std::vector<std::string>{"Unspecified error"}) << row.name;
        EXPECT_FALSE(in.GetActive()) << row.name;
        EXPECT_EQ(in.ActiveBufferCount(), 0) << row.name;
        EXPECT_EQ(deactivations, 1) << row.name;
        EXPECT_FALSE(bench.targetAlive) << row.name;

        bench.failures.clear();
        in.SetActive(true);
        bench.DeliverAll();
        EXPECT_TRUE(in.GetActive()) << row.name << ": no new capture";
        in.SetActive(false);
        bench.DeliverAll();
        EXPECT_FALSE(in.GetActive()) << row.name;
    }
}

TEST_F(Capture, ADeviceThatNeverReportsItsCloseIsGivenUpAndReported) {
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(30);
    bench.reportsClose = false;
    in->SetActive(false);
    bench.DeliverAll();
    try {
        in->InternalOpen();
        ADD_FAILURE() << "a new open went ahead of a close that never came";
    } catch (const EWaveAudioError& e) {
        EXPECT_STREQ(e.what(), kDeviceDidNotCloseMessage);
    }
    in.reset();
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{kDeviceDidNotCloseMessage})
        << "destroying it waits no longer than the limit, then reports";
}

TEST_F(Capture, KeptBlocksAreReplacedNotReused) {
    auto in = MakeIn();
    in->keepBlocks = true;
    in->SetActive(true);
    bench.DeliverAll();
    CaptureInSteps(80 * 4);
    ASSERT_EQ(in->kept.size(), 4u);
    std::set<void*> distinct(in->kept.begin(), in->kept.end());
    EXPECT_EQ(distinct.size(), 4u);
    in->SetActive(false);
    bench.DeliverAll();
    for (void* block : in->kept) std::free(block);
}

TEST_F(Capture, UserBuffersAreFilledAndFreedOnlyWhenOwned) {
    auto in = MakeIn();
    in->SetBufferCount(0);
    in->SetActive(true);
    bench.DeliverAll();
    char* mine = static_cast<char*>(std::malloc(16));
    char* theirs = static_cast<char*>(std::malloc(16));
    ASSERT_TRUE(in->QueueUserBuffer(mine, 16, false));
    ASSERT_TRUE(in->QueueUserBuffer(theirs, 16, true));
    bench.Capture(24);
    in->SetActive(false);
    bench.DeliverAll();
    ASSERT_EQ(in->chunks.size(), 2u);
    EXPECT_EQ(in->chunks[0].block, mine);
    EXPECT_EQ(in->chunks[0].bytes, Expected(0, 16));
    EXPECT_EQ(in->chunks[1].block, theirs);
    EXPECT_EQ(in->chunks[1].bytes, Expected(16, 8));
    std::free(mine);  // the component freed the other (ASan reports a leak or a double free otherwise)
}

TEST_F(Capture, RefusedUserBufferStaysTheCallers) {
    auto in = MakeIn();
    in->SetBufferCount(0);
    in->SetActive(true);
    bench.DeliverAll();
    bench.failures["AddBuffer"] = kMmSysError;
    in->OnError = [](TWaveAudioIO&) {};
    char* block = static_cast<char*>(std::malloc(16));
    EXPECT_FALSE(in->QueueUserBuffer(block, 16, true));
    EXPECT_EQ(in->ActiveBufferCount(), 0);
    std::free(block);
    in->SetActive(false);
    bench.DeliverAll();
}

TEST_F(Capture, PauseStopsAndResumeRestartsCapture) {
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    in->SetPaused(true);
    EXPECT_TRUE(in->GetPaused());
    EXPECT_FALSE(bench.started);
    in->SetPaused(true);
    in->SetPaused(false);
    EXPECT_TRUE(bench.started);
    EXPECT_EQ(events, (std::vector<std::string>{"activate", "pause", "resume"}));
    EXPECT_EQ(CountCalls("Stop"), 1u);
    in->SetActive(false);
    bench.DeliverAll();
}

TEST_F(Capture, PausedBeforeOpeningLeavesCaptureStopped) {
    auto in = MakeIn();
    in->SetPaused(true);
    EXPECT_TRUE(bench.calls.empty()) << "nothing to stop while inactive";
    in->SetActive(true);
    bench.DeliverAll();
    EXPECT_EQ(CountCalls("Start"), 0u);
    EXPECT_TRUE(in->GetPaused());
    EXPECT_EQ(in->ActiveBufferCount(), 2) << "buffers wait queued";
    in->SetActive(false);
    bench.DeliverAll();
}

TEST_F(Capture, RefusedStartLeavesTheComponentPaused) {
    bench.failures["Start"] = kMmSysError;
    auto in = MakeIn();
    in->SetActive(true);
    bench.DeliverAll();
    EXPECT_TRUE(in->GetPaused());
    EXPECT_EQ(bench.reportedExceptions, std::vector<std::string>{"Unspecified error"});
    in->SetActive(false);
    bench.DeliverAll();
    EXPECT_FALSE(in->GetActive());
}

TEST_F(Capture, LevelPerBufferAndZeroAtClose) {
    auto in = MakeIn();
    std::vector<int32_t> levels;
    in->OnLevel = [&](TWaveAudioIO&, int32_t level) { levels.push_back(level); };
    bench.sample = [](uint64_t i) { return static_cast<uint8_t>(i < 80 ? 255 : 160); };
    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(120);
    in->SetActive(false);
    bench.DeliverAll();
    EXPECT_EQ(levels, (std::vector<int32_t>{100, 25, 0}));
}

TEST_F(Capture, DeviceQueries) {
    auto in = MakeIn();
    bench.capabilityFlags = 0x800;
    EXPECT_EQ(in->GetDeviceName(), "Scripted input");
    EXPECT_TRUE(in->GetDeviceFormats().Contains(TPCMFormat::Stereo16bit44100Hz));
    EXPECT_EQ(in->GetNumDevs(), 1u);
    EXPECT_TRUE(in->IsPCMFormatSupported(TPCMFormat::Stereo16bit44100Hz));
    EXPECT_EQ(in->GetErrorText(kMmSysError), "Unspecified error");
    EXPECT_EQ(in->GetErrorText(4242), "") << "a code the system does not know";
    EXPECT_EQ(in->GetPosition(), 0u) << "closed";

    in->SetActive(true);
    bench.DeliverAll();
    bench.Capture(40);
    EXPECT_EQ(in->GetPosition(), 5u) << "40 bytes at 8000 bytes per second";

    bench.failures["GetDevCaps"] = 2;
    EXPECT_EQ(in->GetDeviceName(), "");
    EXPECT_TRUE(in->GetDeviceFormats().Empty());
    bench.failures["Query"] = 32;
    EXPECT_FALSE(in->IsPCMFormatSupported(TPCMFormat::Stereo16bit48000Hz));
    in->SetActive(false);
    bench.DeliverAll();
}

TEST_F(Capture, AsyncCanChangeOnlyWhileInactive) {
    auto in = MakeIn();
    in->SetAsync(true);
    EXPECT_TRUE(in->Async());
    in->SetActive(true);
    in->SetAsync(false);
    EXPECT_TRUE(in->Async());
    bench.DeliverAll();
    in->SetActive(false);
    bench.DeliverAll();
}

}  // namespace
