#include "ui/tab_stops_win32.h"

namespace {
void SetStyleBit(HWND control, LONG bit, bool on) {
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const LONG wanted = on ? style | bit : style & ~bit;
    if (wanted != style) ::SetWindowLongA(control, GWL_STYLE, wanted);
}

// Moves the control just after `previous` (null: to the top) unless it is there.
void PlaceAfter(HWND control, HWND previous) {
    if (::GetWindow(control, GW_HWNDPREV) == previous) return;
    ::SetWindowPos(control, previous ? previous : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
}  // namespace

void ApplyTabStops(HWND window, std::span<const TabStop> stops) {
    HWND previous = nullptr;
    for (const TabStop& stop : stops) {
        HWND control = ::GetDlgItem(window, stop.id);
        if (!control) continue;
        if (HWND label = stop.label ? ::GetDlgItem(window, stop.label) : nullptr) {
            PlaceAfter(label, previous);
            SetStyleBit(label, WS_GROUP, true);
            previous = label;
        }
        PlaceAfter(control, previous);
        SetStyleBit(control, WS_GROUP, true);
        SetStyleBit(control, WS_TABSTOP, stop.reachable);
        previous = control;
    }
    if (HWND rest = previous ? ::GetWindow(previous, GW_HWNDNEXT) : nullptr) SetStyleBit(rest, WS_GROUP, true);
}
