#include "ui/bmp_animator_win32.h"

BmpAnimator::BmpAnimator() {
    timer_.SetInterval(kFrameIntervalMs);
    timer_.SetOnTimer([this] { NextFrame(); });
}

BmpAnimator::~BmpAnimator() { timer_.SetEnabled(false); }

void BmpAnimator::Create(HWND parent, int id, const ControlPlace& place, PngImageList frames, const std::string& text) {
    cycle_.SetCount(frames.Count());
    frames_.emplace(std::move(frames));
    CreateChild("STATIC", SS_OWNERDRAW | SS_NOTIFY, parent, id, place, text);
}

void BmpAnimator::SetActive(bool active) {
    if (active == Active()) return;
    timer_.SetEnabled(active);
    if (!active) cycle_.Reset();
    Redraw();
}

void BmpAnimator::NextFrame() {
    cycle_.Advance();
    Redraw();
}

void BmpAnimator::Draw(HDC dc, const RECT& place, UINT) {
    ::FillRect(dc, &place, ::GetSysColorBrush(COLOR_BTNFACE));
    if (frames_) frames_->Draw(dc, cycle_.Current(), place.left, place.top);
}
