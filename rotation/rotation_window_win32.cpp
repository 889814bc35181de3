#include "rotation/rotation_window_win32.h"

RotationWindow::RotationWindow(HINSTANCE instance, HWND owner) {
    CreateParams params{kRotationWindowClass, "Sonoraflux"};
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    params.exStyle = WS_EX_DLGMODALFRAME;
    params.width = kClientWidth;
    params.height = kClientHeight;
    params.clientSize = true;
    params.parent = owner;
    params.icon = ::LoadIconA(instance, "MAINICON");
    Create(params);
}

RotationWindow::~RotationWindow() { Destroy(); }

LRESULT RotationWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}
