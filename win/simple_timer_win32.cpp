#include "win/simple_timer_win32.h"

// Owns the system timers of every TSimpleTimer and routes WM_TIMER by id.
class TSimpleTimerHandler : public SharedObjectWindow<TSimpleTimerHandler, TSimpleTimer, UINT_PTR> {
public:
    TSimpleTimerHandler() { CreateMessageOnly("SonorafluxSimpleTimer"); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_TIMER) return MessageWindow::HandleMessage(msg, wp, lp);
        if (TSimpleTimer* timer = Find(wp))
            timer->Tick();
        else
            ::KillTimer(Handle(), wp);
        return 0;
    }
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
