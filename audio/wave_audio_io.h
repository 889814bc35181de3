// The device-independent half of the capture engine: the buffers in flight, the
// lock, the format in use, the state flags and the events, and the way the
// device's notifications come back (through a WaveCallbackHost). Device calls
// are left to the subclasses as abstract operations.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/wave_device.h"
#include "audio/wave_format.h"

class TWaveAudioIO;

// How long the component waits for the device's open or close notification.
// A device that stays silent longer is given up, so that quitting can finish.
inline constexpr uint32_t kDeviceWaitLimitMs = 5000;
inline constexpr const char* kDeviceDidNotCloseMessage =
    "Le périphérique audio ne s'est pas fermé dans les 5 secondes : il est abandonné.";

class EWaveAudioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// A device call failed; the message is the system's text for the code.
class EWaveAudioSysError : public EWaveAudioError {
public:
    using EWaveAudioError::EWaveAudioError;
};
// The component was used in a state that does not allow the call.
class EWaveAudioInvalidOperation : public EWaveAudioError {
public:
    using EWaveAudioError::EWaveAudioError;
};

using TWaveAudioEvent = std::function<void(TWaveAudioIO& sender)>;
// Level is 0..100, or -1 for a sample width the meter does not know.
using TWaveAudioLevelEvent = std::function<void(TWaveAudioIO& sender, int32_t level)>;
// Supplies the format when PCMFormat is nonePCM. A record handed back with
// freeIt true must come from std::malloc; the component frees it after use.
using TWaveAudioGetFormatEvent = std::function<void(TWaveAudioIO& sender, WaveFormatEx*& pWaveFormat, bool& freeIt)>;
using TWaveAudioBufferEvent = std::function<void(TWaveAudioIO& sender, const void* buffer, uint32_t bufferSize)>;

class TWaveAudioIO {
public:
    explicit TWaveAudioIO(std::unique_ptr<WaveCallbackHost> host);
    TWaveAudioIO(const TWaveAudioIO&) = delete;
    TWaveAudioIO& operator=(const TWaveAudioIO&) = delete;
    virtual ~TWaveAudioIO();

    // Notifications go to a hidden window of the opening thread (false) or to a
    // callback thread (true). Changed only while inactive.
    bool Async() const { return async; }
    void SetAsync(bool value);
    // Milliseconds of sound per buffer; at least 10.
    uint16_t BufferLength() const { return bufferLength; }
    void SetBufferLength(uint16_t value);
    uint16_t BufferCount() const { return bufferCount; }
    void SetBufferCount(uint16_t value) { bufferCount = value; }
    uint32_t LastError() const { return lastError; }

    TWaveAudioEvent OnActivate;
    TWaveAudioEvent OnDeactivate;
    TWaveAudioEvent OnPause;
    TWaveAudioEvent OnResume;
    TWaveAudioEvent OnError;
    TWaveAudioLevelEvent OnLevel;
    TWaveAudioBufferEvent OnBufferData;

    // The virtual operations, in their fixed order.
protected:
    virtual void HandleWimOpen();
    virtual void HandleWimClose();
    virtual void HandleWimData(WaveHeader* header);
    virtual void HandleWomOpen();
    virtual void HandleWomClose();
    virtual void HandleWomDone(WaveHeader* header);

public:
    virtual uint32_t GetNumDevs() = 0;
    virtual bool GetActive();
    virtual void SetActive(bool value);
    virtual bool GetPaused() = 0;
    virtual void SetPaused(bool value);
    virtual std::string GetDeviceName() = 0;
    virtual TPCMFormatSet GetDeviceFormats() = 0;
    virtual uint32_t GetPosition() = 0;
    virtual std::string GetErrorText(uint32_t errorCode) = 0;

protected:
    virtual void GetWaveFormat(WaveFormatEx*& pWaveFormat, bool& freeIt) = 0;
    virtual uint32_t CheckDevice() = 0;
    virtual bool InternalOpen() = 0;
    virtual bool InternalClose() = 0;
    virtual bool InternalPause() = 0;
    virtual bool InternalResume() = 0;
    virtual bool IsDeviceOpen() = 0;
    virtual void QueueBuffers() = 0;
    virtual void ReleaseBuffers();
    virtual void DeviceOpened();
    virtual void DeviceClosed();
    virtual void DoActivate();
    virtual void DoDeactivate();
    virtual void DoPause();
    virtual void DoResume();
    virtual void DoError();
    virtual void DoLevel(const void* buffer, uint32_t bufferSize);
    virtual void DoBufferData(const void* buffer, uint32_t bufferSize);

public:
    virtual bool IsFormatSupported(const WaveFormatEx& format) = 0;
    virtual bool IsPCMFormatSupported(TPCMFormat format);

    // Headers that exist now, queued or being handled.
    uint16_t ActiveBufferCount() const { return static_cast<uint16_t>(buffers.size()); }
    // Bytes per buffer for BufferLength in the format in use.
    uint32_t BufferSize() const { return WaveBufferSize(bufferLength, waveFormat); }
    uint32_t MMTimeToMilliseconds(const WaveTime& time) const { return ::MMTimeToMilliseconds(time, waveFormat); }
    const PcmWaveFormat& WaveFormat() const { return waveFormat; }

protected:
    void EnterLock() { lock.lock(); }
    void LeaveLock() { lock.unlock(); }
    // Stores the code in LastError; false (after DoError) unless it is 0.
    bool CheckResult(uint32_t code);
    void CreateCallbackTarget();
    void DestroyCallbackTarget();
    bool DispatchDeviceMessage(uint32_t message, uintptr_t param);
    // Size 0 frees the header; otherwise (re)makes it with a block of our own
    // (buffer null) or wraps the given block. False after CheckResult on failure.
    bool ReallocateBuffer(WaveHeader*& header, uint32_t size, char* buffer);
    void WaitForOpenToFinish();
    // Raises EWaveAudioError (kDeviceDidNotCloseMessage) when the device has
    // not reported its close within kDeviceWaitLimitMs.
    void WaitForCloseToFinish();
    // Stops the device and waits for its close, reporting what fails; for the
    // destructor of every concrete class, so that its own close handling
    // still runs.
    void ShutDown();

    // Hands the exception being handled to the host's report; inside a catch block.
    void ReportCurrentException() noexcept { host->ReportException(); }

    bool IsDestroying() const { return destroying; }
    bool IsOpening() const { return opening; }
    bool IsClosing() const { return closing; }
    void SetOpening(bool value) { opening = value; }
    void SetClosing(bool value) { closing = value; }
    uintptr_t CallbackTarget() const { return callbackTarget; }
    uint32_t CallbackType() const { return callbackType; }
    uint32_t DeviceID() const { return deviceId; }
    void SetWaveFormat(const WaveFormatEx& format);

    // Holds the lock for one scope.
    class LockScope {
    public:
        explicit LockScope(TWaveAudioIO& owner) : owner_(owner) { owner_.EnterLock(); }
        LockScope(const LockScope&) = delete;
        LockScope& operator=(const LockScope&) = delete;
        ~LockScope() { owner_.LeaveLock(); }

    private:
        TWaveAudioIO& owner_;
    };

private:
    void FreeHeader(WaveHeader*& header);

    bool async = false;
    uint32_t deviceId = kWaveMapper;
    // Fields below marked atomic are read or written by the callback thread
    // in thread mode while the owner's thread may look at them.
    std::atomic<uint32_t> lastError = 0;
    uint16_t bufferLength = 1000;
    uint16_t bufferCount = 2;
    // Read without the lock by the other thread in thread mode.
    std::atomic<bool> opening = false;
    std::atomic<bool> closing = false;
    std::atomic<uintptr_t> callbackTarget = 0;
    uint32_t callbackType = 0;
    std::vector<WaveHeader*> buffers;
    std::recursive_mutex lock;
    PcmWaveFormat waveFormat{};
    std::unique_ptr<WaveCallbackHost> host;
    std::atomic<bool> destroying = false;
};
