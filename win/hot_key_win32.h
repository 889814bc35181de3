// A system-wide hot key of a window for as long as the object lives: the key
// reaches the window as WM_HOTKEY (wParam: the ID) instead of the program
// that has the focus.
#pragma once
#include <windows.h>

class HotKey {
public:
    // Refused (Held() false, no error shown) when another program holds the key.
    HotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
        : window_(window), id_(id), held_(::RegisterHotKey(window, id, modifiers, virtualKey) != FALSE) {}
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;
    ~HotKey() {
        if (held_) ::UnregisterHotKey(window_, id_);
    }

    bool Held() const { return held_; }

private:
    HWND window_;
    int id_;
    bool held_;
};
