#include "editor/help_balloon_hints_win32.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kRestTimer = 1;
constexpr UINT_PTR kShowTimer = 2;
}  // namespace

HelpBalloonHints::HelpBalloonHints(HelpBalloons& balloons, BalloonPresenter& presenter)
    : balloons_(balloons), presenter_(presenter) {
    CreateMessageOnly("SonorafluxHelpBalloons");
}

HelpBalloonHints::~HelpBalloonHints() {
    presenter_.HideBalloon();
    Destroy();
}

void HelpBalloonHints::Attach(HWND control, int key) {
    ::SetWindowSubclass(control, &HelpBalloonHints::ControlProc, static_cast<UINT_PTR>(key),
                        reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK HelpBalloonHints::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                               DWORD_PTR self) {
    auto* hints = reinterpret_cast<HelpBalloonHints*>(self);
    switch (msg) {
        case WM_MOUSEMOVE: hints->PointerOver(hwnd, static_cast<int>(key)); break;
        case WM_MOUSELEAVE: hints->PointerGone(hwnd); break;
        // A click or a key ends the hint, as everywhere in Windows.
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN: hints->Close(); break;
        case WM_NCDESTROY:
            hints->PointerGone(hwnd);
            ::RemoveWindowSubclass(hwnd, &HelpBalloonHints::ControlProc, key);
            break;
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// The title changes as soon as the pointer is over the control, before the
// balloon opens; a new control restarts the wait.
void HelpBalloonHints::PointerOver(HWND control, int key) {
    balloons_.PointerMoved(key);
    if (control == hovered_) return;
    Close();
    hovered_ = control;
    hoveredKey_ = key;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control, 0};
    ::TrackMouseEvent(&track);
    ::SetTimer(Handle(), kRestTimer, kRestMs, nullptr);
}

void HelpBalloonHints::PointerGone(HWND control) {
    if (control != hovered_) return;
    Close();
    hovered_ = nullptr;
}

void HelpBalloonHints::ShowNow() {
    ::KillTimer(Handle(), kRestTimer);
    if (!hovered_ || !::IsWindowVisible(hovered_) || !::IsWindowEnabled(hovered_)) return;
    const auto balloon = balloons_.BalloonFor(hoveredKey_);
    if (!balloon) return;
    POINT at{};
    ::GetCursorPos(&at);
    presenter_.ShowBalloon(*balloon, at);
    shown_ = true;
    ::SetTimer(Handle(), kShowTimer, kShowMs, nullptr);
}

void HelpBalloonHints::Close() {
    ::KillTimer(Handle(), kRestTimer);
    ::KillTimer(Handle(), kShowTimer);
    if (shown_) presenter_.HideBalloon();
    shown_ = false;
}

LRESULT HelpBalloonHints::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        if (wp == kRestTimer) ShowNow();
        if (wp == kShowTimer) Close();
        return 0;
    }
    return MessageWindow::HandleMessage(msg, wp, lp);
}
