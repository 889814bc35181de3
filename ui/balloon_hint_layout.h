// The balloon hint's rules without the window: where the balloon goes for a
// pointer position, when it opens and closes, and how its text breaks lines.
//
//   PlaceBalloon(body, pointer, workArea)  the balloon opens to the upper
//       right of the pointer, its tail's tip on the pointer; it flips below
//       when there is no room above and to the left when there is no room on
//       the right, and it is always kept inside the work area.
//   HintSchedule                           500 ms of rest on one control opens
//       the balloon, 2500 ms later it closes; it opens again for that control
//       only after the pointer has left it.
//   BalloonLines(text)                     a lone CR (the program's line break
//       in balloon texts) or LF becomes CR LF, which the text drawing breaks on.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "ui/geometry.h"

namespace balloon_hint {

using ui_geometry::Box;
using ui_geometry::Point;
using ui_geometry::Size;

inline constexpr int kTailHeight = 14;
inline constexpr int kTailTipInset = 10;   // tip's distance from the body's near side
inline constexpr int kTailBaseStart = 14;  // tail base, from the body's near side
inline constexpr int kTailBaseEnd = 30;

struct Placement {
    Box window;                 // screen coordinates: the body and the tail
    Box body;                   // in window coordinates
    std::array<Point, 3> tail;  // in window coordinates; tail[0] is the tip
    bool below = false;         // the body hangs below the pointer
    bool leftward = false;      // the body extends to the left of the pointer
};

Placement PlaceBalloon(Size body, Point pointer, const Box& workArea);

class HintSchedule {
public:
    static constexpr std::uint32_t kRestMs = 500;
    static constexpr std::uint32_t kDisplayMs = 2500;

    enum class Phase { Idle, Waiting, Showing, Spent };
    enum class Action { None, Show, Hide };

    // The pointer moved on `control` (any non-zero id) to `pointer`.
    Action PointerMoved(std::uintptr_t control, Point pointer, std::uint32_t now);
    // A periodic look at where the pointer is; `onControl` is false once it
    // has left the armed control.
    Action Tick(bool onControl, Point pointer, std::uint32_t now);
    // Forget the control, closing an open balloon.
    Action Cancel();

    Phase CurrentPhase() const noexcept { return phase_; }
    std::uintptr_t Control() const noexcept { return control_; }

private:
    Phase phase_ = Phase::Idle;
    std::uintptr_t control_ = 0;
    Point pointer_{0, 0};
    std::uint32_t since_ = 0;  // start of the rest, or of the display
};

std::string BalloonLines(const std::string& text);

}  // namespace balloon_hint
