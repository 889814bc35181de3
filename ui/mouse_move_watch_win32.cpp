#include "ui/mouse_move_watch_win32.h"

#include <stdexcept>

#include "win/error_box_win32.h"

namespace {
constexpr const char* kWatchProperty = "SonorafluxMouseMoveWatch";
// The procedure ours passes every message on to; kept with the window, so
// that ours can stay in the chain after Stop when another one sits in front.
constexpr const char* kNextProperty = "SonorafluxMouseMoveWatchNext";
}  // namespace

void MouseMoveWatch::Watch(HWND child, std::function<void(int id, POINT screenPoint)> onMouseMove) {
    Stop();
    if (!child || !::IsWindow(child) || ::GetPropA(child, kNextProperty))
        throw std::runtime_error("Ooops ! Contrôle impossible à surveiller");
    char className[16] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (::lstrcmpiA(className, "Static") == 0)
        ::SetWindowLongA(child, GWL_STYLE, ::GetWindowLongA(child, GWL_STYLE) | SS_NOTIFY);
    const auto next = ::GetWindowLongPtrA(child, GWLP_WNDPROC);
    if (!::SetPropA(child, kNextProperty, reinterpret_cast<HANDLE>(next)) || !::SetPropA(child, kWatchProperty, this)) {
        ::RemovePropA(child, kNextProperty);
        throw std::runtime_error("Ooops ! Contrôle impossible à surveiller");
    }
    onMouseMove_ = std::move(onMouseMove);
    child_ = child;
    ::SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MouseMoveWatch::Proc));
}

void MouseMoveWatch::Stop() noexcept {
    if (!child_) return;
    ::RemovePropA(child_, kWatchProperty);
    // Take ours out of the chain only if it is in front; otherwise it stays
    // and passes everything on.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(child_, GWLP_WNDPROC)) == &MouseMoveWatch::Proc) {
        ::SetWindowLongPtrA(child_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropA(child_, kNextProperty)));
        ::RemovePropA(child_, kNextProperty);
    }
    child_ = nullptr;
}

LRESULT CALLBACK MouseMoveWatch::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto next = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kNextProperty));
    auto* self = static_cast<MouseMoveWatch*>(::GetPropA(hwnd, kWatchProperty));
    if (self && msg == WM_MOUSEMOVE && self->onMouseMove_) {
        POINT screen{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ::ClientToScreen(hwnd, &screen);
        GuardedCall([&] { self->onMouseMove_(::GetDlgCtrlID(hwnd), screen); });
    }
    if (msg == WM_NCDESTROY) {
        if (self) self->Stop();
        ::RemovePropA(hwnd, kWatchProperty);
        ::RemovePropA(hwnd, kNextProperty);
    }
    return next ? ::CallWindowProcA(next, hwnd, msg, wp, lp) : ::DefWindowProcA(hwnd, msg, wp, lp);
}
