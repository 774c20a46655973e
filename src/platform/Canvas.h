// The drawing surface of one paint. A fresh surface starts with the default font,
// no brush selected, a 1-pixel black pen and black text on an opaque white background.
#pragma once

#include <string_view>

#include "platform/Drawing.h"

class Canvas {
public:
    virtual ~Canvas() = default;

    // The selection holds for every later call of the same paint.
    virtual void SelectBrush(const Brush& brush) = 0;
    virtual void SelectFont(const Font& font) = 0;

    // Fills rect with the selected brush and outlines it 1 pixel black;
    // right and bottom edges are exclusive.
    virtual void Rectangle(const Rect& rect) = 0;

    // One line of UTF-8 text with its top-left corner at (x, y).
    virtual void TextOut(int x, int y, std::string_view text) = 0;

    // Width and height of text as one line in the selected font.
    virtual Size GetTextExtent(std::string_view text) = 0;

    // The client area as (0, 0, width, height).
    virtual Rect GetClientRect() = 0;

    // Restricts drawing to rect until ResetClip.
    virtual void ClipTo(const Rect& rect) = 0;
    virtual void ResetClip() = 0;

    // Text laid out in rect, left-aligned from the top: lines break only between
    // words at the right edge, a line feed always starts a new line, and the output
    // is clipped to rect.
    void DrawText(std::string_view text, const Rect& rect);
};
