#include "platform/Canvas.h"

#include "platform/WordWrap.h"

void Canvas::DrawText(std::string_view text, const Rect& rect)
{
    const auto lines = WrapText(text, rect.Width(), [this](std::string_view s) { return GetTextExtent(s).cx; });
    // Every line of one font has the cell height; a blank still measures it.
    const int lineHeight = GetTextExtent(" ").cy;

    ClipTo(rect);
    int y = rect.top;
    for (const auto& line : lines) {
        if (y >= rect.bottom)
            break;
        if (!line.empty())
            TextOut(rect.left, y, line);
        y += lineHeight;
    }
    ResetClip();
}
