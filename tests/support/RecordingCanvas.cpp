#include "support/RecordingCanvas.h"

#include <algorithm>

namespace {

int CodePoints(std::string_view s)
{
    return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool Covers(const Rect& outer, const Rect& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

void RecordingCanvas::Rectangle(const Rect& rect)
{
    std::erase_if(rects, [&](const DrawnRect& r) { return Covers(rect, r.rect); });
    std::erase_if(texts, [&](const DrawnText& t) {
        const Size extent = Size{CodePoints(t.text) * t.font.width, t.font.height};
        return Covers(rect, {t.x, t.y, t.x + extent.cx, t.y + extent.cy});
    });
    rects.push_back({rect, m_brush.color});
    ++operations;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text)
{
    texts.push_back({x, y, std::string(text), m_font, m_clip});
    textLog.push_back(texts.back());
    ++operations;
}

Size RecordingCanvas::GetTextExtent(std::string_view text)
{
    return {CodePoints(text) * m_font.width, m_font.height};
}
