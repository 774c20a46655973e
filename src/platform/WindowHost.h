// What the view asks of its window: timer 1, repaints and work after them.
#pragma once

#include <functional>

#include "platform/Drawing.h"

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Starts timer id, which then expires every intervalMs until killed; setting
    // the same id again replaces it. Returns the id.
    virtual unsigned SetTimer(unsigned id, unsigned intervalMs) = 0;

    // Stops timer id; harmless when it does not run.
    virtual void KillTimer(unsigned id) = 0;

    // Requests a later paint of the whole client area, or of rect. The paint runs
    // after the current handler has returned and before a pending timer expiry;
    // with erase the area is first cleared to the window's background.
    virtual void Invalidate(bool erase) = 0;
    virtual void InvalidateRect(const Rect& rect, bool erase) = 0;

    // Runs task once the current handler or paint has returned and what it drew
    // is on its way to the screen, before the next input is handled.
    virtual void PostTask(std::function<void()> task) = 0;
};
