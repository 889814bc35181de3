// Flat picture buttons: a real BUTTON child (BS_OWNERDRAW) drawn by the kit.
//
//   PngSpeedButton  picture left of the caption, the pair centred; flat at
//                   rest, framed pale blue under the pointer, darker while
//                   pressed; picture and caption greyed when disabled.
//       button.Create(parent, id, {left, top, width, height}, "Nouveau",
//                     PngImage::FromResource(ui_pictures::kNew));
//       button.SetOnClick([this] { PngSpeedButton4Click(); });
//       button.SetPicture(picture)   another picture
//   SpeedButton     the small flat glyph button (23x21 or 23x22): the same
//                   look with the glyph alone; its text is kept as the window
//                   text (read by WM_GETTEXT) but not drawn.
//       toggle.Create(parent, id, {194, 24, 23, 21}, "Liste", glyph);
//       toggle.SetGlyph(PngImage::FromResource(ui_pictures::kListGrey));
// Everything of KitControl applies (ids, OnClick, OnMouseMove, enabling, text,
// cursor). BM_CLICK from anywhere clicks the button as the mouse does.
#pragma once
#include "ui/kit_control_win32.h"
#include "ui/png_image_win32.h"

class PngSpeedButton : public KitControl {
public:
    PngSpeedButton() = default;
    ~PngSpeedButton() override;

    void Create(HWND parent, int id, const ControlPlace& place, const std::string& caption, PngImage picture);
    void SetPicture(PngImage picture);
    const PngImage& Picture() const noexcept { return picture_; }

protected:
    explicit PngSpeedButton(bool glyphOnly) : glyphOnly_(glyphOnly) {}
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    bool glyphOnly_ = false;
    PngImage picture_;
    PngImage greyed_;
};

class SpeedButton : public PngSpeedButton {
public:
    SpeedButton() : PngSpeedButton(true) {}
    void SetGlyph(PngImage glyph) { SetPicture(std::move(glyph)); }
};
