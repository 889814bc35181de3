#include "ui/balloon_hint_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace balloon_hint;

namespace {
std::string Text(const Box& b) {
    return "(" + std::to_string(b.left) + "," + std::to_string(b.top) + ")-(" + std::to_string(b.right) + "," +
           std::to_string(b.bottom) + ")";
}

const Box kScreen{0, 0, 1024, 768};

TEST(BalloonPlacement, OpensUpRightOfThePointerFlippingAtScreenEdgesAndStaysOnScreen) {
    const Size body{200, 60};
    const struct Case {
        const char* where;
        Point pointer;
        bool below, leftward;
    } cases[] = {
        {"middle", {500, 400}, false, false},
        {"near the top", {500, 30}, true, false},
        {"near the right edge", {1000, 400}, false, true},
        {"top right corner", {1020, 5}, true, true},
        {"bottom left corner", {2, 765}, false, false},
        {"left edge", {0, 300}, false, false},
        {"just room above", {500, 74}, false, false},
        {"one pixel short above", {500, 73}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const Placement p = PlaceBalloon(body, c.pointer, kScreen);
        EXPECT_EQ(p.below, c.below);
        EXPECT_EQ(p.leftward, c.leftward);
        EXPECT_TRUE(kScreen.Contains(p.window)) << Text(p.window);
        EXPECT_EQ(p.body.Width(), body.width);
        EXPECT_EQ(p.body.Height(), body.height);
        EXPECT_TRUE((Box{0, 0, p.window.Width(), p.window.Height()}.Contains(p.body))) << Text(p.body);
        // The tip is on the pointer, the body on the side it opens to.
        EXPECT_EQ(p.tail[0], (Point{c.pointer.x - p.window.left, c.pointer.y - p.window.top}));
        if (c.below)
            EXPECT_GE(p.body.top, p.tail[0].y + kTailHeight);
        else
            EXPECT_LE(p.body.bottom, p.tail[0].y - kTailHeight);
        if (c.leftward)
            EXPECT_LT(p.body.left, p.tail[0].x);
        else
            EXPECT_GT(p.body.right, p.tail[0].x + body.width / 2);
        // The tail's base lies on the body's edge facing the pointer.
        EXPECT_EQ(p.tail[1].y, c.below ? p.body.top : p.body.bottom);
        EXPECT_EQ(p.tail[2].y, p.tail[1].y);
        EXPECT_GE(p.tail[1].x, p.body.left);
        EXPECT_LE(p.tail[2].x, p.body.right);
    }
}

TEST(BalloonPlacement, ABalloonWiderThanTheWorkAreaStartsAtItsLeftAndAPointerOutsideIsBroughtIn) {
    const Box area{100, 50, 400, 350};
    Placement p = PlaceBalloon({500, 40}, {200, 200}, area);
    EXPECT_EQ(p.window.left, 100) << Text(p.window);
    p = PlaceBalloon({120, 40}, {-30, 900}, area);
    EXPECT_TRUE(area.Contains(p.window)) << Text(p.window);
    EXPECT_EQ(p.window.left + p.tail[0].x, 100);
    EXPECT_EQ(p.window.top + p.tail[0].y, 349);
}

// One step of a pointer story: a move over a control or a timer tick.
struct Step {
    std::uint32_t at;
    enum { Move, Tick, Cancel } kind;
    std::uintptr_t control;  // Move: the control; Tick: non-zero when the pointer is on the armed control
    Point pointer;
    HintSchedule::Action expected;
    HintSchedule::Phase phase;
};

void Play(const char* story, const std::vector<Step>& steps) {
    SCOPED_TRACE(story);
    HintSchedule schedule;
    for (const Step& s : steps) {
        SCOPED_TRACE("at " + std::to_string(s.at) + " ms");
        HintSchedule::Action action = HintSchedule::Action::None;
        if (s.kind == Step::Move) action = schedule.PointerMoved(s.control, s.pointer, s.at);
        if (s.kind == Step::Tick) action = schedule.Tick(s.control != 0, s.pointer, s.at);
        if (s.kind == Step::Cancel) action = schedule.Cancel();
        EXPECT_EQ(static_cast<int>(action), static_cast<int>(s.expected));
        EXPECT_EQ(static_cast<int>(schedule.CurrentPhase()), static_cast<int>(s.phase));
    }
}

using A = HintSchedule::Action;
using P = HintSchedule::Phase;

TEST(HintSchedule, OpensAfterHalfASecondOfRestAndClosesTwoAndAHalfSecondsLater) {
    Play("rest then display", {
        {1000, Step::Move, 7, {10, 10}, A::None, P::Waiting},
        {1400, Step::Tick, 1, {10, 10}, A::None, P::Waiting},
        {1500, Step::Tick, 1, {10, 10}, A::Show, P::Showing},
        {1600, Step::Move, 7, {12, 10}, A::None, P::Showing},  // moving within the control keeps it open
        {3900, Step::Tick, 1, {12, 10}, A::None, P::Showing},
        {4000, Step::Tick, 1, {12, 10}, A::Hide, P::Spent},
        {4100, Step::Move, 7, {13, 10}, A::None, P::Spent},  // not again on the same control
        {9000, Step::Tick, 1, {13, 10}, A::None, P::Spent},
        {9100, Step::Tick, 0, {90, 90}, A::None, P::Idle},  // left: back to idle
        {9200, Step::Move, 7, {13, 10}, A::None, P::Waiting},
        {9700, Step::Tick, 1, {13, 10}, A::Show, P::Showing},
    });
    Play("movement restarts the rest", {
        {0, Step::Move, 7, {10, 10}, A::None, P::Waiting},
        {400, Step::Move, 7, {11, 10}, A::None, P::Waiting},
        {600, Step::Tick, 1, {11, 10}, A::None, P::Waiting},
        {800, Step::Tick, 1, {12, 11}, A::None, P::Waiting},  // seen moving by the tick
        {1299, Step::Tick, 1, {12, 11}, A::None, P::Waiting},
        {1300, Step::Tick, 1, {12, 11}, A::Show, P::Showing},
    });
    Play("another control closes the balloon and waits again", {
        {0, Step::Move, 7, {10, 10}, A::None, P::Waiting},
        {500, Step::Tick, 1, {10, 10}, A::Show, P::Showing},
        {700, Step::Move, 8, {40, 10}, A::Hide, P::Waiting},
        {1100, Step::Tick, 1, {40, 10}, A::None, P::Waiting},
        {1200, Step::Tick, 1, {40, 10}, A::Show, P::Showing},
    });
    Play("leaving or cancelling while waiting or showing", {
        {0, Step::Move, 7, {10, 10}, A::None, P::Waiting},
        {300, Step::Tick, 0, {10, 10}, A::None, P::Idle},
        {400, Step::Tick, 1, {10, 10}, A::None, P::Idle},  // nothing armed: nothing opens
        {500, Step::Move, 7, {10, 10}, A::None, P::Waiting},
        {1000, Step::Tick, 1, {10, 10}, A::Show, P::Showing},
        {1100, Step::Cancel, 0, {0, 0}, A::Hide, P::Idle},
        {1200, Step::Move, 0, {0, 0}, A::None, P::Idle},  // no control
    });
    Play("the tick counter wraps", {
        {0xFFFFFF00u, Step::Move, 7, {1, 1}, A::None, P::Waiting},
        {0x000000F3u, Step::Tick, 1, {1, 1}, A::None, P::Waiting},  // 499 ms later
        {0x000000F4u, Step::Tick, 1, {1, 1}, A::Show, P::Showing},
    });
}

TEST(BalloonLines, EveryKindOfLineBreakBecomesCrLf) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Ligne 1\rLigne 2", "Ligne 1\r\nLigne 2"},
        {"a\r\nb\nc\r", "a\r\nb\r\nc\r\n"},
        {"\r\r", "\r\n\r\n"},
        {"sans retour", "sans retour"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(BalloonLines(c.in), c.out) << c.in;
}
}  // namespace
