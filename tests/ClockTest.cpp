// Which tick an answer gets: the moment of the press, within sane bounds.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/posix/SteadyClock.h"

TEST(Clock, EventStampIsTrustedOnlyWithinAMinuteAndNeverBackwards)
{
    struct Case {
        const char* name;
        std::uint32_t stamp, now, floor, tick;
    };
    const Case cases[] = {
        {"recent press", 9'850, 10'000, 9'000, 9'850},
        {"press a second back", 9'000, 10'000, 8'000, 9'000},
        {"delivered 5 s late", 95'000, 100'000, 90'000, 95'000},
        {"older than a minute", 39'999, 100'000, 30'000, 100'000},
        {"from the future", 10'001, 10'000, 9'000, 10'000},
        {"before a tick already read", 9'500, 10'000, 9'600, 9'600},
        {"across the wrap", 0xFFFFFFF0u, 0x10u, 0xFFFFFF00u, 0xFFFFFFF0u},
        {"floor across the wrap", 0xFFFFFFF0u, 0x10u, 0x5u, 0x5u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrustedEventTick(c.stamp, c.now, c.floor), c.tick) << c.name;
}

TEST(Clock, TickCounterFollowsTheMonotonicClockOutsideEvents)
{
    SteadyClock clock;
    const std::uint32_t before = SteadyClock::MonotonicMillis();
    const std::uint32_t tick = clock.GetTickCount();
    EXPECT_LE(tick - before, 1000u);
    {
        SteadyClock::EventScope press(clock, tick);
        EXPECT_EQ(clock.GetTickCount(), tick);
    }
}

TEST(Clock, DisplayLagHoldsTheCounterAndTheEventStampsBack)
{
    SteadyClock clock;
    const std::uint32_t start = clock.GetTickCount();  // read while drawing
    clock.AddDisplayLag(3);                            // the picture was on the display 3 ms later
    while (SteadyClock::MonotonicMillis() - start < 6) {
    }
    const std::uint32_t pressed = SteadyClock::MonotonicMillis();
    {
        SteadyClock::EventScope press(clock, pressed);
        EXPECT_EQ(clock.GetTickCount(), pressed - 3) << "the answer counts from the display";
    }
    {
        // A press before the picture was on the display gives no negative time.
        SteadyClock::EventScope early(clock, start + 1);
        EXPECT_EQ(clock.GetTickCount(), start);
    }
}

#ifndef _WIN32  // Wayland compositors' clocks
// A Wayland compositor may stamp input with CLOCK_MONOTONIC_RAW, which drifts from
// CLOCK_MONOTONIC by up to seconds over days: a press 100 ms back on that clock is
// 100 ms back on the program's clock.
TEST(Clock, StampsOfAnotherClockAreTakenOverToTheMonotonicClock)
{
    SteadyClock clock;
    clock.SetEventClock(CLOCK_MONOTONIC_RAW);
    clock.Sleep(150);  // the press comes after the clock was last read
    const std::uint32_t pressed = ClockMillis(CLOCK_MONOTONIC_RAW) - 100;
    const std::uint32_t expected = SteadyClock::MonotonicMillis() - 100;
    SteadyClock::EventScope press(clock, pressed);
    EXPECT_NEAR(static_cast<std::int32_t>(clock.GetTickCount() - expected), 0, 2);
}

TEST(Clock, AStampOfAnotherClockLandsOnTheSameMillisecondWhenEverItIsTakenOver)
{
    SteadyClock clock;
    clock.SetEventClock(CLOCK_MONOTONIC_RAW);
    const std::uint32_t pressed = ClockMillis(CLOCK_MONOTONIC_RAW);
    const std::uint32_t first = clock.EventMillisToMonotonic(pressed);
    // Read at every phase of the millisecond, the two clocks' whole milliseconds
    // differ by one now and then; the stamp must not follow them.
    for (int i = 0; i < 50; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(130));
        ASSERT_EQ(clock.EventMillisToMonotonic(pressed), first) << "after " << i << " reads";
    }
}
#endif
