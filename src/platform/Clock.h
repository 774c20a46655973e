// Time as the program sees it: a millisecond tick counter, the time of day and sleeping.
#pragma once

#include <cstdint>

struct TimeOfDay {
    std::int64_t seconds = 0;  // since the epoch
    int millis = 0;            // 0..999
};

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds on a counter that wraps at 2^32; only differences mean anything.
    // While an input event is being handled this is the moment of that event.
    virtual std::uint32_t GetTickCount() = 0;

    virtual TimeOfDay Now() = 0;
    // Minutes the local time is ahead of UTC at the given moment (seconds since the epoch).
    virtual int UtcOffsetMinutes(std::int64_t /*seconds*/) { return 0; }
    // How the latest timed answer was taken: what the square's onset and what the
    // answer's moment were read from.
    virtual const char* DisplayTimeSource() const { return "tick counter"; }
    virtual const char* StampSource() const { return "tick counter"; }

    // Blocks the calling (user-interface) thread.
    virtual void Sleep(std::uint32_t ms) = 0;
    // The same, but a key or mouse button pressed meanwhile ends it early (and is
    // taken by it): for what the user reads and may dismiss.
    virtual void SleepUntilInput(std::uint32_t ms) { Sleep(ms); }
};
