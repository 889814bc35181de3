#include "recorder/recorder_controls_win32.h"

#include "win/handles_win32.h"

namespace {

// The colon sits between the digits, at (234, 27) in the window.
constexpr int kColonLeft = 18, kColonTop = 5;

void DrawWhiteText(HDC dc, HFONT font, int x, int y, const std::string& text) {
    SelectedObject fontChoice(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

void PanelPicture::Create(HWND parent, int id, const ControlPlace& place, PngImage picture, const std::string& name) {
    picture_ = std::move(picture);
    CreateChild("STATIC", SS_OWNERDRAW | SS_NOTIFY, parent, id, place, name);
}

void PanelPicture::Draw(HDC dc, const RECT& place, UINT itemState) {
    ::FillRect(dc, &place, ::GetSysColorBrush(COLOR_BTNSHADOW));
    DrawPicture(dc, picture_, place.left, place.top);
    // The system's inverted dots hardly show on the panel's grey.
    if (ShowsFocus(itemState)) DrawDottedFrame(dc, place, RGB(255, 255, 255));
}

// Over its siblings the frame must not paint: the digits lie on it.
void TimeFrame::Create(HWND parent, int id, const ControlPlace& place, HFONT font) {
    font_ = font;
    CreateChild("STATIC", SS_OWNERDRAW | SS_NOTIFY | WS_CLIPSIBLINGS, parent, id, place, "");
}

void TimeFrame::Draw(HDC dc, const RECT& place, UINT) {
    UniquePen white(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    SelectedObject brushChoice(dc, ::GetStockObject(BLACK_BRUSH));
    SelectedObject penChoice(dc, white.get());
    ::Rectangle(dc, place.left, place.top, place.right, place.bottom);
    DrawWhiteText(dc, font_, place.left + kColonLeft, place.top + kColonTop, ":");
}

void TimeDigits::Create(HWND parent, int id, const ControlPlace& place, HFONT font) {
    font_ = font;
    CreateChild("STATIC", SS_OWNERDRAW | SS_NOTIFY, parent, id, place, "00");
}

void TimeDigits::Draw(HDC dc, const RECT& place, UINT) {
    ::FillRect(dc, &place, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    DrawWhiteText(dc, font_, place.left, place.top, Text());
}
