// The three kinds of modal message the program shows, and the general error box
// that every window procedure, COM method and device callback falls back on.
#pragma once
#include <windows.h>
#include <string>

inline constexpr const char* kApplicationTitle = "Sonoraflux";

// Modal box "Sonoraflux", error icon, the message (with a full stop) and "OK".
void ShowApplicationError(const std::string& message);

// Reports the exception in flight; call only from inside a catch block.
void ShowCurrentException() noexcept;

// Plain box: title "Sonoraflux", one "OK", no icon.
void ShowPlainMessage(HWND owner, const std::string& text);

// Warning dialog: title "Warning", warning icon, one "OK".
void ShowWarningDialog(HWND owner, const std::string& text);

// Runs f and shows any exception it raises in the general error box, so that no
// exception ever crosses a window procedure or a system callback.
template <typename F>
void GuardedCall(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        ShowCurrentException();
    }
}
