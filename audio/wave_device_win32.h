// The capture engine's Win32 side: the winmm wave input device and the host
// that receives its notifications, either in a hidden message-only window of
// the opening thread or in a callback thread (TWaveThread).
#pragma once
#include <windows.h>

#include <memory>

#include "audio/wave_device.h"

std::unique_ptr<WaveInDevice> MakeWinmmWaveIn();
std::unique_ptr<WaveCallbackHost> MakeWaveCallbackHost();

// What happens to an exception that escapes a device notification; called
// inside the catch block, always in the thread that owns the component (an
// exception of the callback thread is carried over to it). The default shows
// the application's error box; tests put an observer in its place. Returns the
// previous handler.
using DeviceExceptionHandler = void (*)() noexcept;
DeviceExceptionHandler SetDeviceExceptionHandler(DeviceExceptionHandler handler);
