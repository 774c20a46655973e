#include "platform/posix/SteadyClock.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

// A stamp this far back is still that of the event: a loaded desktop may hand an
// event over seconds after the press.
constexpr std::int32_t kLatestTrustedMs = 60'000;

}  // namespace

std::uint32_t TrustedEventTick(std::uint32_t eventTick, std::uint32_t now, std::uint32_t floor)
{
    // Differences, not values, are compared, so the wrap of the counter does no harm.
    const auto age = static_cast<std::int32_t>(now - eventTick);
    if (age < 0 || age > kLatestTrustedMs)
        return now;
    if (static_cast<std::int32_t>(eventTick - floor) < 0)
        return floor;
    return eventTick;
}

std::uint32_t SteadyClock::MonotonicMillis()
{
#ifdef _WIN32
    // The performance counter: steady, and far finer than the tick count.
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<std::uint32_t>(now.QuadPart / frequency * 1000 + now.QuadPart % frequency * 1000 / frequency);
#else
    // X and GDK stamp events with CLOCK_MONOTONIC milliseconds, as steady_clock counts.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

std::uint32_t ClockMillis(int clockId)
{
#ifdef _WIN32
    (void)clockId;
    return ::GetTickCount();
#else
    timespec now{};
    ::clock_gettime(static_cast<clockid_t>(clockId), &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u);
#endif
}

std::int64_t NanosBehindMonotonic(int clockId)
{
#ifdef _WIN32
    (void)clockId;
    return 0;
#else
    timespec monotonic{}, other{};
    ::clock_gettime(CLOCK_MONOTONIC, &monotonic);
    ::clock_gettime(static_cast<clockid_t>(clockId), &other);
    return (static_cast<std::int64_t>(monotonic.tv_sec) - other.tv_sec) * 1'000'000'000 +
           (monotonic.tv_nsec - other.tv_nsec);
#endif
}

std::uint32_t SteadyClock::EventMillisToMonotonic(std::uint32_t stamp) const
{
    if (m_eventClock < 0)
        return stamp;
    // The distance to the nanosecond: whole milliseconds of each clock would put a
    // millisecond of jitter on every stamp.
    const std::int64_t distanceNs = NanosBehindMonotonic(m_eventClock);
    // The stamp stands for its whole millisecond: taken from its middle, the press
    // falls in the millisecond of the other clock it most likely fell in.
    const std::int64_t shifted = distanceNs + 500'000;
    const std::int64_t wholeMs = shifted >= 0 ? shifted / 1'000'000 : -((-shifted + 999'999) / 1'000'000);
    return stamp + static_cast<std::uint32_t>(wholeMs);
}

std::uint32_t SteadyClock::GetTickCount()
{
    if (m_eventTick)
        return *m_eventTick;
    m_lastTick = MonotonicMillis() - m_lag;
    return m_lastTick;
}

TimeOfDay SteadyClock::Now()
{
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return {ms / 1000, static_cast<int>(ms % 1000)};
}

int SteadyClock::UtcOffsetMinutes(std::int64_t seconds)
{
#ifdef _WIN32
    TIME_ZONE_INFORMATION zone;
    const DWORD kind = GetTimeZoneInformation(&zone);
    (void)seconds;
    return -static_cast<int>(zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0));
#else
    const time_t at = static_cast<time_t>(seconds);
    tm local{};
    if (!::localtime_r(&at, &local))
        return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
#endif
}

void SteadyClock::Sleep(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
