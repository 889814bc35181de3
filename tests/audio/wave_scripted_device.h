// A wave input device driven by the test: it behaves as the system's device
// does (open, then one data notification per filled buffer, every queued
// buffer back with what it holds on reset, close refused while buffers are
// queued) and posts its notifications to a queue that the test, or the
// engine's waits, deliver. Platform-free, so the same script serves the native
// engine tests and the WAV tests under Wine.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/wave_device.h"
#include "tests/audio/wave_buffer_queue.h"

struct ScriptedWaveBench {
    // Every device call, in order ("Open", "Prepare", "AddBuffer", "Start", ...).
    std::vector<std::string> calls;
    // Result code to return instead of success, by call name.
    std::map<std::string, uint32_t> failures;
    // The bytes the device captures, by position in the capture.
    std::function<uint8_t(uint64_t)> sample = [](uint64_t i) { return static_cast<uint8_t>(i * 7 + 3); };
    // False: a device that closes without ever saying so.
    bool reportsClose = true;
    uint32_t capabilityFlags = 0;
    std::string productName = "Scripted input";

    std::deque<std::pair<uint32_t, uintptr_t>> posted;
    WaveBufferQueue queued;
    bool open = false;
    bool started = false;
    uint64_t captured = 0;
    WaveMessageDispatch dispatch;
    bool targetAlive = false;
    uint32_t targetsCreated = 0;
    std::vector<std::string> reportedExceptions;

    // The device captures count bytes into the queued buffers, in order,
    // posting a data notification for each buffer it fills.
    void Capture(uint64_t count);
    // Delivers every posted notification, and those posted meanwhile.
    void DeliverAll();
    // Delivers the oldest notification; false when none waits.
    bool DeliverOne();
    uint32_t Result(const std::string& call);
};

class ScriptedWaveInDevice : public WaveInDevice {
public:
    explicit ScriptedWaveInDevice(ScriptedWaveBench& bench) : bench_(bench) {}
    uint32_t GetNumDevs() override { return 1; }
    uint32_t GetDevCaps(uint32_t deviceId, std::string& productName, uint32_t& formats) override;
    uint32_t QueryFormat(uint32_t deviceId, const WaveFormatEx& format) override;
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
    ScriptedWaveBench& bench_;
};

class ScriptedCallbackHost : public WaveCallbackHost {
public:
    explicit ScriptedCallbackHost(ScriptedWaveBench& bench) : bench_(bench) {}
    ~ScriptedCallbackHost() override {
        bench_.targetAlive = false;
        bench_.dispatch = nullptr;
    }
    Target Create(bool async, WaveMessageDispatch dispatch) override;
    void Destroy() override;
    bool WaitForClose(const std::function<bool()>& closed, uint32_t limitMs) override;
    bool WaitForOpen(const std::function<bool()>& opening, uint32_t limitMs) override;
    void ReportException() noexcept override;

private:
    ScriptedWaveBench& bench_;
};

inline std::unique_ptr<WaveInDevice> MakeScriptedDevice(ScriptedWaveBench& bench) {
    return std::make_unique<ScriptedWaveInDevice>(bench);
}
inline std::unique_ptr<WaveCallbackHost> MakeScriptedHost(ScriptedWaveBench& bench) {
    return std::make_unique<ScriptedCallbackHost>(bench);
}
