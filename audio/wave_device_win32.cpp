#include "audio/wave_device_win32.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

#include "win/error_box_win32.h"
#include "win/handles_win32.h"
#include "win/message_wait_win32.h"
#include "win/window_win32.h"

// The engine's records are the system's, byte for byte: the device reads and
// fills them in place.
static_assert(sizeof(WaveHeader) == sizeof(WAVEHDR));
static_assert(offsetof(WaveHeader, bytesRecorded) == offsetof(WAVEHDR, dwBytesRecorded));
static_assert(offsetof(WaveHeader, user) == offsetof(WAVEHDR, dwUser));
static_assert(offsetof(WaveHeader, flags) == offsetof(WAVEHDR, dwFlags));
static_assert(offsetof(WaveHeader, reserved) == offsetof(WAVEHDR, reserved));
static_assert(sizeof(WaveFormatEx) == sizeof(WAVEFORMATEX));
static_assert(offsetof(WaveFormatEx, avgBytesPerSec) == offsetof(WAVEFORMATEX, nAvgBytesPerSec));
static_assert(offsetof(WaveFormatEx, extraSize) == offsetof(WAVEFORMATEX, cbSize));
static_assert(sizeof(PcmWaveFormat) == sizeof(PCMWAVEFORMAT));
static_assert(sizeof(WaveTime) == sizeof(MMTIME));
static_assert(kWaveHeaderPrepared == WHDR_PREPARED && kWaveHeaderDone == WHDR_DONE);
static_assert(kCallbackWindow == CALLBACK_WINDOW && kCallbackThread == CALLBACK_THREAD);
static_assert(kMmWimOpen == MM_WIM_OPEN && kMmWimData == MM_WIM_DATA && kMmWimClose == MM_WIM_CLOSE);

namespace {

std::atomic<DeviceExceptionHandler> exceptionHandler{&ShowCurrentException};

HWAVEIN AsWaveIn(uintptr_t handle) { return reinterpret_cast<HWAVEIN>(handle); }
WAVEHDR* AsHeader(WaveHeader& header) { return reinterpret_cast<WAVEHDR*>(&header); }
const WAVEFORMATEX* AsFormat(const WaveFormatEx& format) { return reinterpret_cast<const WAVEFORMATEX*>(&format); }
UINT DeviceNumber(uint32_t deviceId) { return deviceId == kWaveMapper ? WAVE_MAPPER : deviceId; }

class WinmmWaveIn : public WaveInDevice {
public:
    uint32_t GetNumDevs() override { return ::waveInGetNumDevs(); }

    uint32_t GetDevCaps(uint32_t deviceId, std::string& productName, uint32_t& formats) override {
        WAVEINCAPSA caps{};
        const MMRESULT result = ::waveInGetDevCapsA(DeviceNumber(deviceId), &caps, sizeof caps);
        if (result == MMSYSERR_NOERROR) {
            productName.assign(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
            formats = caps.dwFormats;
        }
        return result;
    }

    uint32_t QueryFormat(uint32_t deviceId, const WaveFormatEx& format) override {
        return ::waveInOpen(nullptr, DeviceNumber(deviceId), AsFormat(format), 0, 0, WAVE_FORMAT_QUERY);
    }

    uint32_t Open(uintptr_t& handle, uint32_t deviceId, const WaveFormatEx& format, uintptr_t callback,
                  uint32_t callbackType) override {
        HWAVEIN device = nullptr;
        const MMRESULT result = ::waveInOpen(&device, DeviceNumber(deviceId), AsFormat(format), callback, 0, callbackType);
        handle = reinterpret_cast<uintptr_t>(device);
        return result;
    }

    uint32_t PrepareHeader(uintptr_t handle, WaveHeader& header) override {
        return ::waveInPrepareHeader(AsWaveIn(handle), AsHeader(header), sizeof(WAVEHDR));
    }
    uint32_t UnprepareHeader(uintptr_t handle, WaveHeader& header) override {
        return ::waveInUnprepareHeader(AsWaveIn(handle), AsHeader(header), sizeof(WAVEHDR));
    }
    uint32_t AddBuffer(uintptr_t handle, WaveHeader& header) override {
        return ::waveInAddBuffer(AsWaveIn(handle), AsHeader(header), sizeof(WAVEHDR));
    }
    uint32_t Start(uintptr_t handle) override { return ::waveInStart(AsWaveIn(handle)); }
    uint32_t Stop(uintptr_t handle) override { return ::waveInStop(AsWaveIn(handle)); }
    uint32_t Reset(uintptr_t handle) override { return ::waveInReset(AsWaveIn(handle)); }
    uint32_t Close(uintptr_t handle) override { return ::waveInClose(AsWaveIn(handle)); }

    uint32_t GetPosition(uintptr_t handle, WaveTime& time) override {
        return ::waveInGetPosition(AsWaveIn(handle), reinterpret_cast<MMTIME*>(&time), sizeof(MMTIME));
    }

    uint32_t GetErrorText(uint32_t code, std::string& text) override {
        char buffer[256] = {};
        const MMRESULT result = ::waveInGetErrorTextA(code, buffer, sizeof buffer);
        if (result == MMSYSERR_NOERROR) text = buffer;
        return result;
    }
};

// The hidden window that receives the device's notifications in window mode.
class WaveCallbackWindow : public MessageWindow {
public:
    explicit WaveCallbackWindow(WaveMessageDispatch dispatch) : dispatch_(std::move(dispatch)) {
        CreateMessageOnly("SonorafluxWaveCallback");
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (dispatch_(msg, static_cast<uintptr_t>(lp))) return 0;
        return MessageWindow::HandleMessage(msg, wp, lp);
    }

private:
    WaveMessageDispatch dispatch_;
};

// Carries exceptions of thread-mode notifications to the owner's thread. Shown
// on the callback thread, the error box's modal loop would drop the device's
// thread messages: the device would never close and the owner would wait for
// it forever.
class ExceptionRelayWindow : public MessageWindow {
public:
    ExceptionRelayWindow() { CreateMessageOnly("SonorafluxWaveErrors"); }

    // From the callback thread, inside its catch block.
    void Relay(std::exception_ptr failure) {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            pending_.push_back(std::move(failure));
        }
        ::PostMessageA(Handle(), kRelayMessage, 0, 0);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != kRelayMessage) return MessageWindow::HandleMessage(msg, wp, lp);
        std::vector<std::exception_ptr> failures;
        {
            std::lock_guard<std::mutex> guard(mutex_);
            failures.swap(pending_);
        }
        for (const std::exception_ptr& failure : failures) {
            try {
                std::rethrow_exception(failure);
            } catch (...) {
                exceptionHandler.load()();
            }
        }
        return 0;
    }

private:
    static constexpr UINT kRelayMessage = WM_APP + 1;
    std::mutex mutex_;
    std::vector<std::exception_ptr> pending_;
};

}  // namespace

// The callback thread of thread mode. It owns itself: the object goes when the
// thread's message loop ends, which the host asks for by posting WM_QUIT.
class TWaveThread {
public:
    // Starts the thread and returns once its message queue exists, so the
    // device's first notification cannot be lost.
    static UniqueKernelHandle Start(WaveMessageDispatch dispatch, DWORD& threadId) {
        auto* thread = new TWaveThread(std::move(dispatch));
        UniqueKernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        thread->ready_ = ready.get();
        UniqueKernelHandle handle(::CreateThread(nullptr, 0, &TWaveThread::Run, thread, CREATE_SUSPENDED, &threadId));
        if (!handle || !ready) {
            delete thread;
            throw std::runtime_error("Impossible de créer le thread de capture");
        }
        ::ResumeThread(handle.get());
        ::WaitForSingleObject(ready.get(), INFINITE);
        return handle;
    }

private:
    explicit TWaveThread(WaveMessageDispatch dispatch) : dispatch_(std::move(dispatch)) {}

    static DWORD WINAPI Run(void* parameter) {
        std::unique_ptr<TWaveThread> self(static_cast<TWaveThread*>(parameter));
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
        ::SetEvent(self->ready_);
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) self->dispatch_(msg.message, static_cast<uintptr_t>(msg.lParam));
        return 0;
    }

    WaveMessageDispatch dispatch_;
    HANDLE ready_ = nullptr;
};

namespace {

// The end of a bounded wait.
class Deadline {
public:
    explicit Deadline(uint32_t limitMs) : end_(::GetTickCount64() + limitMs) {}
    // Milliseconds left, 0 once it has passed.
    DWORD Left() const {
        const ULONGLONG now = ::GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

private:
    ULONGLONG end_;
};

// Sleeps between two looks at the device, never past the deadline.
constexpr DWORD kPollMs = 20;

class Win32CallbackHost : public WaveCallbackHost {
public:
    Win32CallbackHost() : ownerThread_(::GetCurrentThreadId()) {}

    ~Win32CallbackHost() override {
        window_.reset();
        retired_.reset();
        // A thread may still be on its way out, inside the engine; one that was
        // never told to end (the close was not waited for) is told now.
        for (auto& thread : threads_) {
            if (::WaitForSingleObject(thread.handle.get(), 0) == WAIT_TIMEOUT)
                ::PostThreadMessageA(thread.id, WM_QUIT, 0, 0);
            ::WaitForSingleObject(thread.handle.get(), INFINITE);
        }
        relay_.reset();
    }

    Target Create(bool async, WaveMessageDispatch dispatch) override {
        threadMode_ = async;
        if (async) {
            // Made here, in the owner's thread, before any callback thread can need it.
            if (!relay_) relay_ = std::make_unique<ExceptionRelayWindow>();
            ForgetFinishedThreads();
            CallbackThread thread;
            thread.handle = TWaveThread::Start(std::move(dispatch), thread.id);
            threads_.push_back(std::move(thread));
            liveThreadId_ = threads_.back().id;
            return {threads_.back().id, kCallbackThread};
        }
        // The previous window may be the one whose handler is running now.
        retired_ = std::move(window_);
        window_ = std::make_unique<WaveCallbackWindow>(std::move(dispatch));
        return {reinterpret_cast<uintptr_t>(window_->Handle()), kCallbackWindow};
    }

    // Runs in the callback thread itself when the close notification ends thread mode.
    void Destroy() override {
        if (threadMode_) {
            const DWORD id = liveThreadId_.exchange(0);
            if (id != 0)
                while (!::PostThreadMessageA(id, WM_QUIT, 0, 0)) ::Sleep(0);
        } else if (window_ && window_->Handle()) {
            ::DestroyWindow(window_->Handle());
        }
    }

    bool WaitForClose(const std::function<bool()>& closed, uint32_t limitMs) override {
        const Deadline deadline(limitMs);
        if (!threadMode_) return PumpCallbackWindow(closed, deadline);
        // First until the close is handled (the live thread then ends itself)...
        while (!closed() && !threads_.empty() && deadline.Left() > 0) {
            if (MessagePumpingWait(threads_.back().handle.get(), std::min(deadline.Left(), kPollMs)) == WAIT_OBJECT_0)
                break;
        }
        // ...then until every thread told to end has left the engine: the
        // component reads inactive while its thread still releases the
        // buffers. Not bounded: these threads only run our own code on their
        // way out, and the engine must not go from under them.
        const DWORD live = liveThreadId_.load();
        for (const CallbackThread& thread : threads_)
            if (thread.id != live) MessagePumpingWait(thread.handle.get(), INFINITE);
        return closed();
    }

    bool WaitForOpen(const std::function<bool()>& opening, uint32_t limitMs) override {
        const Deadline deadline(limitMs);
        const auto opened = [&] { return !opening(); };
        if (!threadMode_) return PumpCallbackWindow(opened, deadline);
        while (!opened()) {
            if (deadline.Left() == 0) return false;
            PumpWaitingMessages(true);
            ::Sleep(1);
        }
        return true;
    }

    void ReportException() noexcept override {
        if (::GetCurrentThreadId() == ownerThread_ || !relay_) {
            exceptionHandler.load()();
            return;
        }
        try {
            relay_->Relay(std::current_exception());
        } catch (...) {
            // Out of memory for the relay: the failure is lost, the capture goes on.
        }
    }

private:
    struct CallbackThread {
        UniqueKernelHandle handle;
        DWORD id = 0;
    };

    // Handles the callback window's messages until done() holds, sleeping
    // between them rather than spinning while the device works; false when
    // the deadline comes first. A WM_QUIT does not end the wait: when the
    // program root goes, its loop has taken WM_QUIT already, and only the
    // deadline can end a wait for a device that stays silent. One that comes
    // (Wine hands it out even to a peek for one window) is put back after.
    bool PumpCallbackWindow(const std::function<bool()>& done, const Deadline& deadline) {
        const HWND hwnd = window_ ? window_->Handle() : nullptr;
        if (!hwnd) return done();
        struct KeptQuit {
            std::optional<WPARAM> code;
            ~KeptQuit() {
                if (code) ::PostQuitMessage(static_cast<int>(*code));
            }
        } quit;
        while (!done()) {
            const DWORD left = deadline.Left();
            if (left == 0) return false;
            MSG msg;
            if (::PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit.code = msg.wParam;
                    continue;
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(left, kPollMs), QS_POSTMESSAGE | QS_SENDMESSAGE);
            }
        }
        return true;
    }

    void ForgetFinishedThreads() {
        std::erase_if(threads_, [](const CallbackThread& t) {
            return ::WaitForSingleObject(t.handle.get(), 0) == WAIT_OBJECT_0;
        });
    }

    std::unique_ptr<WaveCallbackWindow> window_;
    std::unique_ptr<WaveCallbackWindow> retired_;
    std::vector<CallbackThread> threads_;
    std::atomic<DWORD> liveThreadId_{0};
    bool threadMode_ = false;
    DWORD ownerThread_;
    std::unique_ptr<ExceptionRelayWindow> relay_;
};

}  // namespace

std::unique_ptr<WaveInDevice> MakeWinmmWaveIn() { return std::make_unique<WinmmWaveIn>(); }

std::unique_ptr<WaveCallbackHost> MakeWaveCallbackHost() { return std::make_unique<Win32CallbackHost>(); }

DeviceExceptionHandler SetDeviceExceptionHandler(DeviceExceptionHandler handler) {
    return exceptionHandler.exchange(handler ? handler : &ShowCurrentException);
}
