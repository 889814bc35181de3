// The recorder window (TForm4): created hidden at start-up, shown by
// "Enregistrer..."; closing it only hides it, and a recording goes on.
#pragma once
#include <windows.h>

#include "win/window_win32.h"

inline constexpr const char* kRecorderWindowClass = "SonorafluxRecorderWindow";
inline constexpr const char* kRecorderCaption = "Sonoraflux - 1 minute MAX d'enregistrement...  :-s";

class RecorderWindow : public Window {
public:
    static constexpr int kClientWidth = 359;
    static constexpr int kClientHeight = 98;

    // owner: the main window, so the recorder has no taskbar button of its own.
    RecorderWindow(HINSTANCE instance, HWND owner);
    ~RecorderWindow() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
