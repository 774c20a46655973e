// What a Wayland compositor says of time: the clock it presents frames by and
// stamps input with, and when each frame of a window reached the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

typedef struct _GdkWindow GdkWindow;

// The compositor's clock (a clockid_t) when the program runs on a Wayland display
// whose compositor says which clock it presents by; nullopt elsewhere.
std::optional<int> CompositorClock();

// The presentation feedback of one window's frames (the presentation-time protocol).
class FramePresentation {
public:
    // Null where the window is not on a Wayland display, or its compositor does not
    // give presentation feedback.
    static std::unique_ptr<FramePresentation> For(GdkWindow* toplevel);
    ~FramePresentation();

    // Asks about the next frame the window commits; a frame asked about before
    // and not yet answered is forgotten.
    void Request();

    enum class State { Waiting, Presented, Discarded };
    // What the compositor has said of the frame asked about; once presented,
    // *presented is the moment in milliseconds of CLOCK_MONOTONIC.
    State Poll(std::uint32_t* presented);

    struct Impl;

private:
    explicit FramePresentation(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};
