// The rotation window (TForm3): created hidden at start-up, shown by
// "Permuter..." without being modal; closing it only hides it.
#pragma once
#include <windows.h>

#include "win/window_win32.h"

inline constexpr const char* kRotationWindowClass = "SonorafluxRotationWindow";

class RotationWindow : public Window {
public:
    static constexpr int kClientWidth = 303;
    static constexpr int kClientHeight = 181;

    // owner: the main window, so the rotation window has no taskbar button of its own.
    RotationWindow(HINSTANCE instance, HWND owner);
    ~RotationWindow() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
