#include "audio/wave_audio_in.h"

#include <cstdlib>
#include <exception>

TWaveAudioIn::TWaveAudioIn(std::unique_ptr<WaveInDevice> waveDevice, std::unique_ptr<WaveCallbackHost> callbackHost)
    : TWaveAudioIO(std::move(callbackHost)), device(std::move(waveDevice)) {}

TWaveAudioIn::~TWaveAudioIn() { ShutDown(); }

void TWaveAudioIn::SetPCMFormat(TPCMFormat value) {
    if (value == pcmFormat) return;
    if (deviceHandle != 0)
        throw EWaveAudioInvalidOperation("Audio format cannot be changed while device is open");
    pcmFormat = value;
}

void TWaveAudioIn::HandleWimOpen() {
    TWaveAudioIO::HandleWimOpen();
    if (paused) return;
    // Paused changes only once the outcome is known, so that nobody reads a
    // pause that was never asked for; a start that raised leaves it stopped.
    bool started = false;
    try {
        started = CheckResult(device->Start(deviceHandle));
    } catch (...) {
        paused = true;
        throw;
    }
    paused = !started;
}

void TWaveAudioIn::HandleWimClose() {
    deviceHandle = 0;
    TWaveAudioIO::HandleWimClose();
}

void TWaveAudioIn::HandleWimData(WaveHeader* header) {
    std::exception_ptr failure;
    if (header) {
        try {
            if (CheckResult(device->UnprepareHeader(deviceHandle, *header)) && header->bytesRecorded > 0)
                failure = ProcessFilledBuffer(*header);
            // The returned header still counts, hence "at most BufferCount".
            const bool requeued = !IsClosing() && ActiveBufferCount() <= BufferCount() &&
                                  ReallocateBuffer(header, BufferSize(), nullptr) && QueueBuffer(*header);
            if (!requeued) ReallocateBuffer(header, 0, nullptr);
        } catch (...) {
            if (!failure) failure = std::current_exception();
            if (header) {
                if (header->flags & kWaveHeaderPrepared) device->UnprepareHeader(deviceHandle, *header);
                ReallocateBuffer(header, 0, nullptr);
            }
        }
    }
    // Even after a failure: the last buffer back is what lets the device close.
    if (IsClosing() && ActiveBufferCount() == 0) {
        try {
            CloseDevice();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

std::exception_ptr TWaveAudioIn::ProcessFilledBuffer(WaveHeader& header) {
    // A buffer that could not be processed (a failed write) is lost, but its
    // header goes back to the device all the same: dropping it would starve
    // the capture after BufferCount failures while the user thinks it records.
    try {
        bool freeIt = true;
        DoLevel(header.data, header.bytesRecorded);
        DoBufferData(header.data, header.bytesRecorded);
        ProcessData(header.data, header.bytesRecorded, freeIt);
        if (!freeIt) header.user = 0;
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

uint32_t TWaveAudioIn::GetNumDevs() { return device->GetNumDevs(); }

std::string TWaveAudioIn::GetDeviceName() {
    std::string name;
    uint32_t formats = 0;
    return device->GetDevCaps(DeviceID(), name, formats) == kMmSysNoError ? name : std::string();
}

TPCMFormatSet TWaveAudioIn::GetDeviceFormats() {
    std::string name;
    uint32_t formats = 0;
    if (device->GetDevCaps(DeviceID(), name, formats) != kMmSysNoError) return {};
    return PCMFormatsFromCapabilityFlags(formats);
}

uint32_t TWaveAudioIn::GetPosition() {
    WaveTime time{};
    time.type = kTimeMs;
    const uintptr_t handle = deviceHandle;
    if (handle == 0 || device->GetPosition(handle, time) != kMmSysNoError) return 0;
    return MMTimeToMilliseconds(time);
}

std::string TWaveAudioIn::GetErrorText(uint32_t errorCode) {
    std::string text;
    return device->GetErrorText(errorCode, text) == kMmSysNoError ? text : std::string();
}

void TWaveAudioIn::GetWaveFormat(WaveFormatEx*& pWaveFormat, bool& freeIt) {
    if (pcmFormat != TPCMFormat::nonePCM) {
        pWaveFormat = static_cast<WaveFormatEx*>(std::calloc(1, sizeof(WaveFormatEx)));
        if (!pWaveFormat) return;
        FillPCMFormat(*pWaveFormat, pcmFormat);
        freeIt = true;
    } else if (OnFormat) {
        OnFormat(*this, pWaveFormat, freeIt);
    }
}

uint32_t TWaveAudioIn::CheckDevice() {
    std::string name;
    uint32_t formats = 0;
    return device->GetDevCaps(DeviceID(), name, formats);
}

bool TWaveAudioIn::InternalOpen() {
    if (IsOpening()) return false;
    if (IsClosing()) WaitForCloseToFinish();
    if (GetActive()) throw EWaveAudioInvalidOperation("Device is aleardy open");
    LockScope scope(*this);
    SetOpening(true);
    WaveFormatEx* format = nullptr;
    bool freeIt = true;
    struct Cleanup {
        TWaveAudioIn& self;
        WaveFormatEx*& format;
        bool& freeIt;
        ~Cleanup() {
            if (freeIt) std::free(format);
            self.SetOpening(false);
        }
    } cleanup{*this, format, freeIt};

    GetWaveFormat(format, freeIt);
    // Without a record (nonePCM and nobody supplied one) the device is not
    // asked at all: the open fails as the system would for a missing format.
    if (!format) return CheckResult(kMmSysInvalParam);
    if (!CheckResult(device->QueryFormat(DeviceID(), *format))) return false;
    SetWaveFormat(*format);
    CreateCallbackTarget();
    try {
        uintptr_t handle = 0;
        const uint32_t result = device->Open(handle, DeviceID(), *format, CallbackTarget(), CallbackType());
        deviceHandle = handle;
        if (!CheckResult(result)) {
            deviceHandle = 0;
            DestroyCallbackTarget();
            return false;
        }
    } catch (...) {
        deviceHandle = 0;
        DestroyCallbackTarget();
        throw;
    }
    return true;
}

bool TWaveAudioIn::InternalClose() {
    if (IsClosing()) return false;
    if (IsOpening()) WaitForOpenToFinish();
    if (!GetActive()) throw EWaveAudioInvalidOperation("Device is aleardy close");
    LockScope scope(*this);
    SetClosing(true);
    // Closing stays set even when the reset fails: the buffers still queued
    // then come back as they fill, none is queued again, and the last one
    // closes the device (HandleWimData). With none out, it closes now.
    const uint32_t resetResult = device->Reset(deviceHandle);
    const bool closed = ActiveBufferCount() > 0 || CloseDevice();
    return CheckResult(resetResult) && closed;
}

bool TWaveAudioIn::CloseDevice() {
    const uint32_t result = device->Close(deviceHandle);
    if (result == kMmSysNoError) return true;
    // With no buffer out, a device that refuses to close will send nothing
    // more: its close is handled here, so the component ends inactive instead
    // of closing for ever, and the refusal is reported.
    std::exception_ptr refusal;
    try {
        CheckResult(result);
    } catch (...) {
        refusal = std::current_exception();
    }
    HandleWimClose();
    if (refusal) std::rethrow_exception(refusal);
    return false;
}

bool TWaveAudioIn::InternalPause() {
    LockScope scope(*this);
    if (paused) return false;
    if (deviceHandle != 0 && !CheckResult(device->Stop(deviceHandle))) return false;
    paused = true;
    DoPause();
    return true;
}

bool TWaveAudioIn::InternalResume() {
    LockScope scope(*this);
    if (!paused) return false;
    if (deviceHandle != 0 && !CheckResult(device->Start(deviceHandle))) return false;
    paused = false;
    DoResume();
    return true;
}

void TWaveAudioIn::QueueBuffers() {
    while (ActiveBufferCount() < BufferCount() && IsDeviceOpen() && !IsClosing()) {
        WaveHeader* header = nullptr;
        if (!ReallocateBuffer(header, BufferSize(), nullptr)) return;
        if (!QueueBuffer(*header)) {
            ReallocateBuffer(header, 0, nullptr);
            return;
        }
    }
}

bool TWaveAudioIn::IsFormatSupported(const WaveFormatEx& format) {
    return device->QueryFormat(DeviceID(), format) == kMmSysNoError;
}

bool TWaveAudioIn::QueueBuffer(WaveHeader& header) {
    const bool prepareHere = !(header.flags & kWaveHeaderPrepared);
    if (prepareHere && !CheckResult(device->PrepareHeader(deviceHandle, header))) return false;
    bool added = false;
    try {
        added = CheckResult(device->AddBuffer(deviceHandle, header));
    } catch (...) {
        if (prepareHere) device->UnprepareHeader(deviceHandle, header);
        throw;
    }
    if (!added && prepareHere) device->UnprepareHeader(deviceHandle, header);
    return added;
}

bool TWaveAudioIn::QueueUserBuffer(char* buffer, uint32_t bufferSize, bool takeOwnership) {
    LockScope scope(*this);
    WaveHeader* header = nullptr;
    if (!ReallocateBuffer(header, bufferSize, buffer)) return false;
    if (takeOwnership) header->user = reinterpret_cast<uintptr_t>(this);
    bool queued = false;
    try {
        queued = QueueBuffer(*header);
    } catch (...) {
        header->user = 0;
        ReallocateBuffer(header, 0, nullptr);
        throw;
    }
    if (!queued) {
        header->user = 0;
        ReallocateBuffer(header, 0, nullptr);
    }
    return queued;
}

void TWaveAudioIn::ProcessData(void*, uint32_t, bool&) {}
