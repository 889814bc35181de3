#include "desktop/simple_timer_win32.h"

#include <map>

#include "win/window_win32.h"

// Owns the system timers of every TSimpleTimer and routes WM_TIMER by id. Timers
// are found through the map, never through a pointer carried by the message, so
// a late tick of a destroyed timer finds nothing.
class TSimpleTimerHandler : public MessageWindow {
public:
    TSimpleTimerHandler() { CreateMessageOnly("SonorafluxSimpleTimer"); }

    static std::shared_ptr<TSimpleTimerHandler> Acquire() {
        std::shared_ptr<TSimpleTimerHandler> handler = shared_.lock();
        if (!handler) {
            handler = std::make_shared<TSimpleTimerHandler>();
            shared_ = handler;
        }
        return handler;
    }

    static HWND CurrentWindow() noexcept {
        std::shared_ptr<TSimpleTimerHandler> handler = shared_.lock();
        return handler ? handler->Handle() : nullptr;
    }

    UINT_PTR Register(TSimpleTimer* timer) {
        UINT_PTR id = ++lastId_;
        timers_[id] = timer;
        return id;
    }

    void Unregister(UINT_PTR id) noexcept { timers_.erase(id); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_TIMER) return MessageWindow::HandleMessage(msg, wp, lp);
        auto it = timers_.find(wp);
        if (it == timers_.end()) {
            ::KillTimer(Handle(), wp);
            return 0;
        }
        it->second->Tick();
        return 0;
    }

private:
    static inline std::weak_ptr<TSimpleTimerHandler> shared_;
    std::map<UINT_PTR, TSimpleTimer*> timers_;
    // Ids only grow, so a destroyed timer's id never names a new one.
    static inline UINT_PTR lastId_ = 0;
};

TSimpleTimer::TSimpleTimer() : handler_(TSimpleTimerHandler::Acquire()), id_(handler_->Register(this)) {}

TSimpleTimer::~TSimpleTimer() {
    Stop();
    handler_->Unregister(id_);
}

HWND TSimpleTimer::HandlerWindow() noexcept { return TSimpleTimerHandler::CurrentWindow(); }

void TSimpleTimer::SetInterval(UINT milliseconds) {
    interval_ = milliseconds;
    if (enabled_) Start();
}

void TSimpleTimer::SetEnabled(bool enabled) {
    if (enabled)
        Start();
    else
        Stop();
}

void TSimpleTimer::Start() {
    Stop();
    // Without its window a system timer would fall back to a thread timer with another id.
    if (interval_ == 0 || !handler_->Handle()) return;
    enabled_ = ::SetTimer(handler_->Handle(), id_, interval_, nullptr) != 0;
}

void TSimpleTimer::Stop() {
    if (!enabled_) return;
    ::KillTimer(handler_->Handle(), id_);
    enabled_ = false;
}

void TSimpleTimer::Tick() {
    // A copy: the handler may destroy this timer, and the function with it.
    std::function<void()> onTimer = onTimer_;
    if (onTimer) onTimer();
}
