// A picture that acts as a command: a STATIC child (SS_NOTIFY, owner-drawn by
// the kit) showing a PNG picture or a bitmap centred on the window colour,
// greyed when disabled, with the pointer its owner chooses (for instance the
// program's hand cursor "CURSOR").
//
//   picture.Create(parent, id, {159, 0, 16, 17}, "Ecouter");
//   picture.SetPicture(PngImage::FromResource(ui_pictures::kSpeaker));
//   picture.SetBitmap(bitmap)      an opaque bitmap instead (owned), e.g. an
//                                  entry's 16x16 icon
//   picture.SetCursor(hand);  picture.SetOnClick(...);  SetOnMouseMove(...)
//   picture.SetFramed(true)        a sunken frame round the picture
// The text is the window text, for readers from outside; it is not drawn.
#pragma once
#include "ui/kit_control_win32.h"
#include "ui/png_image_win32.h"
#include "win/handles_win32.h"

class ClickablePicture : public KitControl {
public:
    ClickablePicture() = default;
    ~ClickablePicture() override;

    void Create(HWND parent, int id, const ControlPlace& place, const std::string& text = "");
    void SetPicture(PngImage picture);
    void SetBitmap(UniqueBitmap bitmap);
    void SetFramed(bool framed);
    // The bitmap shown by SetBitmap, nullptr when a PNG picture (or nothing) is shown.
    HBITMAP Bitmap() const noexcept { return bitmap_.get(); }

protected:
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    PngImage picture_;
    PngImage greyed_;
    UniqueBitmap bitmap_;
    bool framed_ = false;
};
