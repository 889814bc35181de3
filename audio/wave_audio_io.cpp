#include "audio/wave_audio_io.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

TWaveAudioIO::TWaveAudioIO(std::unique_ptr<WaveCallbackHost> callbackHost) : host(std::move(callbackHost)) {}

TWaveAudioIO::~TWaveAudioIO() {
    // The concrete classes have shut the device down already. Should the wait
    // have been cut short, the device may still write into its headers: they
    // are left alone rather than freed under it.
    if (callbackTarget != 0) return;
    for (WaveHeader* header : std::vector<WaveHeader*>(buffers)) FreeHeader(header);
}

void TWaveAudioIO::ShutDown() {
    if (destroying) return;
    destroying = true;
    try {
        SetActive(false);
    } catch (...) {
        host->ReportException();
    }
    try {
        WaitForCloseToFinish();
    } catch (...) {
        host->ReportException();
    }
}

void TWaveAudioIO::SetAsync(bool value) {
    if (!GetActive()) async = value;
}

void TWaveAudioIO::SetBufferLength(uint16_t value) { bufferLength = std::max<uint16_t>(value, 10); }

void TWaveAudioIO::HandleWimOpen() { DeviceOpened(); }
void TWaveAudioIO::HandleWimClose() { DeviceClosed(); }
void TWaveAudioIO::HandleWimData(WaveHeader*) {}
void TWaveAudioIO::HandleWomOpen() { DeviceOpened(); }
void TWaveAudioIO::HandleWomClose() { DeviceClosed(); }
void TWaveAudioIO::HandleWomDone(WaveHeader*) {}

bool TWaveAudioIO::GetActive() { return callbackTarget != 0; }

void TWaveAudioIO::SetActive(bool value) {
    if (value == GetActive()) return;
    if (value)
        InternalOpen();
    else
        InternalClose();
}

void TWaveAudioIO::SetPaused(bool value) {
    // Under the lock: in thread mode the open notification may be deciding
    // whether to start the capture at this very moment.
    LockScope scope(*this);
    if (value == GetPaused()) return;
    if (value)
        InternalPause();
    else
        InternalResume();
}

void TWaveAudioIO::ReleaseBuffers() {
    while (!buffers.empty()) {
        WaveHeader* header = buffers.back();
        FreeHeader(header);
    }
}

void TWaveAudioIO::DeviceOpened() {
    opening = false;
    QueueBuffers();
    DoActivate();
}

void TWaveAudioIO::DeviceClosed() {
    DoLevel(nullptr, 0);
    closing = false;
    DestroyCallbackTarget();
    ReleaseBuffers();
    DoDeactivate();
}

void TWaveAudioIO::DoActivate() {
    if (OnActivate) OnActivate(*this);
}

void TWaveAudioIO::DoDeactivate() {
    if (OnDeactivate && !destroying) OnDeactivate(*this);
}

void TWaveAudioIO::DoPause() {
    if (OnPause) OnPause(*this);
}

void TWaveAudioIO::DoResume() {
    if (OnResume) OnResume(*this);
}

void TWaveAudioIO::DoError() {
    if (OnError) {
        OnError(*this);
        return;
    }
    throw EWaveAudioSysError(GetErrorText(lastError));
}

void TWaveAudioIO::DoLevel(const void* buffer, uint32_t bufferSize) {
    if (!OnLevel || destroying || waveFormat.formatTag != kWaveFormatPcm) return;
    OnLevel(*this, buffer ? PeakLevel(buffer, bufferSize, waveFormat.bitsPerSample) : 0);
}

void TWaveAudioIO::DoBufferData(const void* buffer, uint32_t bufferSize) {
    if (OnBufferData && !destroying) OnBufferData(*this, buffer, bufferSize);
}

bool TWaveAudioIO::IsPCMFormatSupported(TPCMFormat format) {
    WaveFormatEx record{};
    FillPCMFormat(record, format);
    return IsFormatSupported(record);
}

bool TWaveAudioIO::CheckResult(uint32_t code) {
    lastError = code;
    if (code == kMmSysNoError) return true;
    DoError();
    return false;
}

void TWaveAudioIO::CreateCallbackTarget() {
    const WaveCallbackHost::Target target =
        host->Create(async, [this](uint32_t message, uintptr_t param) { return DispatchDeviceMessage(message, param); });
    callbackType = target.type;
    callbackTarget = target.id;
}

void TWaveAudioIO::DestroyCallbackTarget() {
    if (callbackTarget == 0) return;
    host->Destroy();
    callbackTarget = 0;
}

bool TWaveAudioIO::DispatchDeviceMessage(uint32_t message, uintptr_t param) {
    auto* header = reinterpret_cast<WaveHeader*>(param);
    try {
        LockScope scope(*this);
        switch (message) {
        case kMmWimOpen: HandleWimOpen(); break;
        case kMmWimClose: HandleWimClose(); break;
        case kMmWimData: HandleWimData(header); break;
        case kMmWomOpen: HandleWomOpen(); break;
        case kMmWomClose: HandleWomClose(); break;
        case kMmWomDone: HandleWomDone(header); break;
        default: return false;
        }
    } catch (...) {
        // The notification came from the system: nobody above us could handle it.
        host->ReportException();
    }
    return true;
}

void TWaveAudioIO::FreeHeader(WaveHeader*& header) {
    auto it = std::find(buffers.begin(), buffers.end(), header);
    if (it != buffers.end()) buffers.erase(it);
    if (header->user == reinterpret_cast<uintptr_t>(this)) std::free(header->data);
    std::free(header);
    header = nullptr;
}

bool TWaveAudioIO::ReallocateBuffer(WaveHeader*& header, uint32_t size, char* buffer) {
    if (size == 0) {
        if (header) FreeHeader(header);
        return true;
    }
    if (!header) {
        header = static_cast<WaveHeader*>(std::calloc(1, sizeof(WaveHeader)));
        if (!header) return CheckResult(kMmSysNoMem);
        buffers.push_back(header);
    }
    const auto self = reinterpret_cast<uintptr_t>(this);
    if (header->user != self) {
        header->data = nullptr;
        header->bufferLength = 0;
    }
    char* block = header->data;
    if (!buffer) {
        if (header->bufferLength != size || !block) {
            char* resized = static_cast<char*>(std::realloc(block, size));
            if (!resized) {
                FreeHeader(header);
                return CheckResult(kMmSysNoMem);
            }
            block = resized;
        }
    } else {
        if (header->user == self) std::free(block);
        block = buffer;
    }
    std::memset(header, 0, sizeof(WaveHeader));
    header->user = buffer ? 0 : self;
    header->data = block;
    header->bufferLength = size;
    return true;
}

void TWaveAudioIO::WaitForOpenToFinish() {
    if (callbackTarget == 0) return;
    // An open that never finishes does not stop the close that asked.
    host->WaitForOpen([this] { return opening && callbackTarget != 0; }, kDeviceWaitLimitMs);
}

void TWaveAudioIO::WaitForCloseToFinish() {
    // Asked even when the component reads inactive: in thread mode the callback
    // thread may still be inside the close notification, releasing the buffers,
    // and the host waits until it has left.
    if (!host->WaitForClose([this] { return callbackTarget == 0; }, kDeviceWaitLimitMs))
        throw EWaveAudioError(kDeviceDidNotCloseMessage);
}

void TWaveAudioIO::SetWaveFormat(const WaveFormatEx& format) { std::memcpy(&waveFormat, &format, sizeof waveFormat); }
