#include "app/startup_win32.h"

HWND FindTrayToolbarWindow() {
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    HWND notifyArea = taskbar ? ::FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    if (!notifyArea) return nullptr;
    HWND pager = ::FindWindowExA(notifyArea, nullptr, "SysPager", nullptr);
    HWND toolbar = ::FindWindowExA(pager ? pager : notifyArea, nullptr, "ToolbarWindow32", nullptr);
    return toolbar ? toolbar : notifyArea;
}
