// Capture from a wave input device: opens it in the chosen PCM format, keeps
// BufferCount buffers queued, hands every filled buffer to ProcessData and
// closes the device once every buffer has come back.
#pragma once
#include <atomic>
#include <exception>
#include <memory>

#include "audio/wave_audio_io.h"

class TWaveAudioIn : public TWaveAudioIO {
public:
    TWaveAudioIn(std::unique_ptr<WaveInDevice> device, std::unique_ptr<WaveCallbackHost> host);
    ~TWaveAudioIn() override;

    TPCMFormat PCMFormat() const { return pcmFormat; }
    // Raises EWaveAudioInvalidOperation for another value while the device is open.
    void SetPCMFormat(TPCMFormat value);

    TWaveAudioGetFormatEvent OnFormat;

protected:
    void HandleWimOpen() override;
    void HandleWimClose() override;
    void HandleWimData(WaveHeader* header) override;

public:
    uint32_t GetNumDevs() override;
    bool GetPaused() override { return paused; }
    std::string GetDeviceName() override;
    TPCMFormatSet GetDeviceFormats() override;
    uint32_t GetPosition() override;
    std::string GetErrorText(uint32_t errorCode) override;

protected:
    void GetWaveFormat(WaveFormatEx*& pWaveFormat, bool& freeIt) override;
    uint32_t CheckDevice() override;
    bool InternalOpen() override;
    bool InternalClose() override;
    bool InternalPause() override;
    bool InternalResume() override;
    bool IsDeviceOpen() override { return deviceHandle != 0; }
    void QueueBuffers() override;

public:
    bool IsFormatSupported(const WaveFormatEx& format) override;

protected:
    virtual bool QueueBuffer(WaveHeader& header);

public:
    // Queues a caller's block. With takeOwnership the component frees it (with
    // std::free) when done; if queueing fails the block stays the caller's.
    virtual bool QueueUserBuffer(char* buffer, uint32_t bufferSize, bool takeOwnership);

protected:
    // One filled buffer, in place. Clearing freeIt keeps the block (it must then
    // be released with std::free by whoever kept it).
    virtual void ProcessData(void* buffer, uint32_t bufferSize, bool& freeIt);

private:
    // Level, raw hook and ProcessData for one filled buffer; what they raised.
    std::exception_ptr ProcessFilledBuffer(WaveHeader& header);
    // Once no buffer is out; false (after CheckResult) when the device refused.
    bool CloseDevice();

    // Read by the owner's thread while the callback thread handles notifications.
    std::atomic<uintptr_t> deviceHandle = 0;
    std::atomic<bool> paused = false;
    TPCMFormat pcmFormat = TPCMFormat::Mono16bit8000Hz;
    std::unique_ptr<WaveInDevice> device;
};
