#include "ui/picture_button_win32.h"

#include "ui/picture_button_layout.h"
#include "win/handles_win32.h"

namespace {
// The flat menus' highlight, so buttons and menus look alike.
constexpr COLORREF kHoverFill = RGB(198, 211, 239);
constexpr COLORREF kPressedFill = RGB(152, 181, 226);
constexpr COLORREF kFrame = RGB(49, 105, 198);

void Fill(HDC dc, const RECT& place, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &place, brush.get());
}

void Frame(HDC dc, const RECT& place, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    ::FrameRect(dc, &place, brush.get());
}
}  // namespace

PngSpeedButton::~PngSpeedButton() = default;

void PngSpeedButton::Create(HWND parent, int id, const ControlPlace& place, const std::string& caption,
                            PngImage picture) {
    SetPicture(std::move(picture));
    CreateChild("BUTTON", BS_OWNERDRAW | WS_TABSTOP, parent, id, place, caption);
}

void PngSpeedButton::SetPicture(PngImage picture) {
    greyed_ = picture.Greyed();
    picture_ = std::move(picture);
    Redraw();
}

void PngSpeedButton::Draw(HDC dc, const RECT& place, UINT itemState) {
    const bool disabled = (itemState & ODS_DISABLED) != 0;
    const bool pressed = (itemState & ODS_SELECTED) != 0 && !disabled;
    Fill(dc, place, ::GetSysColor(COLOR_BTNFACE));
    if (pressed || (Hovered() && !disabled)) {
        Fill(dc, place, pressed ? kPressedFill : kHoverFill);
        Frame(dc, place, kFrame);
    }

    const std::string caption = glyphOnly_ ? std::string() : Text();
    SelectedObject font(dc, KitFont());
    SIZE extent{0, 0};
    if (!caption.empty()) ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const picture_button::Layout layout =
        picture_button::LayOut({place.left, place.top, place.right, place.bottom},
                               {picture_.Width(), picture_.Height()}, {extent.cx, extent.cy}, pressed);

    DrawPicture(dc, disabled ? greyed_ : picture_, layout.picture.left, layout.picture.top);
    if (!caption.empty()) {
        RECT text{layout.caption.left, layout.caption.top, layout.caption.right, layout.caption.bottom};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                    DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (ShowsFocus(itemState)) {
        RECT focus = place;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(dc, &focus);
    }
}
