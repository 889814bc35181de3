#include "ui/balloon_hint_win32.h"

#include <algorithm>
#include <stdexcept>

#include "win/paint_scope_win32.h"

namespace {
constexpr COLORREF kFill = RGB(255, 255, 225);
constexpr COLORREF kBorder = RGB(96, 96, 96);
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr int kPadding = 8;
constexpr int kPictureSize = 16;
constexpr int kPictureGap = 5;
constexpr int kTitleGap = 5;    // between the title line and the text
constexpr int kMaxTextWidth = 280;
constexpr int kCornerRadius = 12;
constexpr UINT kTextFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DT_EXPANDTABS;

UniqueFont MakeFont(int weight) {
    UniqueFont font(::CreateFontA(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    if (!font) throw std::runtime_error("Ooops ! Impossible de créer la police des bulles d'aide");
    return font;
}

// The balloon's outline in window coordinates: the rounded body and its tail.
HRGN MakeShape(const balloon_hint::Placement& p) {
    HRGN shape = ::CreateRoundRectRgn(p.body.left, p.body.top, p.body.right + 1, p.body.bottom + 1, kCornerRadius,
                                      kCornerRadius);
    POINT tail[3];
    for (int i = 0; i < 3; ++i) tail[i] = {p.tail[i].x, p.tail[i].y};
    // The base reaches one pixel into the body so that the two pieces join.
    const int inward = p.below ? 1 : -1;
    tail[1].y += inward;
    tail[2].y += inward;
    HRGN tip = ::CreatePolygonRgn(tail, 3, WINDING);
    ::CombineRgn(shape, shape, tip, RGN_OR);
    ::DeleteObject(tip);
    return shape;
}

int TextHeightOf(HDC dc) {
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}
}  // namespace

BalloonHint::BalloonHint() : titleFont_(MakeFont(FW_BOLD)), textFont_(MakeFont(FW_NORMAL)) {
    CreateParams p{kClassName};
    p.style = WS_POPUP;
    p.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.x = p.y = 0;
    p.width = p.height = 1;
    p.background = nullptr;
    Create(p);
    poll_.SetInterval(kPollMs);
    poll_.SetOnTimer([this] { Poll(); });
}

BalloonHint::~BalloonHint() {
    poll_.SetEnabled(false);
    Destroy();
}

void BalloonHint::ShowFor(HWND control, POINT screenPoint, const std::string& title, int pictureIndex,
                          const std::string& text) {
    title_ = title;
    lines_ = balloon_hint::BalloonLines(text);
    picture_ = pictureIndex;
    control_ = control;
    Apply(schedule_.PointerMoved(reinterpret_cast<std::uintptr_t>(control), {screenPoint.x, screenPoint.y},
                                 ::GetTickCount()));
    if (!poll_.Enabled()) poll_.SetEnabled(true);
}

void BalloonHint::Cancel() {
    Apply(schedule_.Cancel());
    poll_.SetEnabled(false);
    control_ = nullptr;
}

bool BalloonHint::Visible() const noexcept { return Handle() && ::IsWindowVisible(Handle()); }

bool BalloonHint::PointerOnControl(POINT& pointer) const {
    if (!::GetCursorPos(&pointer)) return false;
    if (!control_ || !::IsWindow(control_) || !::IsWindowVisible(control_)) return false;
    RECT place{};
    ::GetWindowRect(control_, &place);
    return ::PtInRect(&place, pointer) != FALSE;
}

void BalloonHint::Poll() {
    POINT pointer{};
    const bool onControl = PointerOnControl(pointer);
    Apply(schedule_.Tick(onControl, {pointer.x, pointer.y}, ::GetTickCount()));
    if (schedule_.CurrentPhase() == balloon_hint::HintSchedule::Phase::Idle) {
        poll_.SetEnabled(false);
        control_ = nullptr;
    }
}

void BalloonHint::Apply(balloon_hint::HintSchedule::Action action) {
    if (action == balloon_hint::HintSchedule::Action::Show) Open();
    if (action == balloon_hint::HintSchedule::Action::Hide) Close();
}

balloon_hint::Size BalloonHint::MeasureBody(HDC dc) const {
    int width = 0, height = 0;
    if (!title_.empty()) {
        SelectedObject font(dc, titleFont_.get());
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, title_.c_str(), static_cast<int>(title_.size()), &extent);
        width = kPictureSize + kPictureGap + extent.cx;
        height = std::max<int>(kPictureSize, extent.cy) + kTitleGap;
    }
    SelectedObject font(dc, textFont_.get());
    RECT text{0, 0, kMaxTextWidth, 0};
    if (!lines_.empty()) ::DrawTextA(dc, lines_.c_str(), static_cast<int>(lines_.size()), &text, kTextFormat | DT_CALCRECT);
    else text.right = 0;
    width = std::max<int>(width, text.right);
    height += lines_.empty() ? 0 : std::max<int>(text.bottom, TextHeightOf(dc));
    return {std::max(width, 40) + 2 * kPadding, height + 2 * kPadding};
}

void BalloonHint::Open() {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    HDC screen = ::GetDC(Handle());
    const balloon_hint::Size body = MeasureBody(screen);
    ::ReleaseDC(Handle(), screen);

    MONITORINFO monitor{sizeof(monitor)};
    ::GetMonitorInfoA(::MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    placement_ = balloon_hint::PlaceBalloon(body, {pointer.x, pointer.y},
                                            {work.left, work.top, work.right, work.bottom});
    const balloon_hint::Box& w = placement_.window;
    const std::string caption = title_.empty() ? lines_ : title_ + "\r\n" + lines_;
    ::SetWindowTextA(Handle(), caption.c_str());
    ::SetWindowPos(Handle(), HWND_TOPMOST, w.left, w.top, w.Width(), w.Height(), SWP_NOACTIVATE);
    // Shaped once it has its size; the system owns the region from here on.
    ::SetWindowRgn(Handle(), MakeShape(placement_), FALSE);
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void BalloonHint::Close() {
    if (Handle()) ::ShowWindow(Handle(), SW_HIDE);
}

void BalloonHint::Paint(HDC dc) {
    HRGN shape = MakeShape(placement_);
    UniqueBrush fill(::CreateSolidBrush(kFill));
    UniqueBrush border(::CreateSolidBrush(kBorder));
    ::FillRgn(dc, shape, fill.get());
    ::FrameRgn(dc, shape, border.get(), 1, 1);
    ::DeleteObject(shape);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kInk);
    const balloon_hint::Box& body = placement_.body;
    int top = body.top + kPadding;
    const int left = body.left + kPadding;
    if (!title_.empty()) {
        if (pictures_) pictures_->Draw(dc, picture_, left, top);
        SelectedObject font(dc, titleFont_.get());
        RECT line{left + kPictureSize + kPictureGap, top, body.right - kPadding, top + kPictureSize};
        ::DrawTextA(dc, title_.c_str(), static_cast<int>(title_.size()), &line,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        top += std::max<int>(kPictureSize, TextHeightOf(dc)) + kTitleGap;
    }
    SelectedObject font(dc, textFont_.get());
    RECT text{left, top, body.right - kPadding, body.bottom - kPadding};
    ::DrawTextA(dc, lines_.c_str(), static_cast<int>(lines_.size()), &text, kTextFormat);
}

LRESULT BalloonHint::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintScope paint(Handle());
            Paint(paint.Dc());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCHITTEST:
            // The pointer passes through to what lies under the balloon.
            return HTTRANSPARENT;
        default:
            return Window::HandleMessage(msg, wp, lp);
    }
}
