// A light timer object: a system timer on one hidden window shared by every
// timer of the process, so a timer needs no window of its own.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

class TSimpleTimerHandler;

class TSimpleTimer {
public:
    TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;
    ~TSimpleTimer();

    // Milliseconds; 1000 when constructed. Changing it restarts a running
    // timer; 0 stops it.
    void SetInterval(UINT milliseconds);
    UINT Interval() const noexcept { return interval_; }

    // Starts (restarting a running timer) or stops. An interval of 0, or a
    // refused system timer, leaves the timer stopped.
    void SetEnabled(bool enabled);
    bool Enabled() const noexcept { return enabled_; }

    // Called on every tick, on the thread that created the timer.
    void SetOnTimer(std::function<void()> onTimer) { onTimer_ = std::move(onTimer); }

    // The system timer's id, unique in the process and never reused.
    UINT_PTR Id() const noexcept { return id_; }

    // The shared window that owns the system timers; nullptr when no timer exists.
    static HWND HandlerWindow() noexcept;

private:
    friend class TSimpleTimerHandler;
    void Start();
    void Stop();
    void Tick();

    std::shared_ptr<TSimpleTimerHandler> handler_;
    UINT_PTR id_ = 0;
    UINT interval_ = 1000;
    bool enabled_ = false;
    std::function<void()> onTimer_;
};
