// The program's clock on a real machine: ticks from the monotonic clock, never the
// wall clock, so that a change of the system time cannot bend a reaction time.
#pragma once

#include <optional>

#include "platform/Clock.h"

// The tick to use for an input event stamped at eventTick when the counter reads
// now: the event's own moment, unless the stamp lies in the future or more than a
// second back, which no honest stamp of the event being handled does. Nor does the
// counter ever run backwards: a stamp before floor, a tick the program has already
// read, gives floor (the press came before a redraw that restarted the timing).
std::uint32_t TrustedEventTick(std::uint32_t eventTick, std::uint32_t now, std::uint32_t floor);

class SteadyClock : public Clock {
public:
    // The tick counter: the monotonic clock, less the display lag taken so far.
    std::uint32_t GetTickCount() override;
    TimeOfDay Now() override;
    void Sleep(std::uint32_t ms) override;

    // Milliseconds of the monotonic clock that input events are stamped with.
    static std::uint32_t MonotonicMillis();

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
            m_clock.m_eventTick =
                TrustedEventTick(eventTick - m_clock.m_lag, MonotonicMillis() - m_clock.m_lag, m_clock.m_lastTick);
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
    std::uint32_t m_lastTick = MonotonicMillis();  // the latest tick handed out
};
