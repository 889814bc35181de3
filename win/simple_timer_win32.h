// A light timer object: a system timer on one hidden window shared by every
// timer of the process, so a timer needs no window of its own.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "win/window_win32.h"

// A hidden window shared by every object of one kind in the process, created
// with the first and destroyed with the last. Messages name objects by an id
// from a counter that never repeats, so a late message for a destroyed object
// finds nothing instead of a dangling pointer.
template <typename Derived, typename Object, typename Id>
class SharedObjectWindow : public MessageWindow {
public:
    static std::shared_ptr<Derived> Acquire() {
        std::shared_ptr<Derived> window = shared_.lock();
        if (!window) {
            window = std::make_shared<Derived>();
            shared_ = window;
        }
        return window;
    }

    // The window while any object holds it, else nullptr.
    static HWND CurrentWindow() noexcept {
        std::shared_ptr<Derived> window = shared_.lock();
        return window ? window->Handle() : nullptr;
    }

    Id Register(Object* object) {
        Id id = ++lastId_;
        objects_[id] = object;
        return id;
    }

    void Unregister(Id id) noexcept { objects_.erase(id); }

protected:
    Object* Find(Id id) const noexcept {
        auto it = objects_.find(id);
        return it == objects_.end() ? nullptr : it->second;
    }

private:
    static inline std::weak_ptr<Derived> shared_;
    static inline Id lastId_ = 0;
    std::map<Id, Object*> objects_;
};

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
