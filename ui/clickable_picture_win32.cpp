#include "ui/clickable_picture_win32.h"

ClickablePicture::~ClickablePicture() = default;

void ClickablePicture::Create(HWND parent, int id, const ControlPlace& place, const std::string& text) {
    CreateChild("STATIC", SS_OWNERDRAW | SS_NOTIFY, parent, id, place, text);
}

void ClickablePicture::SetPicture(PngImage picture) {
    greyed_ = picture.Greyed();
    picture_ = std::move(picture);
    bitmap_.reset();
    Redraw();
}

void ClickablePicture::SetBitmap(UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    picture_ = PngImage();
    greyed_ = PngImage();
    Redraw();
}

void ClickablePicture::SetFramed(bool framed) {
    framed_ = framed;
    Redraw();
}

void ClickablePicture::Draw(HDC dc, const RECT& place, UINT itemState) {
    ::FillRect(dc, &place, ::GetSysColorBrush(COLOR_BTNFACE));
    if (framed_) {
        RECT frame = place;
        ::DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    const int width = place.right - place.left, height = place.bottom - place.top;
    if (bitmap_) {
        BITMAP info{};
        ::GetObjectA(bitmap_.get(), sizeof info, &info);
        UniqueMemoryDc memory(::CreateCompatibleDC(dc));
        SelectedObject selected(memory.get(), bitmap_.get());
        ::BitBlt(dc, place.left + (width - info.bmWidth) / 2, place.top + (height - info.bmHeight) / 2, info.bmWidth,
                 info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    } else {
        const bool disabled = (itemState & ODS_DISABLED) != 0;
        const PngImage& shown = disabled ? greyed_ : picture_;
        DrawPicture(dc, shown, place.left + (width - shown.Width()) / 2, place.top + (height - shown.Height()) / 2);
    }
    if (ShowsFocus(itemState)) DrawDottedFrame(dc, place, ::GetSysColor(COLOR_BTNTEXT));
}
