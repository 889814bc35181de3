#include "tests/audio/wave_scripted_device.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {
constexpr uintptr_t kScriptedHandle = 0x5EED;
constexpr uintptr_t kWindowTarget = 0x1001;
constexpr uintptr_t kThreadTarget = 0x2002;
}  // namespace

uint32_t ScriptedWaveBench::Result(const std::string& call) {
    calls.push_back(call);
    auto it = failures.find(call);
    return it == failures.end() ? kMmSysNoError : it->second;
}

void ScriptedWaveBench::Capture(uint64_t count) {
    while (count > 0 && started && !queued.empty()) {
        WaveHeader* header = queued.Oldest();
        while (count > 0 && header->bytesRecorded < header->bufferLength) {
            header->data[header->bytesRecorded++] = static_cast<char>(sample(captured++));
            --count;
        }
        if (header->bytesRecorded == header->bufferLength)
            posted.emplace_back(kMmWimData, reinterpret_cast<uintptr_t>(queued.ReturnOldest()));
    }
}

bool ScriptedWaveBench::DeliverOne() {
    if (posted.empty()) return false;
    auto [message, param] = posted.front();
    posted.pop_front();
    // A destroyed window receives nothing more, as with the system's device.
    if (targetAlive && dispatch) dispatch(message, param);
    return true;
}

void ScriptedWaveBench::DeliverAll() {
    while (DeliverOne()) {
    }
}

uint32_t ScriptedWaveInDevice::GetDevCaps(uint32_t, std::string& productName, uint32_t& formats) {
    uint32_t result = bench_.Result("GetDevCaps");
    if (result == kMmSysNoError) {
        productName = bench_.productName;
        formats = bench_.capabilityFlags;
    }
    return result;
}

uint32_t ScriptedWaveInDevice::QueryFormat(uint32_t, const WaveFormatEx&) { return bench_.Result("Query"); }

uint32_t ScriptedWaveInDevice::Open(uintptr_t& handle, uint32_t, const WaveFormatEx&, uintptr_t callback,
                                    uint32_t) {
    uint32_t result = bench_.Result("Open");
    if (result != kMmSysNoError) return result;
    if (callback == 0) throw std::logic_error("device opened without a callback target");
    handle = kScriptedHandle;
    bench_.open = true;
    bench_.posted.emplace_back(kMmWimOpen, 0);
    return result;
}

uint32_t ScriptedWaveInDevice::PrepareHeader(uintptr_t, WaveHeader& header) {
    uint32_t result = bench_.Result("Prepare");
    if (result == kMmSysNoError) WaveBufferQueue::Prepare(header);
    return result;
}

uint32_t ScriptedWaveInDevice::UnprepareHeader(uintptr_t, WaveHeader& header) {
    if (uint32_t refused = WaveBufferQueue::CheckUnprepare(header)) return refused;
    uint32_t result = bench_.Result("Unprepare");
    if (result == kMmSysNoError) WaveBufferQueue::Unprepare(header);
    return result;
}

uint32_t ScriptedWaveInDevice::AddBuffer(uintptr_t, WaveHeader& header) {
    if (uint32_t refused = WaveBufferQueue::CheckAdd(header)) return refused;
    uint32_t result = bench_.Result("AddBuffer");
    if (result != kMmSysNoError) return result;
    bench_.queued.Add(header);
    return result;
}

uint32_t ScriptedWaveInDevice::Start(uintptr_t) {
    uint32_t result = bench_.Result("Start");
    if (result == kMmSysNoError) bench_.started = true;
    return result;
}

uint32_t ScriptedWaveInDevice::Stop(uintptr_t) {
    uint32_t result = bench_.Result("Stop");
    if (result == kMmSysNoError) bench_.started = false;
    return result;
}

uint32_t ScriptedWaveInDevice::Reset(uintptr_t) {
    uint32_t result = bench_.Result("Reset");
    if (result != kMmSysNoError) return result;
    bench_.started = false;
    for (WaveHeader* header : bench_.queued.ReturnAll())
        bench_.posted.emplace_back(kMmWimData, reinterpret_cast<uintptr_t>(header));
    return result;
}

uint32_t ScriptedWaveInDevice::Close(uintptr_t) {
    if (!bench_.queued.empty()) return kWaveStillPlaying;
    uint32_t result = bench_.Result("Close");
    if (result != kMmSysNoError) return result;
    bench_.open = false;
    if (bench_.reportsClose) bench_.posted.emplace_back(kMmWimClose, 0);
    return result;
}

uint32_t ScriptedWaveInDevice::GetPosition(uintptr_t, WaveTime& time) {
    uint32_t result = bench_.Result("GetPosition");
    if (result == kMmSysNoError) {
        time.type = kTimeBytes;
        time.u.cb = static_cast<uint32_t>(bench_.captured);
    }
    return result;
}

uint32_t ScriptedWaveInDevice::GetErrorText(uint32_t code, std::string& text) {
    if (code == kMmSysError) text = "Unspecified error";
    else if (code == kMmSysNoMem) text = "Out of memory";
    else if (code == kMmSysInvalParam) text = "Invalid parameter";
    else return kMmSysInvalParam;
    return kMmSysNoError;
}

WaveCallbackHost::Target ScriptedCallbackHost::Create(bool async, WaveMessageDispatch dispatch) {
    bench_.dispatch = std::move(dispatch);
    bench_.targetAlive = true;
    ++bench_.targetsCreated;
    return async ? Target{kThreadTarget, kCallbackThread} : Target{kWindowTarget, kCallbackWindow};
}

void ScriptedCallbackHost::Destroy() { bench_.targetAlive = false; }

// Nothing left to deliver stands for the time running out.
bool ScriptedCallbackHost::WaitForClose(const std::function<bool()>& closed, uint32_t) {
    while (!closed() && bench_.DeliverOne()) {
    }
    return closed();
}

bool ScriptedCallbackHost::WaitForOpen(const std::function<bool()>& opening, uint32_t) {
    while (opening() && bench_.DeliverOne()) {
    }
    return !opening();
}

void ScriptedCallbackHost::ReportException() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        bench_.reportedExceptions.push_back(e.what());
    } catch (...) {
        bench_.reportedExceptions.push_back("?");
    }
}
