// An independent X client for the benchmarks, in a process of its own: it watches
// a screen pixel and presses keys through XTest. Kept apart from the program's
// headers, whose names clash with Xlib's.
#pragma once

#include <cstdint>

namespace xwatch {

// Microseconds of CLOCK_MONOTONIC, the clock X stamps its events with.
std::int64_t NowMicros();

// The 0xRRGGBB colour of the screen pixel at (x, y); -1 when it cannot be read.
std::int32_t Pixel(int x, int y);

// Whether any pixel of the w x h screen area at (x, y) is black.
bool AnyBlack(int x, int y, int w, int h);

// Presses and releases the key of the given X keysym; returns the monotonic
// microseconds right after the press was flushed to the server. With handled, it
// also waits for the server to have handled the press and says when that was known.
std::int64_t PressKey(unsigned long keysym, std::int64_t* handled = nullptr);

// Where the program's view stands on the screen, seen from outside (a Wayland
// client has no screen position of its own): the top left pixel inside its
// frame, inside the window titled title. False when it is not seen.
bool FindView(const char* title, int* x, int* y);

// A click of the left button at (x, y) of the screen, through XTest.
void Click(int x, int y);

}  // namespace xwatch
