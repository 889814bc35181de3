// The smallest tray program, the start bench's anchor: one hidden window, one
// tray icon, a message loop. Closing its window removes the icon and ends it.
#include <windows.h>
#include <shellapi.h>

namespace {
LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        NOTIFYICONDATAA icon{sizeof icon, hwnd, 1};
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.lpszClassName = "SmallestTrayWindow";
    ::RegisterClassA(&type);
    HWND window = ::CreateWindowA(type.lpszClassName, "Smallest tray", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, instance, nullptr);
    NOTIFYICONDATAA icon{sizeof icon, window, 1, NIF_ICON | NIF_TIP};
    icon.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpyA(icon.szTip, "Smallest tray");
    ::Shell_NotifyIconA(NIM_ADD, &icon);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
