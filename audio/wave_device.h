// The seam between the capture engine and the system: the wave input calls the
// engine makes, and the host that carries the device's notifications back to it
// (a hidden window or a callback thread on Windows, a script in tests).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "audio/wave_format.h"

// Same layout as the system's WAVEHDR, so the device fills these in place.
struct WaveHeader {
    char* data;
    uint32_t bufferLength;
    uint32_t bytesRecorded;
    uintptr_t user;
    uint32_t flags;
    uint32_t loops;
    WaveHeader* next;
    uintptr_t reserved;
};

// Result codes and flags of the wave functions the engine relies on.
inline constexpr uint32_t kMmSysNoError = 0;
inline constexpr uint32_t kMmSysError = 1;
inline constexpr uint32_t kMmSysNoMem = 7;
inline constexpr uint32_t kMmSysInvalParam = 11;
inline constexpr uint32_t kWaveStillPlaying = 33;
inline constexpr uint32_t kWaveUnprepared = 34;
inline constexpr uint32_t kWaveHeaderDone = 1;
inline constexpr uint32_t kWaveHeaderPrepared = 2;
inline constexpr uint32_t kWaveHeaderInQueue = 16;
inline constexpr uint32_t kWaveMapper = 0xFFFFFFFFu;
inline constexpr uint32_t kCallbackWindow = 0x00010000;
inline constexpr uint32_t kCallbackThread = 0x00020000;

// The device's notifications, as window or thread messages.
inline constexpr uint32_t kMmWomOpen = 0x3BB;
inline constexpr uint32_t kMmWomClose = 0x3BC;
inline constexpr uint32_t kMmWomDone = 0x3BD;
inline constexpr uint32_t kMmWimOpen = 0x3BE;
inline constexpr uint32_t kMmWimClose = 0x3BF;
inline constexpr uint32_t kMmWimData = 0x3C0;

// One wave input device family; every call returns the system's result code.
class WaveInDevice {
public:
    virtual ~WaveInDevice() = default;
    virtual uint32_t GetNumDevs() = 0;
    virtual uint32_t GetDevCaps(uint32_t deviceId, std::string& productName, uint32_t& formats) = 0;
    virtual uint32_t QueryFormat(uint32_t deviceId, const WaveFormatEx& format) = 0;
    virtual uint32_t Open(uintptr_t& handle, uint32_t deviceId, const WaveFormatEx& format, uintptr_t callback,
                          uint32_t callbackType) = 0;
    virtual uint32_t PrepareHeader(uintptr_t handle, WaveHeader& header) = 0;
    virtual uint32_t UnprepareHeader(uintptr_t handle, WaveHeader& header) = 0;
    virtual uint32_t AddBuffer(uintptr_t handle, WaveHeader& header) = 0;
    virtual uint32_t Start(uintptr_t handle) = 0;
    virtual uint32_t Stop(uintptr_t handle) = 0;
    virtual uint32_t Reset(uintptr_t handle) = 0;
    virtual uint32_t Close(uintptr_t handle) = 0;
    virtual uint32_t GetPosition(uintptr_t handle, WaveTime& time) = 0;
    virtual uint32_t GetErrorText(uint32_t code, std::string& text) = 0;
};

// Receives one device notification: the message number and its parameter
// (the header for data notifications); false for a message it does not know.
using WaveMessageDispatch = std::function<bool(uint32_t message, uintptr_t param)>;

// Where the device's notifications go, and how the engine waits for them.
class WaveCallbackHost {
public:
    struct Target {
        uintptr_t id;   // what the device is opened with; never 0
        uint32_t type;  // kCallbackWindow or kCallbackThread
    };
    virtual ~WaveCallbackHost() = default;
    // Makes a new target whose notifications go to dispatch (in this thread's
    // message loop, or in a callback thread when async).
    virtual Target Create(bool async, WaveMessageDispatch dispatch) = 0;
    // Lets go of the target; may be called from inside dispatch.
    virtual void Destroy() = 0;
    // Delivers notifications until closed() is true (the target is gone), for
    // at most limitMs; false when the time ran out first.
    virtual bool WaitForClose(const std::function<bool()>& closed, uint32_t limitMs) = 0;
    // Delivers notifications while opening() is true, for at most limitMs;
    // false when the time ran out first.
    virtual bool WaitForOpen(const std::function<bool()>& opening, uint32_t limitMs) = 0;
    // An exception escaped a notification; called inside the catch block. It is
    // reported to the user and goes no further.
    virtual void ReportException() noexcept = 0;
};
