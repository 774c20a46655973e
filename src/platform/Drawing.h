// Plain drawing values shared by the view and every drawing surface.
#pragma once

#include <cstdint>
#include <string>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as in the window system the program was designed for.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A solid brush: rectangles are filled with its colour.
struct Brush {
    Rgb color;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font request; the surface picks the nearest installed face.
// Height is the character cell in pixels, width the average character width.
struct Font {
    std::string face;
    int height = 0;
    int width = 0;
    int weight = 400;
    friend bool operator==(const Font&, const Font&) = default;
};
