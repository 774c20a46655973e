// The program's clock on a real machine: ticks from the monotonic clock, never the
// wall clock, so that a change of the system time cannot bend a reaction time.
#pragma once

#include <optional>

#include "platform/Clock.h"

// The tick to use for an input event stamped at eventTick when the counter reads
// now: the event's own moment, also when a busy desktop delivers it seconds late,
// unless the stamp lies in the future or more than a minute back, which no honest
// stamp of the event being handled does. Nor does the counter ever run backwards:
// a stamp before floor, a tick the program has already read, gives floor (the
// press came before a redraw that restarted the timing).
std::uint32_t TrustedEventTick(std::uint32_t eventTick, std::uint32_t now, std::uint32_t floor);

// Milliseconds of the given clock (CLOCK_MONOTONIC, CLOCK_MONOTONIC_RAW, ...).
std::uint32_t ClockMillis(int clockId);

// How far CLOCK_MONOTONIC is ahead of the given clock, both read now, in
// nanoseconds; the distance moves by microseconds a minute at most.
std::int64_t NanosBehindMonotonic(int clockId);

class SteadyClock : public Clock {
public:
    // The tick counter: the monotonic clock, less the display lag taken so far.
    std::uint32_t GetTickCount() override;
    TimeOfDay Now() override;
    int UtcOffsetMinutes(std::int64_t seconds) override;
    void Sleep(std::uint32_t ms) override;
    // What the latest input event's moment was taken from.
    const char* StampSource() const override { return m_stampSource; }

    // Milliseconds of the monotonic clock that input events are stamped with.
    static std::uint32_t MonotonicMillis();

    // Input events stamped by another clock than the monotonic one: a Wayland
    // compositor stamps them with the clock it presents frames by, which may be
    // CLOCK_MONOTONIC_RAW, seconds apart from CLOCK_MONOTONIC after days of uptime.
    void SetEventClock(int clockId) { m_eventClock = clockId; }
    // An event stamp of the event clock on the monotonic clock.
    std::uint32_t EventMillisToMonotonic(std::uint32_t stamp) const;

    // A tick read while drawing is taken before the drawing reaches the display.
    // Holding the counter back by that lag from then on makes such a tick stand for
    // the moment the picture was on the display: later ticks, the stamps of input
    // events included, count from there. Only differences of ticks mean anything,
    // so the growing distance to the monotonic clock does no harm.
    void AddDisplayLag(std::uint32_t ms) { m_lag += ms; }

    // While an input event is handled, the tick counter answers with the moment
    // the key or button went down, not with the moment the handler runs: a busy
    // main loop must not lengthen anyone's reaction time.
    class EventScope {
    public:
        EventScope(SteadyClock& clock, std::uint32_t eventTick) : m_clock(clock)
        {
            const std::uint32_t stamp = m_clock.EventMillisToMonotonic(eventTick) - m_clock.m_lag;
            const std::uint32_t now = MonotonicMillis() - m_clock.m_lag;
            const std::uint32_t tick = TrustedEventTick(stamp, now, m_clock.m_lastTick);
            m_clock.m_eventTick = tick;
            m_clock.m_stampSource = tick == stamp                 ? (m_clock.m_eventClock < 0 ? "event" : "event-converted")
                                    : tick == m_clock.m_lastTick ? "square"
                                                                 : "handler";
        }
        ~EventScope() { m_clock.m_eventTick.reset(); }
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

    private:
        SteadyClock& m_clock;
    };

private:
    std::optional<std::uint32_t> m_eventTick;
    std::uint32_t m_lag = 0;
    int m_eventClock = -1;  // none of its own: the monotonic clock
    const char* m_stampSource = "handler";
    std::uint32_t m_lastTick = MonotonicMillis();  // the latest tick handed out
};
