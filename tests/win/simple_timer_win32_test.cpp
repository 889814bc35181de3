#include "win/simple_timer_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/message_pump_win32.h"

using wine_support::PumpFor;
using wine_support::PumpUntil;

TEST(SimpleTimer, TicksEveryIntervalUntilStopped) {
    TSimpleTimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Enabled());
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetInterval(30);
    EXPECT_FALSE(timer.Enabled()) << "setting the interval must not start a stopped timer";
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000)) << "ticks: " << ticks;

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    const int stoppedAt = ticks;
    PumpFor(150);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(SimpleTimer, ZeroIntervalNeverStartsAndStopsARunningTimer) {
    TSimpleTimer timer;
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());

    timer.SetInterval(20);
    timer.SetEnabled(true);
    ASSERT_TRUE(timer.Enabled());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Enabled());
    const int at = ticks;
    PumpFor(120);
    EXPECT_EQ(ticks, at);
}

TEST(SimpleTimer, NewIntervalOfARunningTimerTakesEffect) {
    TSimpleTimer timer;
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetInterval(5000);
    timer.SetEnabled(true);
    timer.SetInterval(20);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 2000)) << "ticks: " << ticks;
}

TEST(SimpleTimer, TimersShareOneWindowAndTickSeparately) {
    auto first = std::make_unique<TSimpleTimer>();
    TSimpleTimer second;
    EXPECT_NE(first->Id(), second.Id());
    ASSERT_NE(TSimpleTimer::HandlerWindow(), nullptr);
    int firstTicks = 0, secondTicks = 0;
    first->SetOnTimer([&] { ++firstTicks; });
    second.SetOnTimer([&] { ++secondTicks; });
    first->SetInterval(20);
    first->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return firstTicks >= 2; }, 2000));
    EXPECT_EQ(secondTicks, 0);

    // A tick already queued for a destroyed timer must reach nobody.
    const UINT_PTR goneId = first->Id();
    first.reset();
    ::PostMessageA(TSimpleTimer::HandlerWindow(), WM_TIMER, goneId, 0);
    PumpFor(50);
    EXPECT_EQ(secondTicks, 0);
}

TEST(SimpleTimer, SharedWindowGoesWithTheLastTimer) {
    {
        TSimpleTimer a;
        TSimpleTimer b;
        EXPECT_TRUE(::IsWindow(TSimpleTimer::HandlerWindow()));
    }
    EXPECT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
    TSimpleTimer again;
    EXPECT_TRUE(::IsWindow(TSimpleTimer::HandlerWindow()));
}

TEST(SimpleTimer, TickMayDestroyItsOwnTimer) {
    auto timer = std::make_unique<TSimpleTimer>();
    int ticks = 0;
    timer->SetOnTimer([&] {
        ++ticks;
        timer.reset();
    });
    timer->SetInterval(10);
    timer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return timer == nullptr; }, 2000));
    PumpFor(60);
    EXPECT_EQ(ticks, 1);
}
