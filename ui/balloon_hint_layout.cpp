#include "ui/balloon_hint_layout.h"

#include <algorithm>

namespace balloon_hint {
namespace {
// Moves [start, start + length) inside [low, high) as far as possible; a
// length larger than the range starts at low.
int KeepInside(int start, int length, int low, int high) {
    if (start + length > high) start = high - length;
    return std::max(start, low);
}
}  // namespace

Placement PlaceBalloon(Size body, Point pointer, const Box& area) {
    Placement p;
    // The tip sits on the pointer, but never outside the work area.
    const Point tip{std::clamp(pointer.x, area.left, area.right - 1), std::clamp(pointer.y, area.top, area.bottom - 1)};
    p.below = tip.y - kTailHeight - body.height < area.top;
    p.leftward = tip.x - kTailTipInset + body.width > area.right;

    int bodyLeft = p.leftward ? tip.x + kTailTipInset - body.width : tip.x - kTailTipInset;
    int bodyTop = p.below ? tip.y + kTailHeight : tip.y - kTailHeight - body.height;
    bodyLeft = KeepInside(bodyLeft, body.width, area.left, area.right);
    bodyTop = KeepInside(bodyTop, body.height, area.top, area.bottom);
    const Box screenBody{bodyLeft, bodyTop, bodyLeft + body.width, bodyTop + body.height};

    // The tail's base lies on the body's edge towards the pointer, on the side
    // the body opens from, clamped to the straight part of that edge.
    const int edgeY = p.below ? screenBody.top : screenBody.bottom;
    int baseStart = p.leftward ? screenBody.right - kTailBaseEnd : screenBody.left + kTailBaseStart;
    baseStart = KeepInside(baseStart, kTailBaseEnd - kTailBaseStart, screenBody.left + 4, screenBody.right - 4);
    const int baseEnd = baseStart + (kTailBaseEnd - kTailBaseStart);

    p.window = {std::min(screenBody.left, tip.x), std::min(screenBody.top, tip.y),
                std::max(screenBody.right, tip.x + 1), std::max(screenBody.bottom, tip.y + 1)};
    const int dx = -p.window.left, dy = -p.window.top;
    p.body = {screenBody.left + dx, screenBody.top + dy, screenBody.right + dx, screenBody.bottom + dy};
    p.tail = {Point{tip.x + dx, tip.y + dy}, Point{baseStart + dx, edgeY + dy}, Point{baseEnd + dx, edgeY + dy}};
    return p;
}

HintSchedule::Action HintSchedule::PointerMoved(std::uintptr_t control, Point pointer, std::uint32_t now) {
    if (control == 0) return Cancel();
    if (control != control_ || phase_ == Phase::Idle) {
        const bool wasShowing = phase_ == Phase::Showing;
        phase_ = Phase::Waiting;
        control_ = control;
        pointer_ = pointer;
        since_ = now;
        return wasShowing ? Action::Hide : Action::None;
    }
    if (phase_ == Phase::Waiting && !(pointer == pointer_)) {
        pointer_ = pointer;
        since_ = now;
    }
    return Action::None;
}

HintSchedule::Action HintSchedule::Tick(bool onControl, Point pointer, std::uint32_t now) {
    if (phase_ == Phase::Idle) return Action::None;
    if (!onControl) return Cancel();
    switch (phase_) {
        case Phase::Waiting:
            if (!(pointer == pointer_)) {
                pointer_ = pointer;
                since_ = now;
                return Action::None;
            }
            // Unsigned difference: right across the tick counter's wrap.
            if (now - since_ >= kRestMs) {
                phase_ = Phase::Showing;
                since_ = now;
                return Action::Show;
            }
            return Action::None;
        case Phase::Showing:
            if (now - since_ >= kDisplayMs) {
                phase_ = Phase::Spent;
                return Action::Hide;
            }
            return Action::None;
        default:
            return Action::None;
    }
}

HintSchedule::Action HintSchedule::Cancel() {
    const bool wasShowing = phase_ == Phase::Showing;
    phase_ = Phase::Idle;
    control_ = 0;
    return wasShowing ? Action::Hide : Action::None;
}

std::string BalloonLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            lines += c;
        }
    }
    return lines;
}

}  // namespace balloon_hint
