// The recorder window's own drawn controls, on the kit's control base so that
// they report clicks and mouse moves (for the help balloons) as the kit's do:
// a picture on the dark panel, the frame of the time display with its colon,
// and the two digit labels.
#pragma once
#include <windows.h>

#include <string>

#include "ui/kit_control_win32.h"
#include "ui/png_image_win32.h"

// A PNG picture over the panel's colour; clickable when the owner sets a
// click. The name is its window text, for screen readers.
class PanelPicture : public KitControl {
public:
    void Create(HWND parent, int id, const ControlPlace& place, PngImage picture, const std::string& name = "");

protected:
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    PngImage picture_;
};

// Black box with a white border; draws the colon between the digits.
class TimeFrame : public KitControl {
public:
    void Create(HWND parent, int id, const ControlPlace& place, HFONT font);

protected:
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    HFONT font_ = nullptr;
};

// Two white digits on black: the text is the control's window text.
class TimeDigits : public KitControl {
public:
    void Create(HWND parent, int id, const ControlPlace& place, HFONT font);

protected:
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    HFONT font_ = nullptr;
};
