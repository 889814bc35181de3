#include "win/error_box_win32.h"

#include <exception>

#include "base/error_text.h"

namespace {
// Message boxes are owned by the active window of this thread, so they stay in
// front of whatever the user is looking at (the editor or the recorder).
HWND ActiveOwner() { return ::GetActiveWindow(); }
}  // namespace

void ShowApplicationError(const std::string& message) {
    const std::string text = ErrorBoxText(message);
    ::MessageBoxA(ActiveOwner(), text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ShowCurrentException() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowApplicationError(e.what());
    } catch (...) {
        ShowApplicationError("Erreur inconnue");
    }
}

void ShowPlainMessage(HWND owner, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), kApplicationTitle, MB_OK | MB_TASKMODAL);
}

void ShowWarningDialog(HWND owner, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), "Warning", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}
