// A drawing surface that remembers what was drawn, and measures text with a fixed
// width per character (per code point of the UTF-8 text), so layout is exact.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

struct DrawnRect {
    Rect rect;
    Rgb fill;
};

struct DrawnText {
    int x = 0;
    int y = 0;
    std::string text;
    Font font;
    std::optional<Rect> clip;
};

class RecordingCanvas : public Canvas {
public:
    // The font of a fresh surface, before anything is selected.
    static inline const Font kDefaultFont{"System", 16, 8, 700};

    explicit RecordingCanvas(Rect client) : m_client(client) {}

    void SelectBrush(const Brush& brush) override { m_brush = brush; }
    void SelectFont(const Font& font) override { m_font = font; }
    void Rectangle(const Rect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    Size GetTextExtent(std::string_view text) override;
    Rect GetClientRect() override { return m_client; }
    void ClipTo(const Rect& rect) override { m_clip = rect; }
    void ResetClip() override { m_clip.reset(); }

    // A new paint on the same screen: fresh selections, the pixels stay.
    void BeginPaint()
    {
        m_brush = Brush{{255, 255, 255}};
        m_font = kDefaultFont;
        m_clip.reset();
    }

    // What is on screen: a rectangle covering earlier drawings hides them.
    std::vector<DrawnRect> rects;
    std::vector<DrawnText> texts;
    int operations = 0;  // rectangles and texts drawn so far
    std::vector<DrawnText> textLog;  // every text ever drawn, hidden or not

private:
    Rect m_client;
    Brush m_brush{{255, 255, 255}};
    Font m_font = kDefaultFont;
    std::optional<Rect> m_clip;
};
