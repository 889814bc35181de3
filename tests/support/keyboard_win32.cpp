#include "tests/support/keyboard_win32.h"

#include "tests/support/message_pump_win32.h"
#include "win/dialog_keys_win32.h"
#include "win/window_text_win32.h"

namespace wine_support {

std::vector<int> TabWalk(HWND window, int from) {
    std::vector<int> ids;
    HWND start = ::GetDlgItem(window, from);
    for (HWND at = start; at && ids.size() < 100;) {
        ids.push_back(::GetDlgCtrlID(at));
        at = ::GetNextDlgTabItem(window, at, FALSE);
        if (at == start) break;
    }
    return ids;
}

void PressKey(WPARAM key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{::GetFocus(), message, key, message == WM_KEYUP ? 0xC0000001 : 1};
        if (HandleDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    PumpFor(50);
}

namespace {
std::string ClassName(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}
}  // namespace

std::string ControlName(HWND control) {
    if (::lstrcmpiA(ClassName(control).c_str(), "Edit") != 0) return WindowText(control);
    HWND label = ::GetWindow(control, GW_HWNDPREV);
    return label && ::lstrcmpiA(ClassName(label).c_str(), "Static") == 0 ? WindowText(label) : std::string();
}

}  // namespace wine_support
