// Reads a pixel of the X screen. Kept apart because Xlib's names (Font, Window, ...)
// clash with the program's own.
#pragma once

#include <cstdint>

// The 0xRRGGBB colour of the screen pixel at (x, y), or -1 when it cannot be read.
std::int32_t ReadScreenPixel(int x, int y);
