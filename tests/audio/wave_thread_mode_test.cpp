// The capture engine in thread mode with a real callback thread and a device
// that fills buffers from a third thread, while the owner pauses, stops and
// destroys the component. Built under ThreadSanitizer as well (preset tsan):
// a field shared without care between the threads fails these tests there.
#include "audio/wave_audio_in.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "tests/audio/wave_threaded_device.h"

namespace {
using namespace std::chrono_literals;

class CountingIn : public TWaveAudioIn {
public:
    CountingIn(std::unique_ptr<WaveInDevice> waveDevice, std::unique_ptr<WaveCallbackHost> callbackHost)
        : TWaveAudioIn(std::move(waveDevice), std::move(callbackHost)) {}
    ~CountingIn() override { ShutDown(); }
    std::atomic<uint64_t> bytes{0};

protected:
    void ProcessData(void*, uint32_t size, bool&) override { bytes += size; }
};

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class ThreadMode : public ::testing::Test {
protected:
    CallbackThreads threads;
    ThreadedWaveInDevice* device = nullptr;
    ThreadedCallbackHost* host = nullptr;
    std::atomic<int> activations{0};

    std::unique_ptr<CountingIn> Make() {
        auto ownedDevice = std::make_unique<ThreadedWaveInDevice>(threads);
        auto ownedHost = std::make_unique<ThreadedCallbackHost>(threads);
        device = ownedDevice.get();
        host = ownedHost.get();
        auto engine = std::make_unique<CountingIn>(std::move(ownedDevice), std::move(ownedHost));
        engine->SetAsync(true);
        engine->SetBufferLength(10);
        engine->SetBufferCount(3);
        engine->OnActivate = [this](TWaveAudioIO&) { ++activations; };
        return engine;
    }
};

TEST_F(ThreadMode, OwnerPausesStopsAndDestroysWhileTheDeviceCallsBack) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        activations = 0;
        std::unique_ptr<CountingIn> engine = Make();
        // Slow enough that the owner can get in while the thread is in the close handling.
        engine->OnDeactivate = [](TWaveAudioIO&) { std::this_thread::sleep_for(2ms); };
        engine->SetActive(true);
        ASSERT_TRUE(WaitUntil([&] { return activations == 1; }));

        std::atomic<bool> running{true};
        std::thread soundCard([&] {
            while (running) {
                device->Capture(40);
                std::this_thread::sleep_for(50us);
            }
        });
        for (int i = 0; i < 40; ++i) {
            engine->SetPaused(i % 2 == 0);
            (void)engine->GetPaused();
            (void)engine->LastError();
            (void)engine->GetPosition();
        }
        engine->SetPaused(false);
        EXPECT_TRUE(WaitUntil([&] { return engine->bytes > 0; })) << "nothing was captured";
        running = false;
        soundCard.join();

        engine->SetActive(false);
        // As a caller would: it reads inactive, then lets the component go at once.
        ASSERT_TRUE(WaitUntil([&] { return !engine->GetActive(); }));
        engine.reset();
    }
}

TEST_F(ThreadMode, APauseAskedWhileTheOpenNotificationStartsTheDeviceIsKept) {
    std::unique_ptr<CountingIn> engine = Make();
    std::atomic<bool> inStart{false};
    device->onStart = [&] {
        inStart = true;
        std::this_thread::sleep_for(30ms);
    };
    engine->SetActive(true);
    ASSERT_TRUE(WaitUntil([&] { return inStart.load(); }));
    engine->SetPaused(true);
    // The close is handled after the open on the same thread: the open is done.
    engine->SetActive(false);
    ASSERT_TRUE(WaitUntil([&] { return !engine->GetActive(); }));
    EXPECT_TRUE(engine->GetPaused()) << "the pause was lost";
    const std::vector<std::string> calls = device->Calls();
    const auto start = std::find(calls.begin(), calls.end(), "Start");
    EXPECT_NE(std::find(start, calls.end(), "Stop"), calls.end()) << "the device was not stopped after its start";
}
}  // namespace
