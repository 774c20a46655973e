// When the display server had the picture of a paint.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class wxWindow;

// Tells, for each paint it is asked about, the moment (milliseconds of the
// monotonic clock that input events are stamped with) at which the display server
// had that paint's picture.
//
// On X11 a property change is sent right behind the paint's drawing, in the same
// request stream: the server handles requests in order, and its PropertyNotify
// carries the server's own time of handling it, blind to how late this process
// gets to look. That notification also reaches the program before any input the
// server stamps later. A compositing window manager that reports frames (the
// _NET_WM_FRAME_TIMINGS messages) is gone by instead: when it presented the frame,
// where it knows, else when its word that the frame is out came. On Wayland the
// compositor says when the frame was presented (presentation-time protocol).
// Where nothing is said, the clock is read when the toolkit has finished the
// frame and a round trip to the server has returned.
class DisplayTime {
public:
    // method names where the time came from: "x11-property", "wm-presentation",
    // "wm-frame-drawn", "wayland-presentation", "drawn" (nothing was said in
    // time) or "clock" (the window was not up).
    using Handler = std::function<void(std::uint32_t displayed, const char* method)>;

    DisplayTime(wxWindow& window, Handler handler);
    ~DisplayTime();

    // Call at the end of a paint whose picture's display time is wanted; the
    // handler gets it once the server has it.
    void AfterPaint();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
