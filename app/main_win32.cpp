// The program entry: one copy per desktop, no visible window at start, the
// main window first, then the message loop until the main window closes.
#include <windows.h>

#include "app/program_win32.h"
#include "win/dialog_keys_win32.h"
#include "win/error_box_win32.h"
#include "win/handles_win32.h"

namespace {
int RunMessageLoop() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (HandleDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ::SetLastError(0);
    // Held until the process ends; the system releases it then.
    UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, "SONORAFLUX"));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    try {
        Program program(instance);
        return RunMessageLoop();
    } catch (...) {
        ShowCurrentException();
        return 1;
    }
}
