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

// What the watcher saw and did for one square.
struct Report {
    std::int64_t onsetUs;
    std::int64_t pressUs;
    bool sharp;                  // both moments are known to within kSharpUs
    std::int64_t goneUs;         // the square left the screen (the result came)
    std::int64_t afterResultUs;  // from the previous answer's result to this square; 0: first
};

// The watcher knows the onset only to within its polling, and the press only to
// within the server's handling of it. Normally that is 0.1 to 0.7 ms; an answer
// where either is known less well than 2 ms (the machine held the watcher or the
// server up) says more about the instrument than about the program measured, so
// it is set aside and counted.
constexpr std::int64_t kSharpUs = 2000;

// Watches (x, y) for a black square; after each onset presses keysym a random
// 150..350 ms later (the same sequence for the same seed), waits for the square to
// leave the screen and writes a Report to out. Returns after count squares (0: no
// limit) or when the other end of in closes (false then).
bool WatchCount(int in, int out, int x, int y, unsigned long keysym, unsigned seed, int count);
// The same without a limit, in a process of its own: it ends with in.
[[noreturn]] void WatchSquares(int in, int out, int x, int y, unsigned long keysym = 0x78 /* XK_x */,
                               unsigned seed = 12345);

}  // namespace xwatch
