// A device and a callback host with real threads, as thread mode has them on
// Windows: the host runs one callback thread per open, each with its own
// message queue; the device posts its notifications to that queue from
// whichever thread drives it (the test's "sound card" thread captures while
// the owner pauses, stops and destroys). Platform-free, for the native build
// under ThreadSanitizer.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/wave_device.h"
#include "tests/audio/wave_buffer_queue.h"

// The message queues of the callback threads, by target id.
class CallbackThreads {
public:
    ~CallbackThreads();
    // Starts a thread that hands every posted message to dispatch until told to quit.
    uintptr_t Start(WaveMessageDispatch dispatch);
    // False when the thread has been told to quit (the message is dropped, as
    // a post to an ended thread is).
    bool Post(uintptr_t target, uint32_t message, uintptr_t param);
    void Quit(uintptr_t target);
    // Joins every thread told to quit, except live.
    void JoinEnded(uintptr_t live);

private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<std::pair<uint32_t, uintptr_t>> messages;
        bool quit = false;
        std::thread thread;
    };
    std::mutex mutex_;
    std::map<uintptr_t, std::shared_ptr<Queue>> queues_;
    uintptr_t nextId_ = 1;
};

class ThreadedCallbackHost : public WaveCallbackHost {
public:
    explicit ThreadedCallbackHost(CallbackThreads& threads) : threads_(threads) {}
    ~ThreadedCallbackHost() override;
    Target Create(bool async, WaveMessageDispatch dispatch) override;
    void Destroy() override;
    bool WaitForClose(const std::function<bool()>& closed, uint32_t limitMs) override;
    bool WaitForOpen(const std::function<bool()>& opening, uint32_t limitMs) override;
    void ReportException() noexcept override;

    std::vector<std::string> Reported();

private:
    CallbackThreads& threads_;
    std::atomic<uintptr_t> live_{0};
    std::mutex mutex_;
    std::vector<std::string> reported_;
};

// A device that behaves as the system's: open and close are notified, every
// filled buffer comes back through a data notification, a reset returns every
// queued buffer, a close is refused while buffers are queued. Thread-safe.
class ThreadedWaveInDevice : public WaveInDevice {
public:
    explicit ThreadedWaveInDevice(CallbackThreads& threads) : threads_(threads) {}

    // Called inside Start, in the thread that starts the device.
    std::function<void()> onStart;

    // The sound card: fills the oldest queued buffer with up to count bytes if
    // capture runs; true when a buffer was filled and sent back.
    bool Capture(uint32_t count);
    std::vector<std::string> Calls();

    uint32_t GetNumDevs() override { return 1; }
    uint32_t GetDevCaps(uint32_t, std::string& productName, uint32_t& formats) override;
    uint32_t QueryFormat(uint32_t, const WaveFormatEx&) override { return kMmSysNoError; }
    uint32_t Open(uintptr_t& handle, uint32_t deviceId, const WaveFormatEx& format, uintptr_t callback,
                  uint32_t callbackType) override;
    uint32_t PrepareHeader(uintptr_t handle, WaveHeader& header) override;
    uint32_t UnprepareHeader(uintptr_t handle, WaveHeader& header) override;
    uint32_t AddBuffer(uintptr_t handle, WaveHeader& header) override;
    uint32_t Start(uintptr_t handle) override;
    uint32_t Stop(uintptr_t handle) override;
    uint32_t Reset(uintptr_t handle) override;
    uint32_t Close(uintptr_t handle) override;
    uint32_t GetPosition(uintptr_t handle, WaveTime& time) override;
    uint32_t GetErrorText(uint32_t code, std::string& text) override;

private:
    void Log(const std::string& call);

    CallbackThreads& threads_;
    std::recursive_mutex mutex_;
    std::vector<std::string> calls_;
    WaveBufferQueue queued_;
    uintptr_t target_ = 0;
    bool open_ = false;
    bool started_ = false;
    uint64_t captured_ = 0;
};
