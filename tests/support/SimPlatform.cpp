#include "support/SimPlatform.h"

TimeOfDay SimPlatform::Now()
{
    const std::uint64_t ms = static_cast<std::uint64_t>(startMillis) + m_elapsed;
    return {startSeconds + static_cast<std::int64_t>(ms / 1000), static_cast<int>(ms % 1000)};
}

void SimPlatform::Sleep(std::uint32_t ms)
{
    sleeps.push_back(ms);
    m_elapsed += ms;  // time passes, but nothing else happens meanwhile
}

unsigned SimPlatform::SetTimer(unsigned id, unsigned intervalMs)
{
    m_timer = Timer{id, intervalMs, m_elapsed + intervalMs};
    return id;
}

void SimPlatform::KillTimer(unsigned id)
{
    if (m_timer && m_timer->id == id)
        m_timer.reset();
}

void SimPlatform::Invalidate(bool erase)
{
    m_paintPending = true;
    m_erasePending = m_erasePending || erase;
}

void SimPlatform::InvalidateRect(const Rect& /*rect*/, bool erase)
{
    // The screen model keeps whole paints only; a partial repaint repaints everything.
    Invalidate(erase);
}

bool SimPlatform::PumpPaints(int limit)
{
    for (int served = 0; m_paintPending || (!m_tasks.empty() && !holdTasks); ++served) {
        if (!m_paintPending) {  // tasks run once the paints before them are done
            auto tasks = std::move(m_tasks);
            m_tasks.clear();
            for (auto& task : tasks)
                task();
            continue;
        }
        if (served == limit)
            return false;
        m_paintPending = false;
        if (m_erasePending) {
            auto log = std::move(screen.textLog);
            screen = RecordingCanvas(client);
            screen.textLog = std::move(log);
        }
        m_erasePending = false;
        screen.BeginPaint();
        const int before = screen.operations;
        if (onPaint)
            onPaint(screen);
        ++paintCount;
        lastPaintOperations = screen.operations - before;
    }
    return true;
}

void SimPlatform::Deliver(const std::function<void()>& handler)
{
    handler();
    PumpPaints();
}

void SimPlatform::Advance(std::uint32_t ms)
{
    PumpPaints();
    const std::uint64_t end = m_elapsed + ms;
    while (m_timer && m_timer->due <= end) {
        m_elapsed = m_timer->due;
        const unsigned id = m_timer->id;
        m_timer->due += m_timer->interval;  // a window timer repeats until killed
        if (onTimer)
            onTimer(id);
        PumpPaints();
    }
    m_elapsed = end;
}
